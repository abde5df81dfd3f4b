#include "model/NumericRules.h"

#include "model/InputRoundTrip.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using namespace InputSpecs;

// An integer input whose minimum is a half: empty text reads as the even neighbour.
constexpr TNumericSpec HalfMinimum{TValueType::vtInteger, 2.5L, 10, 1, 0};

struct TReadCase {
    const char* Text;
    TNumericSpec Limits;
    char Separator;
    long double Expected;
};

void PrintTo(const TReadCase& c, std::ostream* os) {
    *os << '"' << c.Text << '"';
}

class ReadNumericValueTest : public testing::TestWithParam<TReadCase> {};

TEST_P(ReadNumericValueTest, ReadsAsTypedOrMinimum) {
    const TReadCase& c = GetParam();
    EXPECT_EQ(ReadNumericValue(c.Text, c.Limits, c.Separator), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadNumericValueTest,
                         testing::Values(
                             // Text that does not parse reads as the minimum.
                             TReadCase{"", ilPeso, '.', 100}, TReadCase{"", ilTemp, '.', -40},
                             TReadCase{"", ilSem, '.', 1}, TReadCase{"-", ilCons, '.', 0},
                             TReadCase{"+", ilTemp, '.', -40}, TReadCase{"4.5", ilSem, '.', 1},
                             TReadCase{"4,5", ilSem, ',', 1}, TReadCase{"1e3", ilPeso, '.', 100},
                             TReadCase{"10.25", ilCons, ',', 0}, TReadCase{"", HalfMinimum, '.', 2},
                             // Numbers read as typed, outside the limits too.
                             TReadCase{"1e3", ilCons, '.', 1000},
                             TReadCase{"2.5E-1", ilGrasa, '.', 0.25L},
                             TReadCase{"600", ilLeche, '.', 600}, TReadCase{"-7", ilSem, '.', -7},
                             TReadCase{"1500", ilPeso, '.', 1500}, TReadCase{"+52", ilSem, '.', 52},
                             TReadCase{"10,25", ilCons, ',', 10.25L},
                             TReadCase{"-50", ilTemp, '.', -50}));

struct TIntegerCase {
    const char* Text;
    TNumericSpec Limits;
    int32_t Expected;
};

void PrintTo(const TIntegerCase& c, std::ostream* os) {
    *os << '"' << c.Text << '"';
}

class ReadNumericIntegerTest : public testing::TestWithParam<TIntegerCase> {};

TEST_P(ReadNumericIntegerTest, TruncatesTowardZero) {
    const TIntegerCase& c = GetParam();
    EXPECT_EQ(ReadNumericInteger(c.Text, c.Limits, '.'), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadNumericIntegerTest,
                         testing::Values(TIntegerCase{"52", ilSem, 52}, TIntegerCase{"", ilSem, 1},
                                         TIntegerCase{"-7", sePF, -7},
                                         TIntegerCase{"-3.7", ilTemp, -3},
                                         TIntegerCase{"3.7", ilTemp, 3},
                                         TIntegerCase{"2147483647", sePF, 2147483647},
                                         TIntegerCase{"-2147483648", sePF, -2147483647 - 1}));

TEST(ReadNumericInteger, BeyondThirtyTwoBitsIsConversionError) {
    for (const char* text : {"2147483648", "-2147483649", "99999999999"}) {
        EXPECT_THROW(ReadNumericInteger(text, ilSem, '.'), EConvertError) << text;
    }
    EXPECT_THROW(ReadNumericInteger("1e10", ilTemp, '.'), EConvertError);
}

struct TWriteCase {
    long double Value;
    TNumericSpec Limits;
    char Separator;
    const char* Expected;
};

void PrintTo(const TWriteCase& c, std::ostream* os) {
    *os << c.Expected;
}

class WriteNumericValueTest : public testing::TestWithParam<TWriteCase> {};

TEST_P(WriteNumericValueTest, ClampsAndFormats) {
    const TWriteCase& c = GetParam();
    EXPECT_EQ(WriteNumericValue(c.Value, c.Limits, c.Separator), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteNumericValueTest,
    testing::Values(
        // Clamping on write.
        TWriteCase{60, ilSem, '.', "52"}, TWriteCase{0, ilSem, '.', "1"},
        TWriteCase{1000, ilPeso, '.', "700"}, TWriteCase{600, ilLeche, '.', "45.00"},
        TWriteCase{-40.5L, ilTemp, '.', "-40.00"}, TWriteCase{-1, sePF, '.', "0"},
        // Integer inputs round halves to even.
        TWriteCase{450.5L, ilPeso, '.', "450"}, TWriteCase{451.5L, ilPeso, '.', "452"},
        TWriteCase{450.51L, ilPeso, '.', "451"},
        // Real inputs round the exact value, halves away from zero.
        TWriteCase{0.125L, ilCons, '.', "0.13"}, TWriteCase{10.005f, ilCons, '.', "10.01"},
        TWriteCase{2.675, ilCons, '.', "2.67"}, TWriteCase{12.345f, ilCons, '.', "12.35"},
        TWriteCase{-0.125L, ilTemp, '.', "-0.13"}, TWriteCase{3.2f, ilProt, '.', "3.20"},
        // The regional separator.
        TWriteCase{3.5L, ilGrasa, ',', "3,50"}, TWriteCase{-12.5L, ilTemp, ',', "-12,50"},
        TWriteCase{450, ilPeso, ',', "450"}));

TEST(ClampRadioIndex, KeepsNothingSelectedToLastItem) {
    const struct {
        long long Index;
        int Expected;
    } cases[] = {{0, 0}, {2, 2}, {3, 2}, {255, 2}, {-1, -1}, {-5, -1}, {1LL << 40, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(ClampRadioIndex(c.Index, 3), c.Expected) << c.Index;
    }
}

} // namespace
