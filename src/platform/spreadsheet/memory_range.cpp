#include "platform/spreadsheet/memory_range.h"

#include <algorithm>
#include <cmath>

#include "platform/spreadsheet/memory_worksheet.h"
#include "platform/spreadsheet/sheet_colors.h"

namespace {

constexpr size_t MaxTextLength = 32767;
constexpr size_t MaxFontNameLength = 31;
constexpr double MinFontSize = 1;
constexpr double MaxFontSize = 409;

void CheckValue(const TSheetValue& value) {
    if (const auto* number = std::get_if<double>(&value); number && !std::isfinite(*number))
        throw ESheetError("Unable to set the Value2 property: a number must be finite");
    if (const auto* text = std::get_if<std::string>(&value); text && text->size() > MaxTextLength)
        throw ESheetError("Unable to set the Value2 property: a text may have at most 32767 "
                          "characters");
}

std::uint32_t Color(std::int32_t color, const char* property) {
    const auto shown = ShownColor(color);
    if (!shown)
        throw ESheetError(std::string("Unable to set the ") + property +
                          " property: " + std::to_string(color) + " is not a colour");
    return *shown;
}

std::string AreaName(const TCellArea& area) {
    return CellName(area.First) + ":" + CellName(area.Last);
}

} // namespace

void TMemoryFont::SetName(const std::string& name) {
    if (name.empty() || name.size() > MaxFontNameLength)
        throw ESheetError("Unable to set the font Name property: \"" + name +
                          "\" is not a font name");
    FRange.Sheet().Change(FRange.Area(), [&](TSheetCell& cell) { cell.Style.Font.Name = name; });
}

void TMemoryFont::SetSize(double points) {
    if (!(points >= MinFontSize && points <= MaxFontSize))
        throw ESheetError("Unable to set the font Size property: the size must lie between 1 "
                          "and 409 points");
    FRange.Sheet().Change(FRange.Area(), [&](TSheetCell& cell) { cell.Style.Font.Size = points; });
}

void TMemoryFont::SetColor(std::int32_t color) {
    const std::uint32_t shown = Color(color, "font Color");
    FRange.Sheet().Change(FRange.Area(), [&](TSheetCell& cell) { cell.Style.Font.Color = shown; });
}

void TMemoryFont::SetBold(bool bold) {
    FRange.Sheet().Change(FRange.Area(), [&](TSheetCell& cell) { cell.Style.Font.Bold = bold; });
}

void TMemoryFont::SetItalic(bool italic) {
    FRange.Sheet().Change(FRange.Area(),
                          [&](TSheetCell& cell) { cell.Style.Font.Italic = italic; });
}

void TMemoryFont::SetUnderline(bool underline) {
    FRange.Sheet().Change(FRange.Area(),
                          [&](TSheetCell& cell) { cell.Style.Font.Underline = underline; });
}

void TMemoryInterior::SetColor(std::int32_t color) {
    const std::uint32_t shown = Color(color, "Interior Color");
    FRange.Sheet().Change(FRange.Area(),
                          [&](TSheetCell& cell) { cell.Style.InteriorColor = shown; });
}

TMemoryColumns::TMemoryColumns(std::shared_ptr<TMemoryWorksheet> sheet, int first, int last)
    : FSheet(std::move(sheet)), FFirst(first), FLast(last) {}

void TMemoryColumns::AutoFit() {
    FSheet->AutoFit(FFirst, FLast);
}

TMemoryRange::TMemoryRange(std::shared_ptr<TMemoryWorksheet> sheet, TCellArea area)
    : FSheet(std::move(sheet)), FArea(area), FFont(*this), FInterior(*this) {}

void TMemoryRange::SetValue2(const TSheetValue& value) {
    CheckValue(value);
    FSheet->Change(FArea, [&](TSheetCell& cell) { cell.Value = value; });
}

void TMemoryRange::SetValue2(const TSheetBlock& block) {
    bool fits = block.size() == size_t(FArea.Rows());
    for (const auto& line : block) {
        fits = fits && line.size() == size_t(FArea.Columns());
        for (const auto& value : line)
            CheckValue(value);
    }
    if (!fits)
        throw ESheetError("Unable to set the Value2 property: the array does not have the " +
                          std::to_string(FArea.Rows()) + " rows of " +
                          std::to_string(FArea.Columns()) + " values of the range " +
                          AreaName(FArea));
    for (int row = 0; row < FArea.Rows(); ++row)
        for (int column = 0; column < FArea.Columns(); ++column) {
            const TCellRef ref{FArea.First.Row + row, FArea.First.Column + column};
            FSheet->Change({ref, ref}, [&](TSheetCell& cell) {
                cell.Value = block[size_t(row)][size_t(column)];
            });
        }
}

void TMemoryRange::SetNumberFormat(const std::string& format) {
    FSheet->FileFormat(format);
    FSheet->Change(FArea, [&](TSheetCell& cell) { cell.Style.NumberFormat = format; });
}

void TMemoryRange::SetOrientation(int orientation) {
    int rotation = orientation;
    if (orientation == xlHorizontal)
        rotation = 0;
    else if (orientation == xlUpward)
        rotation = 90;
    else if (orientation == xlDownward)
        rotation = -90;
    else if (orientation == xlVertical)
        rotation = 270;
    else if (orientation < -90 || orientation > 90)
        throw ESheetError("Unable to set the Orientation property: " + std::to_string(orientation) +
                          " is not an orientation");
    FSheet->Change(FArea, [&](TSheetCell& cell) { cell.Style.Rotation = rotation; });
}

void TMemoryRange::SetWrapText(bool wrap) {
    FSheet->Change(FArea, [&](TSheetCell& cell) { cell.Style.WrapText = wrap; });
}

void TMemoryRange::SetHorizontalAlignment(int alignment) {
    constexpr int Known[] = {
        xlGeneral,    xlLeft, xlCenter, xlRight, xlFill, xlJustify, xlCenterAcrossSelection,
        xlDistributed};
    if (std::find(std::begin(Known), std::end(Known), alignment) == std::end(Known))
        throw ESheetError("Unable to set the HorizontalAlignment property: " +
                          std::to_string(alignment) + " is not an alignment");
    FSheet->Change(FArea, [&](TSheetCell& cell) { cell.Style.HorizontalAlignment = alignment; });
}

std::unique_ptr<ISheetColumns> TMemoryRange::EntireColumn() {
    return std::make_unique<TMemoryColumns>(FSheet, FArea.First.Column, FArea.Last.Column);
}
