#include "platform/regional.h"

#include "test_locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace {

struct TRegionalCase {
    const char* Source;
    char DecimalSeparator;
    const char* ThousandSeparator;
};

void PrintTo(const TRegionalCase& c, std::ostream* os) {
    *os << c.Source;
}

class RegionalTest : public testing::TestWithParam<TRegionalCase> {};

TEST_P(RegionalTest, ReadsUserLocaleOnFirstUse) {
    const TRegionalCase& c = GetParam();
    TTestLocale locale(c.Source);
    if (locale.Name().empty()) {
        GTEST_SKIP() << "localedef cannot build " << c.Source << " here";
    }
    // Regional() reads the locale once per process: each case reads it in a fresh child.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::setenv("LC_ALL", locale.Name().c_str(), 1);
            const TRegional& regional = Regional();
            std::exit(regional.DecimalSeparator == c.DecimalSeparator &&
                              regional.ThousandSeparator == c.ThousandSeparator
                          ? 0
                          : 1);
        },
        testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Locales, RegionalTest,
                         testing::Values(TRegionalCase{"de_DE", ',', "."},
                                         TRegionalCase{"en_US", '.', ","},
                                         TRegionalCase{"ps_AF", '.', "\xD9\xAC"}));

TEST(Regional, OverrideReplacesLocale) {
    ::setenv("LC_ALL", "C", 1);
    SetRegional({',', " "});
    EXPECT_EQ(Regional().DecimalSeparator, ',');
    EXPECT_EQ(Regional().ThousandSeparator, " ");
}

} // namespace
