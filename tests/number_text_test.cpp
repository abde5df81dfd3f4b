#include "platform/number_text.h"

#include "test_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

struct TFormatCase {
    long double Value;
    int Decimals;
    char Separator;
    const char* Expected;
};

void PrintTo(const TFormatCase& c, std::ostream* os) {
    *os << c.Expected;
}

class FormatFixedTest : public testing::TestWithParam<TFormatCase> {};

TEST_P(FormatFixedTest, RoundsExactValueHalvesAwayFromZero) {
    const TFormatCase& c = GetParam();
    EXPECT_EQ(FormatFixed(c.Value, c.Decimals, c.Separator), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatFixedTest,
    testing::Values(
        // Exact ties go away from zero, where printf would go to the even digit.
        TFormatCase{10.25L, 1, '.', "10.3"}, TFormatCase{10.25f, 1, '.', "10.3"},
        TFormatCase{0.125L, 2, '.', "0.13"}, TFormatCase{-0.125L, 2, '.', "-0.13"},
        TFormatCase{2.5L, 0, '.', "3"}, TFormatCase{-2.5L, 0, '.', "-3"},
        TFormatCase{0.5L, 0, '.', "1"}, TFormatCase{0.0078125L, 6, '.', "0.007813"},
        // Decimal texts that are not ties: the binary value decides.
        TFormatCase{2.675, 2, '.', "2.67"}, TFormatCase{12.345f, 2, '.', "12.35"},
        TFormatCase{0.29f, 2, '.', "0.29"}, TFormatCase{3.2f, 2, '.', "3.20"},
        TFormatCase{999.995, 2, '.', "1000.00"}, TFormatCase{9.5L, 0, '.', "10"},
        // A value that rounds to zero carries no sign.
        TFormatCase{-0.004L, 2, '.', "0.00"}, TFormatCase{-0.0L, 1, '.', "0.0"},
        TFormatCase{0.0L, 0, '.', "0"}, TFormatCase{0.04L, 1, '.', "0.0"},
        // The regional separator, no thousands separator.
        TFormatCase{1234567.0L, 2, ',', "1234567,00"}, TFormatCase{-40.0f, 2, ',', "-40,00"},
        // Extended values that are no double, and magnitudes beyond 64-bit counts.
        TFormatCase{12345678901234567.5L, 0, '.', "12345678901234568"},
        TFormatCase{12345678901234566.5L, 0, '.', "12345678901234567"},
        TFormatCase{0.1L, 4, '.', "0.1000"}, TFormatCase{0.1L, 20, '.', "0.10000000000000000000"},
        TFormatCase{0x1p70L, 1, '.', "1180591620717411303424.0"},
        TFormatCase{-0x1p70L, 0, '.', "-1180591620717411303424"},
        TFormatCase{std::numeric_limits<long double>::denorm_min(), 3, '.', "0.000"},
        TFormatCase{std::numeric_limits<long double>::infinity(), 2, '.', "INF"},
        TFormatCase{-std::numeric_limits<long double>::infinity(), 2, '.', "-INF"},
        TFormatCase{std::numeric_limits<long double>::quiet_NaN(), 2, '.', "NAN"}));

TEST(FormatTenThousandths, PrintsCountExactly) {
    const struct {
        int64_t Count;
        char Separator;
        const char* Expected;
    } cases[] = {
        {0, '.', "0.0000"},
        {5, '.', "0.0005"},
        {-5, '.', "-0.0005"},
        {160805, ',', "16,0805"},
        {-123456789, '.', "-12345.6789"},
        {INT64_MAX, '.', "922337203685477.5807"},
        {INT64_MIN, '.', "-922337203685477.5808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatTenThousandths(c.Count, c.Separator), c.Expected) << c.Count;
    }
}

struct TRealCase {
    const char* Text;
    char Separator;
    bool Ok;
    long double Expected;
};

void PrintTo(const TRealCase& c, std::ostream* os) {
    *os << '"' << c.Text << '"';
}

class ParseRealTest : public testing::TestWithParam<TRealCase> {};

TEST_P(ParseRealTest, FollowsStrictGrammar) {
    const TRealCase& c = GetParam();
    long double value = -123.0L;
    EXPECT_EQ(ParseReal(c.Text, c.Separator, value), c.Ok) << c.Text;
    EXPECT_EQ(value, c.Ok ? c.Expected : -123.0L) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseRealTest,
    testing::Values(TRealCase{"10.25", '.', true, 10.25L}, TRealCase{"10,25", ',', true, 10.25L},
                    TRealCase{"-3", '.', true, -3.0L}, TRealCase{"+3", '.', true, 3.0L},
                    TRealCase{".5", '.', true, 0.5L}, TRealCase{"5.", '.', true, 5.0L},
                    TRealCase{"007", '.', true, 7.0L}, TRealCase{"1e5", '.', true, 1e5L},
                    TRealCase{"1E-2", '.', true, 0.01L}, TRealCase{"1,5e+3", ',', true, 1500.0L},
                    TRealCase{"0.1", '.', true, 0.1L},
                    TRealCase{"3.2000000476837158203125", '.', true,
                              static_cast<long double>(3.2f)},
                    TRealCase{"1e4000", '.', true, 1e4000L}, TRealCase{"1e-6000", '.', true, 0.0L},
                    // Not numbers of this notation.
                    TRealCase{"", '.', false, 0}, TRealCase{"-", '.', false, 0},
                    TRealCase{"+", '.', false, 0}, TRealCase{".", '.', false, 0},
                    TRealCase{"-.", '.', false, 0}, TRealCase{"10.25", ',', false, 0},
                    TRealCase{"1.2.3", '.', false, 0}, TRealCase{"1,000", '.', false, 0},
                    TRealCase{" 1", '.', false, 0}, TRealCase{"1 ", '.', false, 0},
                    TRealCase{"1e", '.', false, 0}, TRealCase{"1e+", '.', false, 0},
                    TRealCase{"e5", '.', false, 0}, TRealCase{"1e5.0", '.', false, 0},
                    TRealCase{"+-1", '.', false, 0}, TRealCase{"0x10", '.', false, 0},
                    TRealCase{"inf", '.', false, 0}, TRealCase{"nan", '.', false, 0},
                    // Beyond the extended range.
                    TRealCase{"1e5000", '.', false, 0}, TRealCase{"-1e5000", '.', false, 0}));

struct TIntegerCase {
    const char* Text;
    bool Ok;
    int32_t Expected;
};

void PrintTo(const TIntegerCase& c, std::ostream* os) {
    *os << '"' << c.Text << '"';
}

class ParseIntegerTest : public testing::TestWithParam<TIntegerCase> {};

TEST_P(ParseIntegerTest, TakesDecimalAndHexadecimal) {
    const TIntegerCase& c = GetParam();
    int32_t value = -5;
    EXPECT_EQ(ParseInteger(c.Text, value), c.Ok) << c.Text;
    EXPECT_EQ(value, c.Ok ? c.Expected : -5) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseIntegerTest,
    testing::Values(
        TIntegerCase{"0", true, 0}, TIntegerCase{"123", true, 123},
        TIntegerCase{"-123", true, -123}, TIntegerCase{"+7", true, 7}, TIntegerCase{"007", true, 7},
        TIntegerCase{"2147483647", true, 2147483647},
        TIntegerCase{"-2147483648", true, -2147483647 - 1}, TIntegerCase{"$1F", true, 31},
        TIntegerCase{"0x1F", true, 31}, TIntegerCase{"0X1f", true, 31},
        TIntegerCase{"$FFFFFFFF", true, -1}, TIntegerCase{"0x80000000", true, -2147483647 - 1},
        TIntegerCase{"0x00000000000000001", true, 1},
        // Beyond 32 bits.
        TIntegerCase{"2147483648", false, 0}, TIntegerCase{"-2147483649", false, 0},
        TIntegerCase{"$100000000", false, 0}, TIntegerCase{"99999999999999999999999", false, 0},
        // Not whole numbers of this notation.
        TIntegerCase{"", false, 0}, TIntegerCase{"-", false, 0}, TIntegerCase{"$", false, 0},
        TIntegerCase{"0x", false, 0}, TIntegerCase{"12a", false, 0}, TIntegerCase{"1.0", false, 0},
        TIntegerCase{" 1", false, 0}, TIntegerCase{"1 ", false, 0}, TIntegerCase{"+-1", false, 0},
        TIntegerCase{"-$1", false, 0}, TIntegerCase{"$-1", false, 0},
        TIntegerCase{"0x+1", false, 0}, TIntegerCase{"$G", false, 0}));

// Short decimals are read without strtold; they must give its value to the last bit: at the
// limits of that way (19 digits, ten to the 27th) and beyond them, and for many random texts.
TEST(ParseRealExact, GivesWhatStrtoldGives) {
    std::vector<std::string> texts = {
        "9999999999999999999",
        "18446744073709551615",
        "1e27",
        "1e28",
        "1e-27",
        "1e-28",
        "-0",
        "-0.0e5",
        "123456789.0123456789",
        "0.000000000000000000000000000000000000000012",
        "00000000000000000000001.5",
        "9.999999999999999999e27",
        "4.9406564584124654e-324",
        "3.4028235677973366e38",
        "16.2999992370605",
    };
    std::mt19937_64 random(13);
    for (int n = 0; n < 200000; ++n) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 21);
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 1));
        for (int i = 0; i < digits; ++i) {
            if (i == point && i > 0)
                text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        if (random() % 3 == 0) {
            text += 'e';
            text += std::to_string(static_cast<int>(random() % 71) - 35);
        }
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        long double value = 0;
        ASSERT_TRUE(ParseReal(text, '.', value)) << text;
        const long double expected = std::strtold(text.c_str(), nullptr);
        ASSERT_EQ(std::memcmp(&value, &expected, 10), 0) << text;
    }
}

// Qt sets the process locale to the user's; the texts must not follow it.
TEST(NumberTextLocale, IgnoresProcessLocale) {
    TTestLocale locale("de_DE");
    if (locale.Name().empty()) {
        GTEST_SKIP() << "localedef cannot build a comma locale here";
    }
    ASSERT_NE(std::setlocale(LC_ALL, locale.Name().c_str()), nullptr);
    long double value = 0;
    EXPECT_TRUE(ParseReal("2.5", '.', value));
    EXPECT_EQ(value, 2.5L);
    EXPECT_FALSE(ParseReal("2,5", '.', value));
    EXPECT_EQ(FormatFixed(0.1L, 20, '.'), "0.10000000000000000000");
    EXPECT_EQ(FormatFixed(0x1p70L, 1, '.'), "1180591620717411303424.0");
    std::setlocale(LC_ALL, "C");
}

} // namespace
