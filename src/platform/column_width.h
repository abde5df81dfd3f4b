#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/workbook.h"

// The decimals that a number format code shows: "0" none, "0." followed by n zeros n. Empty for
// any other code, whose numbers show in the general format.
std::optional<int> FixedDecimals(std::string_view numberFormat);

// The number of characters a cell shows: a text itself, a number with the decimals given or,
// without them, in the general format (at most 11 characters), an empty cell none.
std::size_t ShownLength(const TWorkbookCell& cell, std::optional<int> decimals);

// The width, in characters of the standard 11-point font, of a column whose longest text has
// `characters` characters in a font of `points` (0: the standard size), bold or regular.
double ColumnWidth(std::size_t characters, int points, bool bold);
