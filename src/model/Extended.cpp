#include "model/Extended.h"

#include "model/FloatError.h"

#include <cmath>

namespace {

// An infinite result is an overflow only when it did not come from an infinite operand.
long double CheckFinite(long double result, bool operandsFinite) {
    if (std::isinf(result) && operandsFinite)
        throw EOverflow();
    return result;
}

void CheckLogArgument(long double x) {
    if (x == 0)
        throw EZeroDivide();
    if (x < 0)
        throw EInvalidOp();
}

} // namespace

long double Divide(long double dividend, long double divisor) {
    if (divisor == 0) {
        if (dividend == 0)
            throw EInvalidOp();
        if (!std::isnan(dividend))
            throw EZeroDivide();
    }
    return CheckFinite(dividend / divisor, std::isfinite(dividend) && std::isfinite(divisor));
}

long double Ln(long double x) {
    CheckLogArgument(x);
    return std::log(x);
}

long double Log10(long double x) {
    CheckLogArgument(x);
    return std::log10(x);
}

long double Exp(long double x) {
    return CheckFinite(std::exp(x), std::isfinite(x));
}

long double Power(long double base, long double exponent) {
    if (base == 0)
        return 0;
    const long double logBase = Ln(base);
    return Exp(CheckFinite(exponent * logBase, std::isfinite(exponent) && std::isfinite(logBase)));
}

float ToSingle(long double x) {
    const float result = static_cast<float>(x);
    CheckFinite(result, std::isfinite(x));
    return result;
}

double ToDouble(long double x) {
    const double result = static_cast<double>(x);
    CheckFinite(result, std::isfinite(x));
    return result;
}
