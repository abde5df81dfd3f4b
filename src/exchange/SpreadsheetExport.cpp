#include "exchange/SpreadsheetExport.h"

#include "exchange/WorkbookFolder.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int FontPixels = 11;

// Integers and reals as numbers, a null one as an empty cell; any other field as its text.
TWorkbookCell Cell(const TTableField& field, const TFieldValue& value) {
    const bool number = field.Kind == TFieldKind::Integer || field.Kind == TFieldKind::Currency;
    if (number && std::holds_alternative<std::monostate>(value))
        return {};
    if (const auto* integer = std::get_if<int32_t>(&value))
        return std::int64_t(*integer);
    if (const auto* real = std::get_if<double>(&value))
        return *real;
    return field.DisplayText(value);
}

// Texts keep the text format, reals their display format ("0.0000"); the rest the general one.
std::string NumberFormat(const TTableField& field) {
    if (field.Kind == TFieldKind::Text)
        return "@";
    if (field.Kind == TFieldKind::Currency)
        return field.DisplayFormat;
    return {};
}

} // namespace

TSpreadsheetExport::TSpreadsheetExport(int pixelsPerInch)
    : FFontPoints(FontPoints(pixelsPerInch)) {}

int TSpreadsheetExport::FontPoints(int pixelsPerInch) {
    return int(std::floor(FontPixels * 72.0 / pixelsPerInch + 0.5));
}

std::string TSpreadsheetExport::Export(const TExportTable& table) {
    TWorkbookSheet sheet{"SolucionVesk", {}, FFontPoints};
    for (const TTableField& field : table.Fields)
        sheet.Columns.push_back({field.DisplayLabel, NumberFormat(field)});
    FRows.resize(std::max(FRows.size(), table.Rows.size()));
    for (std::size_t row = 0; row < table.Rows.size(); ++row) {
        FRows[row].clear();
        for (std::size_t column = 0; column < table.Fields.size(); ++column)
            FRows[row].push_back(Cell(table.Fields[column], table.Rows[row][column]));
    }
    TWorkbookWriter writer(File(), sheet);
    for (const auto& row : FRows)
        writer.AddRow(row);
    writer.Commit();
    return FFile;
}

const std::string& TSpreadsheetExport::File() {
    if (FFile.empty())
        FFile = NewWorkbookFolder() + "/Book1.xlsx";
    return FFile;
}
