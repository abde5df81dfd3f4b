#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/regional.h"
#include "platform/spreadsheet/spreadsheet.h"
#include "platform/table_field.h"

// The rows of a table as the export writes them: the fields in column order, and for each row the
// values of those fields.
struct TExportTable {
    std::vector<const TTableField*> Fields;
    std::vector<std::vector<TFieldValue>> Rows;
};

// Copies a table into the worksheet "SolucionVesk" of a workbook that the first export opens in
// the spreadsheet application; later exports of the run write into the same worksheet again.
// Titles in row 1, one row per table row from row 2, columns from A.
class TSpreadsheetExport {
public:
    // Gets the running spreadsheet application or starts one.
    using TConnect = std::function<std::shared_ptr<ISheetApplication>()>;

    // notation: the user's separators, read when the window is created, for number formats;
    // pixelsPerInch: the screen's, for the fonts' height of 11 pixels.
    TSpreadsheetExport(TConnect connect, const TRegional& notation, int pixelsPerInch);

    // Writes the table and shows the application. The spreadsheet's ESheetError passes
    // unchanged, and a failed connection is tried again by the next export.
    void Export(const TExportTable& table);

    bool Connected() const { return FConnected; }
    // 11 pixels in points at the given resolution, halves rounded up: 8 at 96 pixels per inch.
    static int FontPoints(int pixelsPerInch);

private:
    void Connect();
    void WriteTitles(const std::vector<const TTableField*>& fields);
    int WriteRows(const TExportTable& table);
    void WriteBlock(int firstRow, const std::vector<const TTableField*>& fields,
                    const TSheetBlock& lines);
    void SetNumberFormat(ISheetRange& range, const TTableField& field);
    void FormatRange(ISheetRange& range, bool bold, std::int32_t background);

    TConnect FConnect;
    char FDecimalSeparator;
    std::string FThousandSeparator;
    int FFontPoints;
    bool FConnected = false;
    std::shared_ptr<ISheetApplication> FApplication;
    std::shared_ptr<ISheetWorkbook> FWorkbook;
    std::shared_ptr<ISheetWorksheet> FWorksheet;
};
