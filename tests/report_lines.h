#pragma once

#include <string>
#include <vector>

// The expected report of an animal: the fixed head (lines 1 to 9), the animal's data lines, the
// fixed table head (lines 21 to 26) and the restriction lines.
inline std::vector<std::string> ExpectedReport(const std::vector<std::string>& data,
                                               const std::vector<std::string>& limits) {
    std::vector<std::string> lines = {
        "Rumiva v2.0 - Complemento VESK -",
        "Estimación de consumo y requerimientos para ganado lechero",
        "====================================",
        "",
        "Resultado de la estimación de los requerimientos",
        "nutricionales de una vaca.",
        "Basado en estimaciones de la Universidad de Vesk",
        "Datos:",
        "======",
    };
    lines.insert(lines.end(), data.begin(), data.end());
    lines.insert(lines.end(),
                 {"", "", "Lista de restricciones de nutrientes para Tolvan para Vacas:",
                  "------------------------------------------------",
                  "Nutriente          Unidad      Mínimo     Máximo",
                  "------------------------------------------------"});
    lines.insert(lines.end(), limits.begin(), limits.end());
    return lines;
}

// The data lines of the default animal with its days in milk as printed.
inline std::vector<std::string> DefaultAnimalData(const std::string& days) {
    return {"Peso de la vaca:            450.0 Kg.",
            "Consumo diario de alimento: 10.0 Kg. Materia seca",
            "Etapa productiva:           Vaca en producción",
            "Número de lactación:        Segunda lactación",
            "Producción diaria de leche: 10.00 Kg.",
            "Porcentaje de grasa:        3.50 %",
            "Porcentaje de proteina:     3.20 %",
            "Días de lactación:          " + days + " día(s)",
            "Temperatura ambiente:       20.00 °C"};
}
