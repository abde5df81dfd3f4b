#include "model/Fixed.h"

#include "model/FloatError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>

namespace {

constexpr long double TwoTo63 = 9223372036854775808.0L;

struct TCountCase {
    long double Count;
    int64_t Expected;
};

void PrintTo(const TCountCase& c, std::ostream* out) {
    *out << static_cast<double>(c.Count) << " -> " << c.Expected;
}

class FixedCountTest : public testing::TestWithParam<TCountCase> {};

TEST_P(FixedCountTest, StoresTheNearestCountTiesToEven) {
    EXPECT_EQ(TFixed::FromCount(GetParam().Count).Count, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, FixedCountTest,
    testing::Values(TCountCase{16080.5L, 16080}, TCountCase{18637.5L, 18638},
                    TCountCase{472.5L, 472}, TCountCase{311.85L, 312}, TCountCase{0.5L, 0},
                    TCountCase{1.5L, 2}, TCountCase{-0.5L, 0}, TCountCase{-2.5L, -2},
                    TCountCase{-3.5L, -4}, TCountCase{1114.958L, 1115},
                    TCountCase{16080.4999L, 16080}, TCountCase{-1.2L, -1},
                    TCountCase{TwoTo63 - 1, std::numeric_limits<int64_t>::max()},
                    TCountCase{TwoTo63 - 1.5L, std::numeric_limits<int64_t>::max() - 1},
                    TCountCase{-TwoTo63, std::numeric_limits<int64_t>::min()},
                    TCountCase{-TwoTo63 + 0.5L, std::numeric_limits<int64_t>::min()}));

TEST(FixedTest, CountsOutsideTheRangeAreInvalid) {
    // 2^63 - 0.5 is a tie whose even neighbour is 2^63, one past the largest count.
    for (long double count : {TwoTo63, TwoTo63 - 0.5L, -TwoTo63 - 1, 1e30L, -1e30L,
                              std::numeric_limits<long double>::infinity(), std::nanl("")})
        EXPECT_THROW(TFixed::FromCount(count), EInvalidOp) << static_cast<double>(count);
}

TEST(FixedTest, RealValuesAreScaledToTenThousandths) {
    EXPECT_EQ(TFixed::FromReal(1.2345L).Count, 12345);
    EXPECT_EQ(TFixed::FromReal(-9e14L).Count, -9000000000000000000);
    EXPECT_THROW(TFixed::FromReal(1e15L), EInvalidOp);
    EXPECT_EQ(TFixed{16080}.ToReal(), 1.608L);
}

} // namespace
