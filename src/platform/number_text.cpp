#include "platform/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <locale.h>
#include <stdlib.h>

namespace {

// The "C" locale, so that number texts never follow the process locale that Qt sets.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// digits (an integer count of units of 10^-decimals) with the separator put in and the sign
// added when the count is not zero.
std::string Compose(bool negative, std::string_view digits, int decimals, char decimalSeparator) {
    const auto fraction = static_cast<size_t>(decimals);
    const size_t width = std::max(digits.size(), fraction + 1);
    const size_t zeros = width - digits.size();
    std::string text;
    text.reserve(width + 2);
    if (negative && digits.find_first_not_of('0') != std::string_view::npos) {
        text += '-';
    }
    for (size_t i = 0; i < width; ++i) {
        if (fraction > 0 && i == width - fraction) {
            text += decimalSeparator;
        }
        text += i < zeros ? '0' : digits[i - zeros];
    }
    return text;
}

// A double widened to long double times 10^decimals (decimals <= 4) needs at most 53 + 10
// significant bits, so the product is exact and the tie test on it is exact too.
bool FormatExactProduct(long double magnitude, bool negative, int decimals, char decimalSeparator,
                        std::string& text) {
    static constexpr long double Powers[] = {1.0L, 10.0L, 100.0L, 1000.0L, 10000.0L};
    if (decimals > 4 || magnitude != static_cast<long double>(static_cast<double>(magnitude))) {
        return false;
    }
    const long double product = magnitude * Powers[decimals];
    if (!(product < 9.2e18L)) {
        return false;
    }
    // The conversion truncates the positive product.
    uint64_t whole = static_cast<uint64_t>(product);
    if (product - static_cast<long double>(whole) >= 0.5L) {
        ++whole;
    }
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, whole);
    text = Compose(negative, std::string_view(buffer, result.ptr), decimals, decimalSeparator);
    return true;
}

// Any finite value: its exact decimal expansion (every binary fraction has a finite one), then
// rounded on the first dropped digit, which is exact because nothing was rounded before.
std::string FormatExpansion(long double magnitude, bool negative, int decimals,
                            char decimalSeparator) {
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    const int exact = std::max(0, 64 - exponent);
    const int precision = std::max(decimals + 1, exact);
    const locale_t previous = uselocale(CLocale());
    const int length = std::snprintf(nullptr, 0, "%.*Lf", precision, magnitude);
    std::string expansion(static_cast<size_t>(std::max(length, 0)), '\0');
    std::snprintf(expansion.data(), expansion.size() + 1, "%.*Lf", precision, magnitude);
    uselocale(previous);

    const size_t point = expansion.find('.');
    std::string digits =
        expansion.substr(0, point) + expansion.substr(point + 1, static_cast<size_t>(decimals));
    if (expansion[point + 1 + static_cast<size_t>(decimals)] >= '5') {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(0, 1, '1');
        } else {
            ++digits[i - 1];
        }
    }
    return Compose(negative, digits, decimals, decimalSeparator);
}

// The decimal mantissa × 10^exponent as the long double nearest to it, when both factors are
// exact long doubles so that one correctly rounded operation gives it: up to 19 digits and ten to
// at most the 27th (5^27 < 2^64). Gives false when it cannot.
bool ExactDecimal(uint64_t mantissa, int digits, long exponent, bool negative, long double& value) {
    static constexpr auto Powers = [] {
        std::array<long double, 28> powers{1.0L};
        for (size_t i = 1; i < powers.size(); ++i)
            powers[i] = powers[i - 1] * 10;
        return powers;
    }();
    if (digits > 19 || exponent < -27 || exponent > 27) {
        return false;
    }
    const long double whole = static_cast<long double>(mantissa);
    value = exponent < 0 ? whole / Powers[static_cast<size_t>(-exponent)]
                         : whole * Powers[static_cast<size_t>(exponent)];
    if (negative) {
        value = -value;
    }
    return true;
}

} // namespace

std::string FormatFixed(long double value, int decimals, char decimalSeparator) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    decimals = std::max(decimals, 0);
    const bool negative = std::signbit(value);
    const long double magnitude = std::fabs(value);
    std::string text;
    if (FormatExactProduct(magnitude, negative, decimals, decimalSeparator, text)) {
        return text;
    }
    return FormatExpansion(magnitude, negative, decimals, decimalSeparator);
}

std::string FormatTenThousandths(int64_t count, char decimalSeparator) {
    // The magnitude in unsigned arithmetic, so that the smallest count has one too.
    const uint64_t magnitude =
        count < 0 ? 0 - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
    return Compose(count < 0, std::string_view(buffer, result.ptr), 4, decimalSeparator);
}

bool ParseReal(std::string_view text, char decimalSeparator, long double& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    size_t digits = 0;
    size_t separatorAt = std::string_view::npos;
    // The digits without leading zeros as a whole number, and how many follow the separator.
    uint64_t mantissa = 0;
    int significant = 0;
    long fraction = 0;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++digits;
            if (significant > 0 || text[i] != '0') {
                ++significant;
                mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
            }
            fraction += separatorAt != std::string_view::npos;
        } else if (text[i] == decimalSeparator && separatorAt == std::string_view::npos) {
            separatorAt = i;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i++] == '-';
        }
        const size_t start = i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            // Capped beyond any exponent that the fast path takes.
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000L);
        }
        if (i == start) {
            return false;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (i != text.size()) {
        return false;
    }
    if (ExactDecimal(mantissa, significant, exponent - fraction, negative, value)) {
        return true;
    }
    std::string plain(text);
    if (separatorAt != std::string_view::npos) {
        plain[separatorAt] = '.';
    }
    const long double parsed = strtold_l(plain.c_str(), nullptr, CLocale());
    if (std::isinf(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseInteger(std::string_view text, int32_t& value) {
    int base = 10;
    size_t i = 0;
    bool negative = false;
    if (text.starts_with('$')) {
        base = 16;
        i = 1;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        i = 2;
    } else if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    if (first == last || *first == '+' || *first == '-') {
        return false;
    }
    uint64_t magnitude = 0;
    const auto result = std::from_chars(first, last, magnitude, base);
    if (result.ec != std::errc() || result.ptr != last) {
        return false;
    }
    if (base == 16) {
        // Hexadecimal texts name the 32 bits themselves: $FFFFFFFF is -1.
        if (magnitude > 0xFFFFFFFFull) {
            return false;
        }
        value = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
        return true;
    }
    if (magnitude > (negative ? 2147483648ull : 2147483647ull)) {
        return false;
    }
    value = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                          : static_cast<int64_t>(magnitude));
    return true;
}
