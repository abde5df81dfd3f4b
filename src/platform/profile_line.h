#pragma once

#include <string_view>
#include <vector>

// One line of an initialisation file: its text and the ending that closed it ("\r\n", "\n",
// "\r", or empty for a last line without one).
struct TProfileLine {
    std::string_view Text;
    std::string_view Ending;
};

// What a line of an initialisation file means to a reader.
struct TProfileEntry {
    enum TKind { Other, Header, Pair };
    TKind Kind = Other;
    std::string_view Name;  // section name of a header, key name of a pair; trimmed
    std::string_view Value; // value of a pair, trimmed, quotes kept
};

// Splits text into lines at LF, CRLF and lone CR; a UTF-8 byte order mark at the start belongs to
// no line. A text ending in a line ending has no empty last line.
std::vector<TProfileLine> SplitProfileLines(std::string_view text);

// A header is "[name]" (text after the first "]" ignored); a pair is "key=value" with a key that
// is not empty; a line whose first non-blank character is ";" is a comment, which is Other.
TProfileEntry ClassifyProfileLine(std::string_view line);

// Section and key names compare without regard to ASCII case.
bool SameProfileName(std::string_view a, std::string_view b);
