#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// The value rules of a numeric input, without any widget: how its text reads as a value and
// how a value written into it is clamped and shown.

enum class TValueType { vtInteger, vtFloat };

struct TNumericSpec {
    TValueType ValueType;
    long double MinValue;
    long double MaxValue;
    long double Increment;
    int Decimal; // decimals shown by a real input
};

// A value that cannot be read as the number its field needs (an integer beyond 32 bits).
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The value of text: a real input takes a decimal number in the regional notation with optional
// sign and exponent, an integer input an optional sign and digits. Text that does not parse
// reads as MinValue (rounded to an integer for an integer input). Never clamps.
long double ReadNumericValue(std::string_view text, const TNumericSpec& limits,
                             char decimalSeparator);

// The value read, truncated toward zero; beyond 32 bits raises EConvertError.
int32_t ReadNumericInteger(std::string_view text, const TNumericSpec& limits,
                           char decimalSeparator);

// value clamped to MinValue .. MaxValue.
long double ClampNumeric(long double value, const TNumericSpec& limits);

// The text shown after writing value: clamped, then a real input in fixed notation with Decimal
// decimals (halves away from zero), an integer input rounded to the nearest integer (halves to
// even) without decimals.
std::string WriteNumericValue(long double value, const TNumericSpec& limits, char decimalSeparator);

// A radio group's index after setting it: clamped to -1 (nothing selected) .. itemCount - 1.
int ClampRadioIndex(long long index, int itemCount);
