#include "exchange/SpreadsheetExport.h"

#include <cmath>

#include "platform/spreadsheet/cell_names.h"

namespace {

constexpr int RowsPerWrite = 20;
constexpr int FontPixels = 11;
// The window-text colour as the window toolkit passes a system colour.
constexpr std::int32_t WindowTextColor = std::int32_t(0xFF000008);
constexpr std::int32_t Silver = 0xC0C0C0;
constexpr std::int32_t White = 0xFFFFFF;

std::string Cell(int row, int column) {
    return CellName({row, column});
}

// Integers and reals as numbers, a null one as an empty cell; any other field as its edit text.
TSheetValue CellValue(const TTableField& field, const TFieldValue& value) {
    const bool number = field.Kind == TFieldKind::Integer || field.Kind == TFieldKind::Currency;
    if (number && std::holds_alternative<std::monostate>(value))
        return {};
    if (const auto* integer = std::get_if<int32_t>(&value))
        return std::int64_t(*integer);
    if (const auto* real = std::get_if<double>(&value))
        return *real;
    return field.DisplayText(value);
}

} // namespace

TSpreadsheetExport::TSpreadsheetExport(TConnect connect, const TRegional& notation,
                                       int pixelsPerInch)
    : FConnect(std::move(connect)), FDecimalSeparator(notation.DecimalSeparator),
      FThousandSeparator(notation.ThousandSeparator), FFontPoints(FontPoints(pixelsPerInch)) {}

int TSpreadsheetExport::FontPoints(int pixelsPerInch) {
    return int(std::floor(FontPixels * 72.0 / pixelsPerInch + 0.5));
}

void TSpreadsheetExport::Export(const TExportTable& table) {
    if (!FConnected)
        Connect();
    if (!table.Fields.empty()) {
        const int lastColumn = int(table.Fields.size());
        WriteTitles(table.Fields);
        const int lastRow = WriteRows(table);
        if (lastRow > 2)
            FormatRange(*FWorksheet->Range("A2", Cell(lastRow, lastColumn)), false, White);
        FWorksheet->Range("A1", Cell(1, lastColumn))->EntireColumn()->AutoFit();
    }
    FApplication->SetScreenUpdating(true);
    FApplication->SetVisible(true);
}

void TSpreadsheetExport::Connect() {
    auto application = FConnect();
    auto workbook = application->WorkbooksAdd(xlWBATWorksheet);
    auto worksheet = workbook->WorksheetsItem(1);
    application->SetScreenUpdating(false);
    worksheet->SetName("SolucionVesk");
    FApplication = std::move(application);
    FWorkbook = std::move(workbook);
    FWorksheet = std::move(worksheet);
    FConnected = true;
}

void TSpreadsheetExport::WriteTitles(const std::vector<const TTableField*>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string cell = Cell(1, int(i) + 1);
        FWorksheet->Range(cell, cell)->SetValue2(fields[i]->DisplayLabel);
    }
    FormatRange(*FWorksheet->Range("A1", Cell(1, int(fields.size()))), true, Silver);
}

int TSpreadsheetExport::WriteRows(const TExportTable& table) {
    int nextRow = 2;
    TSheetBlock lines;
    for (const std::vector<TFieldValue>& row : table.Rows) {
        auto& line = lines.emplace_back();
        for (std::size_t i = 0; i < table.Fields.size(); ++i)
            line.push_back(CellValue(*table.Fields[i], row.at(i)));
        if (lines.size() == RowsPerWrite) {
            WriteBlock(nextRow, table.Fields, lines);
            nextRow += RowsPerWrite;
            lines.clear();
        }
    }
    if (!lines.empty())
        WriteBlock(nextRow, table.Fields, lines);
    return nextRow + int(lines.size()) - 1;
}

void TSpreadsheetExport::WriteBlock(int firstRow, const std::vector<const TTableField*>& fields,
                                    const TSheetBlock& lines) {
    const int lastRow = firstRow + int(lines.size()) - 1;
    for (size_t i = 0; i < fields.size(); ++i) {
        const int column = int(i) + 1;
        SetNumberFormat(*FWorksheet->Range(Cell(firstRow, column), Cell(lastRow, column)),
                        *fields[i]);
    }
    FWorksheet->Range(Cell(firstRow, 1), Cell(lastRow, int(fields.size())))->SetValue2(lines);
}

void TSpreadsheetExport::SetNumberFormat(ISheetRange& range, const TTableField& field) {
    if (field.Kind == TFieldKind::Text) {
        range.SetNumberFormat("@");
        return;
    }
    if (field.Kind != TFieldKind::Currency)
        return;
    std::string local;
    for (const char c : field.DisplayFormat) {
        if (c == '.')
            local += FDecimalSeparator;
        else if (c == ',')
            local += FThousandSeparator;
        else
            local += c;
    }
    try {
        range.SetNumberFormat(local);
    } catch (const ESheetError&) {
        range.SetNumberFormat(std::string("0") + FDecimalSeparator + "00");
    }
}

void TSpreadsheetExport::FormatRange(ISheetRange& range, bool bold, std::int32_t background) {
    ISheetFont& font = range.Font();
    if (FFontPoints > 0)
        font.SetSize(FFontPoints);
    font.SetColor(WindowTextColor);
    font.SetBold(bold);
    font.SetItalic(false);
    font.SetUnderline(false);
    if (background != White)
        range.Interior().SetColor(background);
    range.SetOrientation(0);
    range.SetWrapText(false);
    range.SetHorizontalAlignment(xlGeneral);
}
