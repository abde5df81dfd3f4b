#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Number texts in the user's notation. None of these depend on the C library's current locale.

// value in fixed notation with exactly `decimals` decimals, rounded from its exact binary value
// with halves away from zero; at least one integer digit; no thousands separator; "-" when the
// rounded value is negative.
std::string FormatFixed(long double value, int decimals, char decimalSeparator);

// A fixed-point amount given as its count of ten-thousandths, with exactly four decimals: exact,
// nothing rounded; "-" when the count is negative.
std::string FormatTenThousandths(int64_t count, char decimalSeparator);

// A decimal real: optional sign, digits with at most one decimal separator (at least one digit),
// optional exponent "e"/"E" with optional sign and digits. No group separators, no surrounding
// blanks. Returns false when the text is not such a number or lies beyond the extended range.
bool ParseReal(std::string_view text, char decimalSeparator, long double& value);

// A whole number of 32 bits: optional sign and decimal digits, or hexadecimal digits after "$",
// "0x" or "0X". Returns false for any other text or a value beyond 32 bits.
bool ParseInteger(std::string_view text, int32_t& value);
