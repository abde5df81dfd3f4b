#pragma once

#include <map>
#include <string>

// What a reader of .xlsx files (openpyxl) finds in a saved workbook's first worksheet.
struct TReadCell {
    std::string Type;  // "n" number, "s" text, "None" empty
    std::string Value; // Python's repr of the value
    std::string NumberFormat;
    bool Bold = false;
    std::string Size;
    std::string Fill; // "FFC0C0C0"; "None" when not filled
};

struct TReadSheet {
    std::string Name;
    std::map<std::string, TReadCell> Cells;          // by cell name, "A1"
    std::map<std::string, std::string> ColumnWidths; // by column letters, explicit widths only
};

// Reads the file with /usr/bin/python3 and openpyxl; fails the current test when it cannot.
TReadSheet ReadXlsx(const std::string& path);
