#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/regional.h"
#include "platform/spreadsheet/spreadsheet.h"

class TMemoryTable;
class TTableField;

// Copies the visible fields of a table into the worksheet "SolucionVesk" of a workbook that the
// first export opens in the spreadsheet application; later exports of the run write into the
// same worksheet again. Titles in row 1, one row per table row from row 2, columns from A.
class TSpreadsheetExport {
public:
    // Gets the running spreadsheet application or starts one.
    using TConnect = std::function<std::shared_ptr<ISheetApplication>()>;

    // notation: the user's separators, read when the window is created, for number formats;
    // pixelsPerInch: the screen's, for the fonts' height of 11 pixels.
    TSpreadsheetExport(TConnect connect, const TRegional& notation, int pixelsPerInch);

    // Writes the table's present contents and shows the application. rowDone runs after each
    // table row is collected (the window handles its pending events there). Raises
    // EDatabaseError "Dataset is not active" for a closed table; the spreadsheet's ESheetError
    // passes unchanged, and a failed connection is tried again by the next export.
    void Export(TMemoryTable& table, const std::function<void()>& rowDone);

    bool Connected() const { return FConnected; }
    // 11 pixels in points at the given resolution, halves rounded up: 8 at 96 pixels per inch.
    static int FontPoints(int pixelsPerInch);

private:
    void Connect();
    void WriteTitles(const std::vector<const TTableField*>& fields);
    int WriteRows(TMemoryTable& table, const std::vector<const TTableField*>& fields,
                  const std::function<void()>& rowDone);
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
