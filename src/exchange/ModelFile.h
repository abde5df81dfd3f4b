#pragma once

#include <string>

class TVeskDairy;

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
