#pragma once

#include "model/UVesk.h"

#include <cmath>
#include <initializer_list>

// Whether every real input of the model is finite, as reading a file must leave it.
inline bool FiniteReals(const TVeskDairy& m) {
    for (const float value :
         {m.Peso, m.Leche, m.Grasa, m.Proteina, m.Temperatura, m.GDP, m.ADG, m.Consumo})
        if (!std::isfinite(value))
            return false;
    return true;
}
