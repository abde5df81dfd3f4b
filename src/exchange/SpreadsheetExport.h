#pragma once

#include <string>
#include <vector>

#include "platform/table_field.h"
#include "platform/workbook.h"

// A table as the export receives it: its visible fields in field order and, for each row in
// table order, one value per field.
struct TExportTable {
    std::vector<TTableField> Fields;
    std::vector<std::vector<TFieldValue>> Rows;
};

// Writes a table into the sheet "SolucionVesk" of a workbook file that the first export creates
// in a folder of its own under the temporary directory; later exports of the run rewrite the same
// file. Titles in row 1, one row per table row from row 2, columns from A. As in a worksheet
// written over, the rows of an earlier, longer export stay below the present table's.
class TSpreadsheetExport {
public:
    // pixelsPerInch: the screen's, for the fonts' height of 11 pixels.
    explicit TSpreadsheetExport(int pixelsPerInch);

    // Saves the table and returns the path of the workbook file. Raises EWorkbookError when the
    // folder or the file cannot be written; the next export tries again.
    std::string Export(const TExportTable& table);

    // 11 pixels in points at the given resolution, halves rounded up: 8 at 96 pixels per inch.
    static int FontPoints(int pixelsPerInch);

private:
    const std::string& File();

    int FFontPoints;
    // Empty until the folder is made.
    std::string FFile;
    std::vector<std::vector<TWorkbookCell>> FRows;
};
