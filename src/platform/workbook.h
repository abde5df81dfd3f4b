#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

// One table written as the only sheet of an .xlsx file: a row of titles, bold on silver, then
// rows of typed cells, each column with its number format and fitted to the texts it shows.

// A failure to write the workbook, with its English message.
class EWorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One cell: empty, an integer, a real or a text (UTF-8).
using TWorkbookCell = std::variant<std::monostate, std::int64_t, double, std::string>;

struct TWorkbookColumn {
    std::string Title;
    // The file's format code of the column's data cells ("0.0000", "@"); empty: the general one.
    std::string NumberFormat;
};

struct TWorkbookSheet {
    std::string Name;
    std::vector<TWorkbookColumn> Columns;
    // The size of every cell's font in points; 0 leaves the spreadsheet's standard size.
    int FontPoints = 0;
};

// Writes a workbook row by row, whole or not at all: into a temporary file in the target's
// folder, renamed over the target by Commit. A writer destroyed before Commit removes its
// temporary file and leaves the target as it was. Numbers are written under the "C" numeric
// locale, whatever the process's locale. Every failure raises EWorkbookError.
class TWorkbookWriter {
public:
    // Starts the file and writes the titles in row 1.
    TWorkbookWriter(const std::string& path, const TWorkbookSheet& sheet);
    ~TWorkbookWriter();
    TWorkbookWriter(const TWorkbookWriter&) = delete;
    TWorkbookWriter& operator=(const TWorkbookWriter&) = delete;

    // The next row, from row 2 on; at most one cell per column, missing cells stay empty.
    void AddRow(const std::vector<TWorkbookCell>& cells);
    // Fits the columns, closes the file and renames it over the target.
    void Commit();

private:
    struct TState;
    std::unique_ptr<TState> FState;
};
