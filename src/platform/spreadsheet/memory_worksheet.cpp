#include "platform/spreadsheet/memory_worksheet.h"

#include <algorithm>
#include <cmath>
#include <strings.h>

#include "platform/spreadsheet/memory_range.h"
#include "platform/spreadsheet/number_format.h"

namespace {

constexpr size_t MaxNameLength = 31;
constexpr std::int64_t MaxChangedCells = 1000000;
// AutoFit: a character of the standard font is one unit of width, bold text is a tenth wider,
// and the cell's margins add 5 of the 7 pixels of a standard digit.
constexpr double BoldWidening = 1.1;
constexpr double CellMargin = 5.0 / 7.0;

// The number of characters of a UTF-8 text.
size_t Characters(const std::string& text) {
    return size_t(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

TCellRef CellFromName(const std::string& name) {
    const auto cell = ParseCellName(name);
    if (!cell)
        throw ESheetError("\"" + name + "\" is not a cell name in A1 form");
    return *cell;
}

} // namespace

TMemoryWorksheet::TMemoryWorksheet(std::string name, TRegional notation)
    : FName(std::move(name)), FNotation(std::move(notation)) {}

void TMemoryWorksheet::SetName(const std::string& name) {
    const size_t length = Characters(name);
    const char* fault = nullptr;
    if (length == 0 || length > MaxNameLength)
        fault = "it must have 1 to 31 characters";
    else if (name.find_first_of(":\\/?*[]") != std::string::npos)
        fault = "it must not contain : \\ / ? * [ or ]";
    else if (name.front() == '\'' || name.back() == '\'')
        fault = "it must not start or end with an apostrophe";
    else if (strcasecmp(name.c_str(), "History") == 0)
        fault = "the name is reserved";
    if (fault)
        throw ESheetError("Cannot name the worksheet \"" + name + "\": " + fault);
    FName = name;
}

std::unique_ptr<ISheetRange> TMemoryWorksheet::Range(const std::string& first,
                                                     const std::string& last) {
    return std::make_unique<TMemoryRange>(shared_from_this(),
                                          AreaBetween(CellFromName(first), CellFromName(last)));
}

const TSheetCell* TMemoryWorksheet::Cell(TCellRef cell) const {
    const auto found = FCells.find(cell);
    return found == FCells.end() ? nullptr : &found->second;
}

std::optional<double> TMemoryWorksheet::ColumnWidth(int column) const {
    const auto found = FColumnWidths.find(column);
    return found == FColumnWidths.end() ? std::nullopt : std::optional(found->second);
}

void TMemoryWorksheet::Change(const TCellArea& area,
                              const std::function<void(TSheetCell&)>& change) {
    if (area.Cells() > MaxChangedCells)
        throw ESheetError("The range " + CellName(area.First) + ":" + CellName(area.Last) +
                          " is too large to change at once");
    for (int row = area.First.Row; row <= area.Last.Row; ++row)
        for (int column = area.First.Column; column <= area.Last.Column; ++column) {
            const auto at = FCells.try_emplace({row, column}).first;
            change(at->second);
            // A cell back to empty and unformatted is no longer kept.
            if (std::holds_alternative<std::monostate>(at->second.Value) &&
                at->second.Style == TSheetStyle())
                FCells.erase(at);
        }
}

void TMemoryWorksheet::AutoFit(int firstColumn, int lastColumn) {
    std::map<int, double> widths;
    for (const auto& [ref, cell] : FCells) {
        if (ref.Column < firstColumn || ref.Column > lastColumn)
            continue;
        const std::string shown = ShownText(cell.Value, FileFormat(cell.Style.NumberFormat));
        if (shown.empty())
            continue;
        const double scale =
            cell.Style.Font.Size / StandardFontSize * (cell.Style.Font.Bold ? BoldWidening : 1.0);
        const double width = std::ceil((Characters(shown) * scale + CellMargin) * 100) / 100;
        widths[ref.Column] = std::max(widths[ref.Column], width);
    }
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const auto found = widths.find(column);
        if (found == widths.end())
            FColumnWidths.erase(column);
        else
            FColumnWidths[column] = found->second;
    }
}

std::string TMemoryWorksheet::FileFormat(const std::string& format) const {
    const auto code = FileNumberFormat(format, FNotation);
    if (!code)
        throw ESheetError("Unable to set the NumberFormat property: \"" + format +
                          "\" is not a number format the spreadsheet accepts");
    return *code;
}
