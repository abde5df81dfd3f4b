#include "platform/spreadsheet/xlsx_library.h"

#include "platform/spreadsheet/spreadsheet.h"

#include <dlfcn.h>

#include <string>

namespace {

std::string LoadFailure() {
    const char* reason = dlerror();
    return std::string("Cannot save the workbook: ") + (reason ? reason : XLSXWRITER_SONAME);
}

TXlsxLibrary Load() {
    void* handle = dlopen(XLSXWRITER_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw ESheetError(LoadFailure());
    TXlsxLibrary library;
#define VESK_XLSX_LOAD(name)                                                                       \
    library.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                      \
    if (!library.name)                                                                             \
        throw ESheetError(LoadFailure());
    VESK_XLSX_FUNCTIONS(VESK_XLSX_LOAD)
#undef VESK_XLSX_LOAD
    return library;
}

} // namespace

const TXlsxLibrary& XlsxLibrary() {
    static const TXlsxLibrary library = Load();
    return library;
}
