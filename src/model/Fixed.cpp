#include "model/Fixed.h"

#include "model/FloatError.h"

#include <cmath>

namespace {

// 2^63, exactly representable in long double: the first count beyond int64.
constexpr long double CountLimit = 9223372036854775808.0L;

// Rounds to the nearest integer with ties to even, independent of the current rounding mode.
// x - floor(x) is exact in long double for every |x| the count range allows.
long double NearestEven(long double x) {
    const long double down = std::floor(x);
    const long double fraction = x - down;
    if (fraction > 0.5L)
        return down + 1;
    if (fraction < 0.5L)
        return down;
    return std::fmod(down, 2.0L) == 0 ? down : down + 1;
}

} // namespace

TFixed TFixed::FromReal(long double value) {
    return FromCount(value * 10000.0L);
}

TFixed TFixed::FromCount(long double count) {
    const long double nearest = NearestEven(count);
    // The negated comparison also rejects NaN.
    if (!(nearest >= -CountLimit && nearest < CountLimit))
        throw EInvalidOp();
    return TFixed{static_cast<int64_t>(nearest)};
}
