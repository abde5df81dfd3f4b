#pragma once

#include "exchange/HerdTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TVeskDairy;

// The limits table: one row of twenty columns per animal of a herd table.
inline constexpr std::size_t HerdColumns = 20;

// Calculates an animal read from a herd table as vesk-calc calculates a model file: first
// through the window's inputs unless raw, then Calculate; the warning comes from EstimateIntake.
// A failure of the model becomes the animal's Error, with its full stop. A row that failed to
// read stays as it is.
void CalculateHerdAnimal(THerdAnimal& animal, bool raw, char decimalSeparator);

// The twenty titles, with the restrictions' names from named.
std::array<std::string, HerdColumns> HerdTitles(const TVeskDairy& named);

// One cell of the limits table: empty, a text, an intake of two decimals or a limit of four.
struct THerdCell {
    enum class TKind { Empty, Text, Intake, Limit };
    TKind Kind = TKind::Empty;
    std::string_view Text;
    float Intake = 0;
    // A limit's count of ten-thousandths.
    std::int64_t Count = 0;
};

// What the column holds in a calculated row: texts, intakes or limits.
THerdCell::TKind HerdColumnKind(std::size_t column);

// The cells of an animal's row; texts point into the animal. A failing row holds its name and
// its error only.
std::array<THerdCell, HerdColumns> HerdCells(const THerdAnimal& animal);
