#include "platform/spreadsheet/memory_workbook.h"

TMemoryWorkbook::TMemoryWorkbook(std::string name, const TRegional& notation)
    : FName(std::move(name)), FSheets{std::make_shared<TMemoryWorksheet>("Sheet1", notation)} {}

std::shared_ptr<ISheetWorksheet> TMemoryWorkbook::WorksheetsItem(int index) {
    if (index < 1 || size_t(index) > FSheets.size())
        throw ESheetError("Worksheets.Item: the workbook has no worksheet " +
                          std::to_string(index));
    return FSheets[size_t(index - 1)];
}
