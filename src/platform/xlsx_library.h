#pragma once

#include <xlsxwriter.h>

// The functions of libxlsxwriter that the workbook writer calls.
#define VESK_XLSX_FUNCTIONS(F)                                                                     \
    F(workbook_new_opt)                                                                            \
    F(workbook_validate_sheet_name)                                                                \
    F(workbook_add_worksheet)                                                                      \
    F(workbook_add_format)                                                                         \
    F(workbook_close)                                                                              \
    F(lxw_workbook_free)                                                                           \
    F(worksheet_write_number)                                                                      \
    F(worksheet_write_string)                                                                      \
    F(worksheet_write_blank)                                                                       \
    F(worksheet_set_column)                                                                        \
    F(format_set_num_format)                                                                       \
    F(format_set_font_size)                                                                        \
    F(format_set_bold)                                                                             \
    F(format_set_pattern)                                                                          \
    F(format_set_bg_color)                                                                         \
    F(lxw_strerror)

// libxlsxwriter, loaded when the first workbook is saved rather than when the program starts:
// with the libraries it pulls in, loading it is a noticeable part of the window's start-up.
struct TXlsxLibrary {
#define VESK_XLSX_POINTER(name) decltype(&::name) name;
    VESK_XLSX_FUNCTIONS(VESK_XLSX_POINTER)
#undef VESK_XLSX_POINTER
};

// Loads the library at the first call; throws EWorkbookError with the reason when it or a
// function is missing, and tries again at the next call.
const TXlsxLibrary& XlsxLibrary();
