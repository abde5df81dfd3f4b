#pragma once

#include "exchange/Csv.h"
#include "model/UVesk.h"

#include <cstdint>
#include <fstream>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A herd table that cannot be read as one: empty, unreadable, or a header that is no herd's.
// The message is Spanish and names the table.
class EHerdError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One animal of a herd table, as read and, once calculated, with its results.
struct THerdAnimal {
    // The line on which its row starts, counted from 1.
    long Line = 0;
    // The label of the column "Nombre", as given.
    std::string Nombre;
    // The twelve inputs; after the calculation the estimate and the restrictions too.
    TVeskDairy Model;
    // The report's name of the state, once calculated.
    std::string Estado;
    // The offered intake lies outside the band that colours the window's offered intake red.
    bool OutsideBand = false;
    // Why the row fails, with its full stop; empty while it does not.
    std::string Error;
};

// The herd table file at path, opened for reading. A folder, or a file that cannot be opened,
// raises EHerdError.
std::ifstream OpenHerdFile(const std::string& path);

// The separator a herd table gets when nothing says otherwise: ";" where the decimal separator
// is the comma, as a spreadsheet there writes, otherwise ",".
char DefaultHerdSeparator(char decimalSeparator);

// Reads a herd table as it streams in: a header naming the columns (the twelve keys of a model
// file and "Nombre", in any order and letter case, blanks around them trimmed), then one animal
// per non-empty line. Other columns are ignored. A missing column or an empty cell takes the
// key's load default; a cell that does not parse fails its row, and so does a row with more
// cells than the header, an unterminated quote or a real beyond single precision.
class THerdReader {
public:
    // Reads the header. name is how messages call the table. Raises EHerdError when the table is
    // empty, unreadable, or its header holds none of the twelve keys or one of them twice.
    THerdReader(std::istream& in, std::string name, char decimalSeparator);

    // The first of ";", tab and "," that the header holds outside quotes.
    char Separator() const { return FSeparator; }
    // The header's other columns, as written, in their order.
    const std::vector<std::string>& IgnoredColumns() const { return FIgnored; }

    // Reads the next animal into animal, every field of which it sets; false at the end. Raises
    // EHerdError when the table cannot be read further.
    bool Next(THerdAnimal& animal);

    // The two steps of Next: the next non-empty row as it stands in the table, then its cells
    // read into animal. Rows can be read on several threads at once.
    bool NextRow(TCsvRecord& row);
    void ReadRow(const TCsvRecord& row, THerdAnimal& animal) const;

    // The bytes of the table read so far.
    std::uint64_t Position() const { return FCsv.Position(); }

private:
    // What a column holds: an index into ModelKeys, or one of these.
    static constexpr int NombreColumn = -1;
    static constexpr int IgnoredColumn = -2;

    bool NextRecord(TCsvRecord& record);
    void ReadHeader();
    // Reads the row's cells into model over the load defaults; the first failure, or nothing.
    std::string ReadCells(const TCsvRecord& row, TVeskDairy& model) const;
    // The failure of the row's cell at column (counted from 0).
    std::string CellError(const TCsvRecord& row, std::size_t column, std::string_view what) const;

    std::string FName;
    char FDecimalSeparator;
    TCsvReader FCsv;
    // The row that Next reads.
    TCsvRecord FRow;
    char FSeparator = ',';
    std::vector<int> FColumns;
    std::size_t FNombre = std::string::npos;
    std::vector<std::string> FTitles;
    std::vector<std::string> FIgnored;
};

// A herd table to start from: a header line with the twelve keys and one row holding the default
// animal of the window's start-up.
std::string HerdTemplate(char decimalSeparator);
