#include "model/NumericRules.h"

#include "platform/number_text.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsIntegerText(std::string_view text) {
    const size_t start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    return text.size() > start &&
           std::all_of(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

long double ReadNumericValue(std::string_view text, const TNumericSpec& limits,
                             char decimalSeparator) {
    long double value = 0;
    if (limits.ValueType == TValueType::vtInteger) {
        if (IsIntegerText(text) && ParseReal(text, decimalSeparator, value)) {
            return value;
        }
        return std::nearbyint(limits.MinValue);
    }
    return ParseReal(text, decimalSeparator, value) ? value : limits.MinValue;
}

int32_t ReadNumericInteger(std::string_view text, const TNumericSpec& limits,
                           char decimalSeparator) {
    const long double value = std::trunc(ReadNumericValue(text, limits, decimalSeparator));
    if (!(value >= -2147483648.0L && value <= 2147483647.0L)) {
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    }
    return static_cast<int32_t>(value);
}

long double ClampNumeric(long double value, const TNumericSpec& limits) {
    return std::clamp(value, limits.MinValue, limits.MaxValue);
}

std::string WriteNumericValue(long double value, const TNumericSpec& limits,
                              char decimalSeparator) {
    const long double clamped = ClampNumeric(value, limits);
    if (limits.ValueType == TValueType::vtInteger) {
        // rint follows the default rounding mode, halves to the even neighbour, as nearbyint does
        // without the cost of saving and restoring the floating-point environment.
        return FormatFixed(std::rint(clamped), 0, decimalSeparator);
    }
    return FormatFixed(clamped, limits.Decimal, decimalSeparator);
}

int ClampRadioIndex(long long index, int itemCount) {
    return static_cast<int>(std::clamp<long long>(index, -1, itemCount - 1));
}
