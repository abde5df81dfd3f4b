#include "platform/number_text.h"

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
std::string Compose(bool negative, std::string digits, int decimals, char decimalSeparator) {
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    const auto width = static_cast<size_t>(decimals) + 1;
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    if (decimals > 0) {
        digits.insert(digits.size() - static_cast<size_t>(decimals), 1, decimalSeparator);
    }
    if (negative && !zero) {
        digits.insert(0, 1, '-');
    }
    return digits;
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
    long double whole = std::truncl(product);
    if (product - whole >= 0.5L) {
        whole += 1.0L;
    }
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<uint64_t>(whole));
    text = Compose(negative, std::string(buffer, result.ptr), decimals, decimalSeparator);
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
    return Compose(count < 0, std::string(buffer, result.ptr), 4, decimalSeparator);
}

bool ParseReal(std::string_view text, char decimalSeparator, long double& value) {
    std::string plain;
    plain.reserve(text.size());
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        plain += text[i++];
    }
    size_t digits = 0;
    bool separator = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            plain += text[i];
            ++digits;
        } else if (text[i] == decimalSeparator && !separator) {
            plain += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            plain += text[i++];
        }
        const size_t start = i;
        while (i < text.size() && IsDigit(text[i])) {
            plain += text[i++];
        }
        if (i == start) {
            return false;
        }
    }
    if (i != text.size()) {
        return false;
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
