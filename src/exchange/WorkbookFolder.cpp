#include "exchange/WorkbookFolder.h"

#include "platform/workbook.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdlib.h>

std::string NewWorkbookFolder() {
    std::error_code error;
    const auto base = std::filesystem::temp_directory_path(error);
    std::string folder = (error ? std::filesystem::path("/tmp") : base) / "vesk-XXXXXX";
    if (!mkdtemp(folder.data()))
        throw EWorkbookError("Cannot create a folder for the workbook files (" + folder +
                             "): " + std::strerror(errno));
    return folder;
}
