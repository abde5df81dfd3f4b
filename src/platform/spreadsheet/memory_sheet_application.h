#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/regional.h"
#include "platform/spreadsheet/memory_workbook.h"
#include "platform/spreadsheet/spreadsheet.h"

// The spreadsheet application of this process: its workbooks live in memory, and showing it
// saves each workbook as an .xlsx file in a folder of its own under the temporary directory and
// has the opener show the file. The files stay when the program ends, for the user to go on.
class TMemorySheetApplication : public ISheetApplication {
public:
    TMemorySheetApplication(TSheetOpener opener, TRegional notation);

    std::shared_ptr<ISheetWorkbook> WorkbooksAdd(int templateId) override;
    void SetScreenUpdating(bool on) override { FScreenUpdating = on; }
    // Every time it is set to true: saves each workbook over its file, then opens each file.
    // A failed save or open raises ESheetError; a saved file stays, and the next call tries
    // again.
    void SetVisible(bool visible) override;

    bool ScreenUpdating() const { return FScreenUpdating; }
    bool Visible() const { return FVisible; }
    const std::vector<std::shared_ptr<TMemoryWorkbook>>& Workbooks() const { return FWorkbooks; }
    // The file the workbook is saved as, named after it; empty before the first save.
    std::string FileOf(const TMemoryWorkbook& book) const;

private:
    const std::string& Folder();

    TSheetOpener FOpener;
    TRegional FNotation;
    std::vector<std::shared_ptr<TMemoryWorkbook>> FWorkbooks;
    std::string FFolder;
    bool FScreenUpdating = true;
    bool FVisible = false;
};
