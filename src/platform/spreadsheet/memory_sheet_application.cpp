#include "platform/spreadsheet/memory_sheet_application.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdlib.h>

#include "platform/spreadsheet/xlsx_writer.h"

TMemorySheetApplication::TMemorySheetApplication(TSheetOpener opener, TRegional notation)
    : FOpener(std::move(opener)), FNotation(std::move(notation)) {}

std::shared_ptr<ISheetWorkbook> TMemorySheetApplication::WorkbooksAdd(int templateId) {
    if (templateId != xlWBATWorksheet)
        throw ESheetError("Workbooks.Add: the template " + std::to_string(templateId) +
                          " is not available; only the single-worksheet template (" +
                          std::to_string(xlWBATWorksheet) + ") is");
    const std::string name = "Book" + std::to_string(FWorkbooks.size() + 1);
    return FWorkbooks.emplace_back(std::make_shared<TMemoryWorkbook>(name, FNotation));
}

void TMemorySheetApplication::SetVisible(bool visible) {
    FVisible = visible;
    if (!visible)
        return;
    Folder();
    for (const auto& book : FWorkbooks)
        SaveXlsx(*book, FileOf(*book));
    for (const auto& book : FWorkbooks) {
        const std::string file = FileOf(*book);
        if (!FOpener || !FOpener(file))
            throw ESheetError("The workbook was saved as " + file +
                              " but cannot be shown: no spreadsheet application is available "
                              "to open it");
    }
}

std::string TMemorySheetApplication::FileOf(const TMemoryWorkbook& book) const {
    return FFolder.empty() ? std::string() : FFolder + "/" + book.Name() + ".xlsx";
}

const std::string& TMemorySheetApplication::Folder() {
    if (FFolder.empty()) {
        std::error_code error;
        const auto base = std::filesystem::temp_directory_path(error);
        std::string pattern = (error ? std::filesystem::path("/tmp") : base) / "vesk-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw ESheetError("Cannot create a folder for the workbook files (" + pattern +
                              "): " + std::strerror(errno));
        FFolder = pattern;
    }
    return FFolder;
}

std::shared_ptr<ISheetApplication> ConnectSheetApplication(TSheetOpener opener,
                                                           const TRegional& notation) {
    static std::weak_ptr<TMemorySheetApplication> running;
    if (auto application = running.lock())
        return application;
    auto application = std::make_shared<TMemorySheetApplication>(std::move(opener), notation);
    running = application;
    return application;
}
