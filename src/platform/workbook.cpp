#include "platform/workbook.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <locale.h>
#include <map>
#include <optional>
#include <unistd.h>
#include <utility>

#include "platform/column_width.h"
#include "platform/utf8_text.h"
#include "platform/xlsx_library.h"

namespace {

namespace fs = std::filesystem;

constexpr lxw_color_t Silver = 0xC0C0C0;
constexpr std::size_t MaxTextLength = 32767;
constexpr double MaxColumnWidth = 255;

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
    throw EWorkbookError("Cannot save the workbook as " + path + ": " + reason);
}

// The library formats numbers with the C library's current locale, which Qt sets to the user's;
// this switches the calling thread to the "C" locale while it lives. glibc hands out its static
// "C" object for it, which needs no allocation and cannot fail for lack of locale files.
class TCLocale {
public:
    explicit TCLocale(const std::string& path) : FLocale(newlocale(LC_ALL_MASK, "C", locale_t(0))) {
        if (!FLocale)
            Fail(path, "the \"C\" locale is not available");
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

// A new empty hidden file beside the target, with the permissions of any new file; the process
// id and a counter make its name unique among the writers of every process.
std::string CreateTemporary(const std::string& path) {
    static std::atomic<unsigned> counter = 0;
    const fs::path target(path);
    if (target.filename().empty())
        Fail(path, "the path names no file");
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string prefix = ".";
    prefix += target.filename().string();
    prefix += '.';
    for (int attempt = 0;; ++attempt) {
        const fs::path name =
            folder / (prefix + std::to_string(getpid()) + "-" + std::to_string(++counter));
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            return name.string();
        }
        if (errno != EEXIST || attempt == 100)
            Fail(path, "cannot create a file in " + folder.string() + ": " + std::strerror(errno));
    }
}

} // namespace

struct TWorkbookWriter::TState {
    TState(const std::string& path, const TWorkbookSheet& sheet) : FPath(path), FSheet(sheet) {}
    ~TState() { Discard(); }
    // Starts the file; apart from the constructor, so that a failure still cleans up.
    void Start();
    void AddRow(const std::vector<TWorkbookCell>& cells);
    void Commit();

private:
    const TXlsxLibrary& Library() const { return *FLibrary; }
    // A failure of the row being written, counted from 1 as the sheet shows it.
    [[noreturn]] void FailRow(const std::string& reason) const {
        Fail(FPath, "row " + std::to_string(FNextRow + 1) + ": " + reason);
    }
    void CheckOpen() const;
    // Frees the workbook unwritten and removes the temporary file.
    void Discard();
    lxw_format* NewFormat();
    void WriteTitles();
    lxw_error WriteCell(lxw_col_t column, const TWorkbookCell& cell);

    std::string FPath;
    TWorkbookSheet FSheet;
    const TXlsxLibrary* FLibrary = nullptr;
    // Empty once renamed over the target.
    std::string FTemporary;
    // The library's scratch files go beside the target rather than into a /tmp that may be
    // held in memory; they are removed as soon as they are made.
    std::string FScratchFolder;
    // Null once closed.
    lxw_workbook* FBook = nullptr;
    lxw_worksheet* FWorksheet = nullptr;
    std::vector<lxw_format*> FFormats;
    std::vector<std::optional<int>> FDecimals;
    // The number of characters of each column's longest data text.
    std::vector<std::size_t> FLongest;
    lxw_row_t FNextRow = 0;
};

void TWorkbookWriter::TState::Start() {
    try {
        FLibrary = &XlsxLibrary();
    } catch (const EWorkbookError& error) {
        Fail(FPath, error.what());
    }
    if (!Utf8Valid(FSheet.Name))
        Fail(FPath, "the sheet name is not UTF-8 text");
    for (std::size_t column = 0; column < FSheet.Columns.size(); ++column)
        if (!Utf8Valid(FSheet.Columns[column].Title))
            Fail(FPath, "the title of column " + std::to_string(column + 1) + " is not UTF-8 text");
    const TCLocale notation(FPath);
    FTemporary = CreateTemporary(FPath);
    FScratchFolder = fs::path(FTemporary).parent_path().string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = FScratchFolder.data();
    FBook = Library().workbook_new_opt(FTemporary.c_str(), &options);
    if (!FBook)
        Fail(FPath, "out of memory");
    if (const lxw_error error = Library().workbook_validate_sheet_name(FBook, FSheet.Name.c_str()))
        Fail(FPath, "the sheet name \"" + FSheet.Name + "\": " + Library().lxw_strerror(error));
    FWorksheet = Library().workbook_add_worksheet(FBook, FSheet.Name.c_str());
    if (!FWorksheet)
        Fail(FPath, "the sheet \"" + FSheet.Name + "\" cannot be added");
    // One format per number format: the library looks an equal second one up at every cell.
    std::map<std::string, lxw_format*> formats;
    for (const TWorkbookColumn& column : FSheet.Columns) {
        lxw_format*& format = formats[column.NumberFormat];
        if (!format && (!column.NumberFormat.empty() || FSheet.FontPoints > 0))
            format = NewFormat();
        if (!column.NumberFormat.empty())
            Library().format_set_num_format(format, column.NumberFormat.c_str());
        FFormats.push_back(format);
        FDecimals.push_back(FixedDecimals(column.NumberFormat));
    }
    FLongest.assign(FSheet.Columns.size(), 0);
    WriteTitles();
}

void TWorkbookWriter::TState::Discard() {
    if (FBook)
        Library().lxw_workbook_free(std::exchange(FBook, nullptr));
    if (!FTemporary.empty())
        unlink(std::exchange(FTemporary, {}).c_str());
}

void TWorkbookWriter::TState::CheckOpen() const {
    if (!FBook)
        Fail(FPath, "the workbook is already closed");
}

lxw_format* TWorkbookWriter::TState::NewFormat() {
    lxw_format* format = Library().workbook_add_format(FBook);
    if (!format)
        Fail(FPath, "out of memory");
    if (FSheet.FontPoints > 0)
        Library().format_set_font_size(format, FSheet.FontPoints);
    return format;
}

void TWorkbookWriter::TState::WriteTitles() {
    if (FSheet.Columns.empty())
        return;
    lxw_format* title = NewFormat();
    Library().format_set_bold(title);
    Library().format_set_pattern(title, LXW_PATTERN_SOLID);
    Library().format_set_bg_color(title, Silver);
    for (lxw_col_t column = 0; column < FSheet.Columns.size(); ++column)
        if (const lxw_error error = Library().worksheet_write_string(
                FWorksheet, 0, column, FSheet.Columns[column].Title.c_str(), title))
            FailRow(Library().lxw_strerror(error));
    ++FNextRow;
}

lxw_error TWorkbookWriter::TState::WriteCell(lxw_col_t column, const TWorkbookCell& cell) {
    lxw_format* format = FFormats[column];
    if (const auto* integer = std::get_if<std::int64_t>(&cell))
        return Library().worksheet_write_number(FWorksheet, FNextRow, column, double(*integer),
                                                format);
    if (const auto* real = std::get_if<double>(&cell))
        return Library().worksheet_write_number(FWorksheet, FNextRow, column, *real, format);
    if (const auto* text = std::get_if<std::string>(&cell))
        return Library().worksheet_write_string(FWorksheet, FNextRow, column, text->c_str(),
                                                format);
    // A formatted blank keeps the column's look for what the user types there later.
    return Library().worksheet_write_blank(FWorksheet, FNextRow, column, format);
}

void TWorkbookWriter::TState::AddRow(const std::vector<TWorkbookCell>& cells) {
    CheckOpen();
    if (cells.size() > FSheet.Columns.size())
        FailRow(std::to_string(cells.size()) + " cells for " +
                std::to_string(FSheet.Columns.size()) + " columns");
    // The row is checked whole first, so that a refused row writes nothing.
    for (std::size_t column = 0; column < cells.size(); ++column) {
        const TWorkbookCell& cell = cells[column];
        if (const auto* real = std::get_if<double>(&cell); real && !std::isfinite(*real))
            FailRow("column " + std::to_string(column + 1) + ": a number must be finite");
        const auto* text = std::get_if<std::string>(&cell);
        if (text && !Utf8Valid(*text))
            FailRow("column " + std::to_string(column + 1) + ": the text is not UTF-8");
        if (text && Utf8Length(*text) > MaxTextLength)
            FailRow("column " + std::to_string(column + 1) +
                    ": a text may have at most 32767 characters");
    }
    const TCLocale notation(FPath);
    static const TWorkbookCell empty;
    for (lxw_col_t column = 0; column < FSheet.Columns.size(); ++column) {
        const TWorkbookCell& cell = column < cells.size() ? cells[column] : empty;
        if (const lxw_error error = WriteCell(column, cell))
            FailRow(Library().lxw_strerror(error));
        FLongest[column] = std::max(FLongest[column], ShownLength(cell, FDecimals[column]));
    }
    ++FNextRow;
}

void TWorkbookWriter::TState::Commit() {
    CheckOpen();
    const TCLocale notation(FPath);
    for (lxw_col_t column = 0; column < FSheet.Columns.size(); ++column) {
        const std::size_t title = Utf8Length(FSheet.Columns[column].Title);
        // A column that shows nothing keeps the standard width.
        if (title == 0 && FLongest[column] == 0)
            continue;
        const int points = FSheet.FontPoints;
        const double width =
            std::min(MaxColumnWidth, std::max(ColumnWidth(title, points, true),
                                              ColumnWidth(FLongest[column], points, false)));
        if (const lxw_error error =
                Library().worksheet_set_column(FWorksheet, column, column, width, nullptr))
            Fail(FPath,
                 "column " + std::to_string(column + 1) + ": " + Library().lxw_strerror(error));
    }
    std::string fault;
    if (const lxw_error closed = Library().workbook_close(std::exchange(FBook, nullptr))) {
        fault = Library().lxw_strerror(closed);
    } else {
        std::error_code error;
        fs::rename(FTemporary, FPath, error);
        if (error)
            fault = error.message();
    }
    if (!fault.empty()) {
        Discard();
        Fail(FPath, fault);
    }
    FTemporary.clear();
}

TWorkbookWriter::TWorkbookWriter(const std::string& path, const TWorkbookSheet& sheet)
    : FState(std::make_unique<TState>(path, sheet)) {
    FState->Start();
}

TWorkbookWriter::~TWorkbookWriter() = default;

void TWorkbookWriter::AddRow(const std::vector<TWorkbookCell>& cells) {
    FState->AddRow(cells);
}

void TWorkbookWriter::Commit() {
    FState->Commit();
}
