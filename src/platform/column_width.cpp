#include "platform/column_width.h"

#include <charconv>
#include <cmath>

#include "platform/utf8_text.h"

namespace {

constexpr std::size_t GeneralLength = 11;
constexpr double StandardPoints = 11;
// A character of the standard font is one unit of width, bold text is a tenth wider, and the
// cell's margins add 5 of the 7 pixels of a standard digit.
constexpr double BoldWidening = 1.1;
constexpr double CellMargin = 5.0 / 7.0;

template <class... TFormat> std::size_t CharsLength(double value, TFormat... format) {
    char buffer[400];
    return std::size_t(std::to_chars(buffer, buffer + sizeof buffer, value, format...).ptr -
                       buffer);
}

// The general format shows the shortest exact text when it fits in 11 characters; otherwise as
// many decimals as fit, or the scientific form for very large and very small numbers.
std::size_t GeneralNumberLength(double value) {
    const std::size_t shortest = CharsLength(value);
    if (shortest <= GeneralLength)
        return shortest;
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e-9 && magnitude < 1e11)
        for (int decimals = int(GeneralLength); decimals >= 0; --decimals)
            if (const std::size_t fixed = CharsLength(value, std::chars_format::fixed, decimals);
                fixed <= GeneralLength)
                return fixed;
    return CharsLength(value, std::chars_format::scientific, value < 0 ? 4 : 5);
}

} // namespace

std::optional<int> FixedDecimals(std::string_view numberFormat) {
    if (numberFormat == "0")
        return 0;
    if (numberFormat.size() < 3 || numberFormat.substr(0, 2) != "0." ||
        numberFormat.find_first_not_of('0', 2) != std::string_view::npos)
        return std::nullopt;
    return int(numberFormat.size() - 2);
}

std::size_t ShownLength(const TWorkbookCell& cell, std::optional<int> decimals) {
    double number = 0;
    if (const auto* text = std::get_if<std::string>(&cell))
        return Utf8Length(*text);
    if (const auto* integer = std::get_if<std::int64_t>(&cell))
        number = double(*integer);
    else if (const auto* real = std::get_if<double>(&cell))
        number = *real;
    else
        return 0;
    return decimals ? CharsLength(number, std::chars_format::fixed, *decimals)
                    : GeneralNumberLength(number);
}

double ColumnWidth(std::size_t characters, int points, bool bold) {
    const double scale = (points > 0 ? points / StandardPoints : 1.0) * (bold ? BoldWidening : 1.0);
    return std::ceil((double(characters) * scale + CellMargin) * 100) / 100;
}
