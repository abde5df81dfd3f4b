#pragma once

#include "model/UVesk.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

// One of the twelve input keys of a model file: its name, the model field it fills and the
// value it loads when it is missing or its text does not parse.
struct TModelKey {
    std::string_view Name;
    // Tipo keeps the low 8 bits of a whole number, the other whole keys 32 bits.
    std::variant<uint8_t TVeskDairy::*, int32_t TVeskDairy::*, float TVeskDairy::*> Field;
    float Default;
};

// The twelve keys in the order of a newly written file.
inline constexpr std::array<TModelKey, 12> ModelKeys{{
    {"Tipo", &TVeskDairy::Tipo, 0},
    {"Consumo", &TVeskDairy::Consumo, 10},
    {"Peso", &TVeskDairy::Peso, 450},
    {"Lactacion", &TVeskDairy::Lactacion, 1},
    {"Leche", &TVeskDairy::Leche, 15},
    {"Grasa", &TVeskDairy::Grasa, 3.5f},
    {"Proteina", &TVeskDairy::Proteina, 3.2f},
    {"DIM", &TVeskDairy::DIM, 60},
    {"Temperatura", &TVeskDairy::Temperatura, 20},
    {"GDP", &TVeskDairy::GDP, 0},
    {"ADG", &TVeskDairy::ADG, 0},
    {"Freshenning", &TVeskDairy::Freshenning, 0},
}};

// Whether the key holds a whole number rather than a real.
bool IsWholeKey(const TModelKey& key);

// Stores the key's load default into model.
void SetModelKeyDefault(const TModelKey& key, TVeskDairy& model);

// The key's value in model as a model file writes it: a whole number in decimal (Tipo unsigned),
// a real as FormatModelReal writes it.
std::string ModelKeyText(const TModelKey& key, const TVeskDairy& model, char decimalSeparator);

// Reads text as the key's value into model, as a model file reads it: a whole number in decimal
// or hexadecimal ("0x", "$"), a real with the decimal separator, a sign and an exponent. False,
// with nothing stored, when the text does not parse; a real beyond single precision raises
// EOverflow.
bool ReadModelKey(const TModelKey& key, std::string_view text, TVeskDairy& model,
                  char decimalSeparator);

// A real as model files write it: the single-precision value widened to double, 15 significant
// digits, fixed notation for decimal exponents -3 to 15 and scientific notation ("E", no plus
// sign) otherwise, trailing zeros dropped: 3.2f gives "3.20000004768372", 1e-4f gives
// "9.99999974737875E-5".
std::string FormatModelReal(float value, char decimalSeparator);

// Reads the twelve input keys of section "Data" of a model file into model, in the order Tipo,
// Peso, Lactacion, Leche, Grasa, Proteina, DIM, Temperatura, GDP, ADG, Freshenning, Consumo.
// A missing file, section or key, or a value that does not parse, gives the key's default. A
// real beyond single precision raises EOverflow when it is stored; the keys before it stay
// stored.
void LoadModel(const std::string& fileName, TVeskDairy& model, char decimalSeparator);

// Writes the twelve input keys into section "Data" of the file in the order Tipo, Consumo, Peso,
// Lactacion, Leche, Grasa, Proteina, DIM, Temperatura, GDP, ADG, Freshenning, keeping everything
// else in the file: each key replaces its line or is added at the end of the section, which is
// added when missing. The file is replaced once, whole, so that no crash leaves half of one
// animal and half of another; a failing save raises std::runtime_error "Unable to write to
// <path>" and leaves the file as it was, or no file.
void SaveModel(const std::string& fileName, const TVeskDairy& model, char decimalSeparator);
