#pragma once

#include "NumericRules.h"

#include <string>

class TVeskDairy;

// The numeric inputs of the animal page with their limits, steps and decimals.
namespace InputSpecs {
inline constexpr TNumericSpec ilPeso{TValueType::vtInteger, 100, 700, 10, 0};
inline constexpr TNumericSpec ilCons{TValueType::vtFloat, 0, 45, 0.5L, 2};
inline constexpr TNumericSpec ilLeche{TValueType::vtFloat, 0, 45, 0.5L, 2};
inline constexpr TNumericSpec ilGrasa{TValueType::vtFloat, 0, 5, 0.5L, 2};
inline constexpr TNumericSpec ilProt{TValueType::vtFloat, 0, 20, 0.5L, 2};
inline constexpr TNumericSpec ilSem{TValueType::vtInteger, 1, 52, 1, 0};
inline constexpr TNumericSpec ilGDP{TValueType::vtFloat, 0, 100, 0.05L, 2};
inline constexpr TNumericSpec ilADG{TValueType::vtFloat, 0, 10, 0.05L, 2};
inline constexpr TNumericSpec ilTemp{TValueType::vtFloat, -40, 40, 1, 2};
inline constexpr TNumericSpec sePF{TValueType::vtInteger, 0, 300, 1, 0};
} // namespace InputSpecs

// What the inputs of the animal page hold: the two radio indexes and the ten input texts.
struct TInputTexts {
    int rgTipo = -1;
    int rgLact = 0;
    std::string ilPeso, ilCons, ilLeche, ilGrasa, ilProt, ilSem, ilGDP, ilADG, ilTemp, sePF;
};

// The inputs after the model was written into them (each value clamped and formatted).
TInputTexts ShowInputTexts(const TVeskDairy& model, char decimalSeparator);

// Copies the inputs into the model in the order of the window's reading, only the fields read
// for the state just stored. An EConvertError stops the copy; fields copied before it keep their
// new values.
void ReadInputTexts(const TInputTexts& inputs, TVeskDairy& model, char decimalSeparator);

// The model as it comes back after passing through the window's inputs.
void RoundTripInputs(TVeskDairy& model, char decimalSeparator);
