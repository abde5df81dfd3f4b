#include "model/Fixed.h"

#include "model/FloatError.h"

#include <cmath>

namespace {

// 2^63, exactly representable in long double: the first count beyond int64.
constexpr long double CountLimit = 9223372036854775808.0L;

} // namespace

TFixed TFixed::FromReal(long double value) {
    return FromCount(value * 10000.0L);
}

TFixed TFixed::FromCount(long double count) {
    // 2^63 - 0.5 is a tie whose even neighbour is 2^63, one past the largest count; the negated
    // comparison also rejects NaN.
    if (!(count >= -CountLimit && count < CountLimit - 0.5L))
        throw EInvalidOp();
    // One x87 store in the default rounding mode, to nearest with ties to even, which nothing in
    // the program changes (a truncating conversion would switch modes twice per store).
    return TFixed{std::llrint(count)};
}
