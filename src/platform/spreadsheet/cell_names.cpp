#include "platform/spreadsheet/cell_names.h"

#include <algorithm>

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool TCellArea::Contains(TCellRef cell) const {
    return cell.Row >= First.Row && cell.Row <= Last.Row && cell.Column >= First.Column &&
           cell.Column <= Last.Column;
}

std::optional<TCellRef> ParseCellName(std::string_view name) {
    size_t i = 0;
    if (i < name.size() && name[i] == '$')
        ++i;
    long column = 0;
    const size_t lettersStart = i;
    while (i < name.size() && IsLetter(name[i]) && column <= SheetMaxColumns) {
        const char upper = char(name[i] & ~0x20);
        column = column * 26 + (upper - 'A' + 1);
        ++i;
    }
    if (i == lettersStart || column > SheetMaxColumns)
        return std::nullopt;
    if (i < name.size() && name[i] == '$')
        ++i;
    long row = 0;
    const size_t digitsStart = i;
    while (i < name.size() && IsDigit(name[i]) && row <= SheetMaxRows) {
        row = row * 10 + (name[i] - '0');
        ++i;
    }
    if (i == digitsStart || i != name.size() || row < 1 || row > SheetMaxRows)
        return std::nullopt;
    return TCellRef{int(row), int(column)};
}

TCellArea AreaBetween(TCellRef a, TCellRef b) {
    return {{std::min(a.Row, b.Row), std::min(a.Column, b.Column)},
            {std::max(a.Row, b.Row), std::max(a.Column, b.Column)}};
}

std::string ColumnName(int column) {
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), char('A' + (column - 1) % 26));
    return name;
}

std::string CellName(TCellRef cell) {
    return ColumnName(cell.Column) + std::to_string(cell.Row);
}
