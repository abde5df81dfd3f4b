#pragma once

#include <map>
#include <string>
#include <vector>

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

// What a test expects of a data cell, regular (not bold), with Python's repr of its value.
struct TExpectedCell {
    const char* Cell;
    const char* Type;
    const char* Value;
    const char* NumberFormat;
};

// Checks each cell; one missing from the sheet passes for an empty one ("None").
void ExpectCells(const TReadSheet& sheet, const std::vector<TExpectedCell>& cells);

// Checks row 1: the titles from column A on, texts bold on silver in a font of the size given.
void ExpectTitles(const TReadSheet& sheet, const std::vector<std::string>& titles,
                  const std::string& size);
