#pragma once

#include "model/UVesk.h"

// Two animals that differ in each of the twelve inputs of a model file; the first differs from
// the load defaults in each of them too, so that a key that is not read shows.
inline TVeskDairy FirstAnimal() {
    TVeskDairy m;
    m.Tipo = 2;
    m.Consumo = 18.3f;
    m.Peso = 612.7f;
    m.Lactacion = 2;
    m.Leche = 31.4f;
    m.Grasa = 3.2f;
    m.Proteina = 3.05f;
    m.DIM = 145;
    m.Temperatura = 20.5f;
    m.GDP = 0.25f;
    m.ADG = 1e-4f;
    m.Freshenning = -5;
    return m;
}

inline TVeskDairy SecondAnimal() {
    TVeskDairy m;
    m.Tipo = 1;
    m.Consumo = 9.75f;
    m.Peso = 380;
    m.Lactacion = 0;
    m.Leche = 0;
    m.Grasa = 4.1f;
    m.Proteina = 3.4f;
    m.DIM = 0;
    m.Temperatura = -3;
    m.GDP = 0.8f;
    m.ADG = 0.7f;
    m.Freshenning = 120;
    return m;
}
