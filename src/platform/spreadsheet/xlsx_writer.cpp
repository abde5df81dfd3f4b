#include "platform/spreadsheet/xlsx_writer.h"

#include <clocale>
#include <filesystem>
#include <locale.h>
#include <map>
#include <system_error>

#include "platform/spreadsheet/memory_workbook.h"
#include "platform/spreadsheet/sheet_colors.h"
#include "platform/spreadsheet/xlsx_library.h"

namespace {

// The writer formats numbers with the C library's current locale; this switches the calling
// thread to the "C" locale while it lives. glibc hands out its static "C" object for it, which
// needs no allocation and cannot fail for lack of locale files.
class TCLocale {
public:
    TCLocale() : FLocale(newlocale(LC_ALL_MASK, "C", locale_t(0))) {
        if (!FLocale)
            throw ESheetError("Cannot save the workbook: the \"C\" locale is not available");
        FPrevious = uselocale(FLocale);
    }
    ~TCLocale() {
        uselocale(FPrevious);
        freelocale(FLocale);
    }
    TCLocale(const TCLocale&) = delete;
    TCLocale& operator=(const TCLocale&) = delete;

private:
    locale_t FLocale;
    locale_t FPrevious;
};

// The writer leaves black (0) for "no colour" and names black apart.
lxw_color_t FileColor(std::uint32_t bgr) {
    const std::uint32_t rgb = RgbOf(bgr);
    return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : rgb;
}

uint8_t FileAlignment(int alignment) {
    switch (alignment) {
    case xlLeft:
        return LXW_ALIGN_LEFT;
    case xlCenter:
        return LXW_ALIGN_CENTER;
    case xlRight:
        return LXW_ALIGN_RIGHT;
    case xlFill:
        return LXW_ALIGN_FILL;
    case xlJustify:
        return LXW_ALIGN_JUSTIFY;
    case xlCenterAcrossSelection:
        return LXW_ALIGN_CENTER_ACROSS;
    case xlDistributed:
        return LXW_ALIGN_DISTRIBUTED;
    default:
        return LXW_ALIGN_NONE;
    }
}

// Builds one writer format per distinct cell style; the default style needs none.
class TFileFormats {
public:
    explicit TFileFormats(lxw_workbook* book) : FBook(book) {}

    lxw_format* For(const TSheetStyle& style, const TMemoryWorksheet& sheet) {
        if (style == TSheetStyle())
            return nullptr;
        auto& format = FFormats[style];
        if (!format)
            format = Make(style, sheet);
        return format;
    }

private:
    lxw_format* Make(const TSheetStyle& style, const TMemoryWorksheet& sheet) {
        lxw_format* format = XlsxLibrary().workbook_add_format(FBook);
        if (!style.NumberFormat.empty())
            XlsxLibrary().format_set_num_format(format,
                                                sheet.FileFormat(style.NumberFormat).c_str());
        const TSheetFontStyle& font = style.Font;
        if (!font.Name.empty())
            XlsxLibrary().format_set_font_name(format, font.Name.c_str());
        if (font.Size != StandardFontSize)
            XlsxLibrary().format_set_font_size(format, font.Size);
        if (font.Color)
            XlsxLibrary().format_set_font_color(format, FileColor(*font.Color));
        if (font.Bold)
            XlsxLibrary().format_set_bold(format);
        if (font.Italic)
            XlsxLibrary().format_set_italic(format);
        if (font.Underline)
            XlsxLibrary().format_set_underline(format, LXW_UNDERLINE_SINGLE);
        if (style.InteriorColor) {
            XlsxLibrary().format_set_pattern(format, LXW_PATTERN_SOLID);
            XlsxLibrary().format_set_bg_color(format, FileColor(*style.InteriorColor));
        }
        if (style.Rotation != 0)
            XlsxLibrary().format_set_rotation(format, int16_t(style.Rotation));
        if (style.WrapText)
            XlsxLibrary().format_set_text_wrap(format);
        if (style.HorizontalAlignment != xlGeneral)
            XlsxLibrary().format_set_align(format, FileAlignment(style.HorizontalAlignment));
        return format;
    }

    lxw_workbook* FBook;
    std::map<TSheetStyle, lxw_format*> FFormats;
};

lxw_error WriteCell(lxw_worksheet* sheet, TCellRef ref, const TSheetCell& cell,
                    lxw_format* format) {
    const auto row = lxw_row_t(ref.Row - 1);
    const auto column = lxw_col_t(ref.Column - 1);
    if (const auto* integer = std::get_if<std::int64_t>(&cell.Value))
        return XlsxLibrary().worksheet_write_number(sheet, row, column, double(*integer), format);
    if (const auto* number = std::get_if<double>(&cell.Value))
        return XlsxLibrary().worksheet_write_number(sheet, row, column, *number, format);
    if (const auto* text = std::get_if<std::string>(&cell.Value))
        return XlsxLibrary().worksheet_write_string(sheet, row, column, text->c_str(), format);
    return XlsxLibrary().worksheet_write_blank(sheet, row, column, format);
}

// Fills the writer's workbook; the first failure's text, or empty.
std::string Fill(lxw_workbook* file, const TMemoryWorkbook& book) {
    TFileFormats formats(file);
    for (const auto& sheet : book.Worksheets()) {
        lxw_worksheet* fileSheet =
            XlsxLibrary().workbook_add_worksheet(file, sheet->Name().c_str());
        if (!fileSheet)
            return "the worksheet \"" + sheet->Name() + "\" cannot be added";
        for (const auto& [ref, cell] : sheet->Cells())
            if (const lxw_error error =
                    WriteCell(fileSheet, ref, cell, formats.For(cell.Style, *sheet)))
                return "cell " + CellName(ref) + ": " + XlsxLibrary().lxw_strerror(error);
        for (const auto& [column, width] : sheet->ColumnWidths())
            if (const lxw_error error = XlsxLibrary().worksheet_set_column(
                    fileSheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr))
                return "column " + ColumnName(column) + ": " + XlsxLibrary().lxw_strerror(error);
    }
    return {};
}

} // namespace

void SaveXlsx(const TMemoryWorkbook& book, const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::string partName = ".";
    partName += target.filename().string();
    partName += ".part";
    const fs::path temporary = target.parent_path() / partName;
    std::string fault;
    {
        const TCLocale notation;
        lxw_workbook* file = XlsxLibrary().workbook_new(temporary.c_str());
        if (!file)
            throw ESheetError("Cannot save the workbook as " + path + ": out of memory");
        fault = Fill(file, book);
        if (const lxw_error error = XlsxLibrary().workbook_close(file); error && fault.empty())
            fault = XlsxLibrary().lxw_strerror(error);
    }
    std::error_code error;
    if (fault.empty()) {
        fs::rename(temporary, target, error);
        if (!error)
            return;
        fault = error.message();
    }
    fs::remove(temporary, error);
    throw ESheetError("Cannot save the workbook as " + path + ": " + fault);
}
