#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// An initialisation file: a list of lines with "[section]" headers and "key=value" entries.
// Names and values are trimmed around the first "="; a line starting with ";" is a comment;
// section and key names compare without regard to ASCII case; the first matching section and
// the first matching key win.
class TProfile {
public:
    // Reads the file; a missing or unreadable file reads as an empty one.
    static TProfile Load(const std::string& path);
    // Parses text already in memory (the bytes of a file).
    static TProfile Parse(std::string_view text);

    // The value of key in section: blanks around it removed and one pair of enclosing single or
    // double quotes removed; nothing when the section or the key is missing. Bytes are returned
    // as stored in the file.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

private:
    std::vector<std::string> FLines;
};

// One key of a section and the value to write to it.
struct TProfileWrite {
    std::string_view Key;
    std::string Value;
};

// Writes each key=value into section of the file at path, in the given order, as the platform's
// profile writer does one key at a time: replaces the first matching key's line, or appends the
// key at the end of its section, or appends the section at the end of the file; every other line
// and the file's line endings stay as they were (CRLF in a new file), and an existing file keeps
// its mode. The file is read once and replaced once, atomically (a hidden temporary file in the
// same folder, flushed, renamed), so a failed write leaves the old file whole, or no file. Returns
// false on failure; nothing is written when any entry would not read back as written.
bool WriteProfileStrings(const std::string& path, std::string_view section,
                         std::span<const TProfileWrite> writes);
