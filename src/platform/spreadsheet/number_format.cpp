#include "platform/spreadsheet/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <strings.h>
#include <vector>

namespace {

constexpr size_t MaxFormatLength = 255;
constexpr int MaxSections = 4;
constexpr size_t GeneralWidth = 11;

// Splits a file format code into its sections at the ";" outside quotes, escapes and brackets.
std::vector<std::string_view> Sections(std::string_view code) {
    std::vector<std::string_view> sections;
    size_t start = 0;
    bool quoted = false;
    bool bracket = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quoted) {
            quoted = c != '"';
        } else if (bracket) {
            bracket = c != ']';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '[') {
            bracket = true;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == ';') {
            sections.push_back(code.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(code.substr(start));
    return sections;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
    return text.size() - at >= word.size() &&
           strncasecmp(text.data() + at, word.data(), word.size()) == 0;
}

// What one section of a number format shows around and in a number.
struct TNumberSection {
    std::string Prefix;
    std::string Suffix;
    bool General = false;
    bool Text = false;
    bool Date = false;
    int IntZeros = 0;
    bool Point = false;
    int DecZeros = 0;
    int DecPlaces = 0;
    bool Grouping = false;
    int Scale = 0;
    int Percent = 0;
    bool Exponent = false;
    bool ExponentPlus = false;
    int ExponentDigits = 0;
};

TNumberSection ParseSection(std::string_view code) {
    TNumberSection s;
    bool placeholder = false;
    int pendingCommas = 0;
    auto literal = [&](std::string_view text) { (placeholder ? s.Suffix : s.Prefix) += text; };
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const size_t end = std::min(code.find('"', i + 1), code.size());
            literal(code.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '[') {
            const size_t end = std::min(code.find(']', i), code.size());
            if (code.substr(i + 1, 1) == "$")
                literal(code.substr(i + 2, std::min(code.find('-', i), end) - i - 2));
            i = end;
        } else if (c == '\\') {
            literal(code.substr(++i, 1));
        } else if (c == '_') {
            ++i;
            literal(" ");
        } else if (c == '*') {
            ++i;
        } else if (c == '0' || c == '#' || c == '?') {
            if (s.Exponent) {
                ++s.ExponentDigits;
            } else if (s.Point) {
                ++s.DecPlaces;
                s.DecZeros += c != '#';
            } else {
                s.IntZeros += c != '#';
                s.Grouping = s.Grouping || pendingCommas > 0;
                pendingCommas = 0;
            }
            placeholder = true;
        } else if (c == ',' && placeholder) {
            ++(s.Point ? s.Scale : pendingCommas);
        } else if (c == '.' && !s.Point && !s.Exponent) {
            s.Point = true;
            s.Scale += pendingCommas;
            pendingCommas = 0;
        } else if ((c == 'E' || c == 'e') && code.substr(i + 1, 1).find_first_of("+-") == 0) {
            s.Exponent = true;
            s.ExponentPlus = code[++i] == '+';
        } else if (c == '%') {
            ++s.Percent;
            literal("%");
        } else if (c == '@') {
            s.Text = true;
        } else if (StartsWithNoCase(code, i, "General")) {
            s.General = true;
            i += 6;
        } else if (std::string_view("yYmMdDhHsS").find(c) != std::string_view::npos ||
                   StartsWithNoCase(code, i, "AM/PM")) {
            s.Date = true;
        } else {
            literal(code.substr(i, 1));
        }
    }
    s.Scale += pendingCommas;
    return s;
}

std::string Chars(double value, std::chars_format format, int precision) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

std::string GeneralText(double value) {
    char buffer[64];
    std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    const double magnitude = std::fabs(value);
    if (text.size() <= GeneralWidth)
        return text;
    if (magnitude >= 1e-9 && magnitude < 1e11) {
        for (int decimals = int(GeneralWidth); decimals >= 0; --decimals) {
            text = Chars(value, std::chars_format::fixed, decimals);
            if (text.size() <= GeneralWidth)
                return text;
        }
    }
    text = Chars(value, std::chars_format::scientific, value < 0 ? 4 : 5);
    text[text.find('e')] = 'E';
    return text;
}

std::string Grouped(const std::string& digits) {
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string NumberText(double magnitude, const TNumberSection& s) {
    if (s.Exponent) {
        std::string text = Chars(magnitude, std::chars_format::scientific, s.DecPlaces);
        const size_t e = text.find('e');
        const int exponent = std::atoi(text.c_str() + e + 1);
        std::string digits = std::to_string(std::abs(exponent));
        digits.insert(0, size_t(std::max(0, s.ExponentDigits - int(digits.size()))), '0');
        const char* sign = exponent < 0 ? "-" : (s.ExponentPlus ? "+" : "");
        return text.substr(0, e) + "E" + sign + digits;
    }
    const std::string fixed = Chars(magnitude, std::chars_format::fixed, s.DecPlaces);
    const size_t point = fixed.find('.');
    std::string whole = fixed.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : fixed.substr(point + 1);
    if (whole == "0" && s.IntZeros == 0)
        whole.clear();
    whole.insert(0, size_t(std::max(0, s.IntZeros - int(whole.size()))), '0');
    while (int(fraction.size()) > s.DecZeros && fraction.back() == '0')
        fraction.pop_back();
    return (s.Grouping ? Grouped(whole) : whole) + (s.Point ? "." + fraction : "");
}

} // namespace

std::optional<std::string> FileNumberFormat(std::string_view format, const TRegional& notation) {
    if (format.size() > MaxFormatLength)
        return std::nullopt;
    const std::string_view thousands = notation.ThousandSeparator;
    std::string code;
    bool quoted = false;
    bool bracket = false;
    int sections = 1;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (static_cast<unsigned char>(c) < 0x20)
            return std::nullopt;
        if (quoted || bracket) {
            quoted = quoted && c != '"';
            bracket = bracket && c != ']';
            code += c;
        } else if (c == '\\' || c == '_' || c == '*') {
            if (i + 1 == format.size())
                return std::nullopt;
            code += c;
            code += format[++i];
        } else if (c == notation.DecimalSeparator) {
            code += '.';
        } else if (!thousands.empty() && format.substr(i, thousands.size()) == thousands) {
            code += ',';
            i += thousands.size() - 1;
        } else {
            quoted = c == '"';
            bracket = c == '[';
            sections += c == ';';
            code += c;
        }
    }
    if (quoted || bracket || sections > MaxSections)
        return std::nullopt;
    return code;
}

std::string ShownText(const TSheetValue& value, std::string_view fileFormat) {
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (std::holds_alternative<std::monostate>(value))
        return {};
    const double number = std::holds_alternative<double>(value)
                              ? std::get<double>(value)
                              : double(std::get<std::int64_t>(value));
    const auto sections = Sections(fileFormat);
    size_t index = 0;
    if (number < 0 && sections.size() >= 2)
        index = 1;
    else if (number == 0 && sections.size() >= 3)
        index = 2;
    const TNumberSection s = ParseSection(sections[index]);
    if (s.Date) {
        std::string shown;
        for (const char c : sections[index])
            if (c != '"' && c != '\\')
                shown += c;
        return shown;
    }
    const bool minus = number < 0 && index == 0;
    if (fileFormat.empty() || s.General || (s.Text && s.IntZeros + s.DecPlaces == 0))
        return s.Prefix + GeneralText(number) + s.Suffix;
    const double magnitude =
        std::fabs(number) * std::pow(100.0, s.Percent) / std::pow(1000.0, s.Scale);
    return (minus ? "-" : "") + s.Prefix + NumberText(magnitude, s) + s.Suffix;
}
