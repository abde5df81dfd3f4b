#include "model/Extended.h"

#include "model/FloatError.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

constexpr long double Inf = std::numeric_limits<long double>::infinity();

struct TFaultCase {
    const char* Name;
    std::function<void()> Operation;
    std::string Message;
};

const std::string ZeroDivide = "Floating point division by zero";
const std::string Invalid = "Invalid floating point operation";
const std::string Overflow = "Floating point overflow";

class ExtendedFaultTest : public testing::TestWithParam<TFaultCase> {};

TEST_P(ExtendedFaultTest, RaisesItsError) {
    try {
        GetParam().Operation();
        FAIL() << "no error raised";
    } catch (const EMathError& error) {
        EXPECT_EQ(error.what(), GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ExtendedFaultTest,
    testing::Values(TFaultCase{"DivideByZero", [] { Divide(1, 0); }, ZeroDivide},
                    TFaultCase{"DivideByNegativeZero", [] { Divide(-3, -0.0L); }, ZeroDivide},
                    TFaultCase{"ZeroByZero", [] { Divide(0, 0); }, Invalid},
                    TFaultCase{"DivideOverflow", [] { Divide(LDBL_MAX, 0.5L); }, Overflow},
                    TFaultCase{"LnZero", [] { Ln(0); }, ZeroDivide},
                    TFaultCase{"LnNegative", [] { Ln(-1); }, Invalid},
                    TFaultCase{"Log10Zero", [] { Log10(0); }, ZeroDivide},
                    TFaultCase{"Log10Negative", [] { Log10(-8); }, Invalid},
                    TFaultCase{"ExpOverflow", [] { Exp(12000); }, Overflow},
                    TFaultCase{"PowerNegativeBase", [] { Power(-450, 0.75L); }, Invalid},
                    TFaultCase{"PowerOverflow", [] { Power(LDBL_MAX, 2); }, Overflow},
                    TFaultCase{"SingleOverflow", [] { ToSingle(1e39L); }, Overflow},
                    TFaultCase{"SingleNegativeOverflow", [] { ToSingle(-1e39L); }, Overflow},
                    TFaultCase{"DoubleOverflow", [] { ToDouble(1e309L); }, Overflow}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ExtendedTest, ResultsOfValidOperands) {
    EXPECT_EQ(Divide(160805, 10), 16080.5L);
    EXPECT_EQ(Ln(1), 0);
    EXPECT_NEAR(Log10(1000), 3, 1e-18L);
    EXPECT_EQ(Exp(0), 1);
    EXPECT_EQ(Power(0, 0.75L), 0);
    EXPECT_EQ(Power(16, 0.5L), 4);
    EXPECT_NEAR(Power(450, 0.75L), 97.703334L, 5e-7L);
}

TEST(ExtendedTest, PowerIsTheExponentialOfTheScaledLogarithm) {
    for (long double base : {97.5L, 350.0L, 650.0L})
        EXPECT_EQ(Power(base, 0.75L), std::exp(0.75L * std::log(base)));
}

TEST(ExtendedTest, UnderflowAndInfiniteOperandsAreSilent) {
    EXPECT_EQ(Exp(-20000), 0);
    EXPECT_EQ(ToSingle(1e-50L), 0);
    EXPECT_EQ(Divide(1, Inf), 0);
    EXPECT_TRUE(std::isinf(Divide(Inf, 2)));
    EXPECT_TRUE(std::isinf(ToSingle(Inf)));
    EXPECT_TRUE(std::isnan(Divide(std::nanl(""), 0)));
}

TEST(ExtendedTest, SingleRoundsToNearestAtTheRangeEdge) {
    EXPECT_EQ(ToSingle(0.1L), 0.1f);
    EXPECT_EQ(ToSingle(11.14958095550537L), 11.14958095550537f);
    // Just below the halfway point to the next power of two rounds down to FLT_MAX.
    const long double ulp = std::ldexp(1.0L, 104);
    EXPECT_EQ(ToSingle(static_cast<long double>(FLT_MAX) + ulp / 2 - 1e20L), FLT_MAX);
    EXPECT_THROW(ToSingle(static_cast<long double>(FLT_MAX) + ulp / 2), EOverflow);
    EXPECT_EQ(ToDouble(0.1L), 0.1);
}

} // namespace
