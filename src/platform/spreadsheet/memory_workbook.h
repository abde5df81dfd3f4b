#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/regional.h"
#include "platform/spreadsheet/memory_worksheet.h"
#include "platform/spreadsheet/spreadsheet.h"

// A workbook held in memory, made from the single-worksheet template: one worksheet, "Sheet1".
class TMemoryWorkbook : public ISheetWorkbook {
public:
    TMemoryWorkbook(std::string name, const TRegional& notation);

    std::shared_ptr<ISheetWorksheet> WorksheetsItem(int index) override;

    // The workbook's name, "Book1" for the first of a run; its file is named after it.
    const std::string& Name() const { return FName; }
    const std::vector<std::shared_ptr<TMemoryWorksheet>>& Worksheets() const { return FSheets; }

private:
    std::string FName;
    std::vector<std::shared_ptr<TMemoryWorksheet>> FSheets;
};
