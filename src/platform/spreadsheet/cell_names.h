#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int SheetMaxRows = 1048576;
constexpr int SheetMaxColumns = 16384;

// One cell, row and column counted from 1.
struct TCellRef {
    int Row = 1;
    int Column = 1;
    auto operator<=>(const TCellRef&) const = default;
};

// The rectangle between two cells, First the top-left and Last the bottom-right one.
struct TCellArea {
    TCellRef First;
    TCellRef Last;
    int Rows() const { return Last.Row - First.Row + 1; }
    int Columns() const { return Last.Column - First.Column + 1; }
    std::int64_t Cells() const { return std::int64_t(Rows()) * Columns(); }
    bool Contains(TCellRef cell) const;
};

// A cell named in A1 form: column letters (either case) and row number, each optionally after
// "$", within the sheet's 16384 columns and 1048576 rows. Empty for any other text.
std::optional<TCellRef> ParseCellName(std::string_view name);
// The area spanned by two cells in any corner order.
TCellArea AreaBetween(TCellRef a, TCellRef b);

// "A" for column 1, "Z" for 26, "AA" for 27.
std::string ColumnName(int column);
// "B7" for row 7, column 2.
std::string CellName(TCellRef cell);
