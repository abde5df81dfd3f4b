#include "platform/xlsx_library.h"

#include "platform/workbook.h"

#include <dlfcn.h>

namespace {

std::string LoadFailure() {
    const char* reason = dlerror();
    return reason ? reason : XLSXWRITER_SONAME " cannot be loaded";
}

TXlsxLibrary Load() {
    void* handle = dlopen(XLSXWRITER_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw EWorkbookError(LoadFailure());
    TXlsxLibrary library;
#define VESK_XLSX_LOAD(name)                                                                       \
    library.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                      \
    if (!library.name)                                                                             \
        throw EWorkbookError(LoadFailure());
    VESK_XLSX_FUNCTIONS(VESK_XLSX_LOAD)
#undef VESK_XLSX_LOAD
    return library;
}

} // namespace

const TXlsxLibrary& XlsxLibrary() {
    static const TXlsxLibrary library = Load();
    return library;
}
