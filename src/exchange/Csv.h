#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// One record of a CSV text: its cells with their quotes removed and doubled quotes made single.
struct TCsvRecord {
    // The line on which the record starts, counted from 1.
    long Line = 0;
    // Only the first Count cells belong to the record; the others keep their storage for the next.
    std::vector<std::string> Cells;
    std::size_t Count = 0;
    // The input ended inside the quotes of the last cell.
    bool Unterminated = false;
    // The first cell with text between its closing quote and the next separator or line end;
    // Count when none has. The text is kept in the cell after the quoted part.
    std::size_t StrayText = 0;
};

// Reads CSV one record at a time, as RFC 4180 writes it: cells quoted with separators, doubled
// quotes and line breaks inside; lines ending in LF or CRLF. A UTF-8 byte order mark at the start
// is skipped. A quote inside an unquoted cell is an ordinary character.
class TCsvReader {
public:
    explicit TCsvReader(std::istream& in);

    // The first of ";", tab and "," that the next record holds outside quotes, or fallback when
    // it holds none. Reads ahead without consuming anything.
    char DetectSeparator(char fallback);
    void SetSeparator(char separator) { FSeparator = separator; }

    // Reads the next record; false at the end of the input. A failure to read raises
    // std::ios_base::failure.
    bool Next(TCsvRecord& record);

    // The bytes consumed so far, the byte order mark included.
    std::uint64_t Position() const { return FConsumed + FPos; }

private:
    // Moves the unread bytes to the front and reads more after them; false when no new byte came
    // (a byte order mark skipped is none).
    bool Fill();
    std::string& NewCell(TCsvRecord& record);

    std::istream& FIn;
    std::string FBuffer;
    std::size_t FPos = 0;
    std::size_t FEnd = 0;
    // Bytes before FBuffer's start.
    std::uint64_t FConsumed = 0;
    char FSeparator = ',';
    long FLine = 1;
    bool FStarted = false;
};

// Appends text as one CSV cell: quoted, with its quotes doubled, when it holds the separator, a
// quote or a line break.
void AppendCsvCell(std::string& out, std::string_view text, char separator);
