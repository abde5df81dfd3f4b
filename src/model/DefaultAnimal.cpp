#include "model/DefaultAnimal.h"

#include "model/UVesk.h"

void SetDefaultAnimal(TVeskDairy& model) {
    model.Tipo = tpProduccion;
    model.Peso = 450.0f;
    model.Lactacion = 1;
    model.Leche = 10.0f;
    model.Grasa = 3.5f;
    model.Proteina = 3.2f;
    model.Temperatura = 20.0f;
    model.GDP = 0.0f;
    model.ADG = 0.0f;
    model.DIM = 60;
    model.Consumo = 10.0f;
}
