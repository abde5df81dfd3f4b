#pragma once

#include "Fixed.h"

#include <cstdint>
#include <string>

class TProfile;

// One nutrient restriction: its code, name and unit from the names file, the daily amount and
// the concentration limits in the ration's dry matter.
struct TRestriccion {
    int32_t Codigo = 0;
    std::string Nombre; // UTF-8, at most 25 characters
    std::string Unidad; // UTF-8, at most 10 characters
    TFixed Requerido;
    TFixed Min;
    TFixed Max;
    bool Enviar = false;
};

// The requirements model of one animal. A plain object: callers read and write its fields.
class TVeskDairy {
public:
    // Every numeric field 0, every text empty, every flag false; no names file is read.
    TVeskDairy() = default;
    // Creates the model and reads the names file that belongs to programFile (see LoadNames).
    explicit TVeskDairy(const std::string& programFile);

    TRestriccion Energia;
    TRestriccion ProteinaCruda;
    TRestriccion FDN;
    TRestriccion Fosforo;
    TRestriccion Magnesio;
    TRestriccion Potasio;
    TRestriccion Calcio;
    float Grasa = 0;
    float Leche = 0;
    float Temperatura = 0;
    float Peso = 0;
    float GDP = 0;
    float ADG = 0;
    float Proteina = 0;
    int32_t Freshenning = 0;
    int32_t DIM = 0;
    int32_t Lactacion = 0;
    uint8_t Tipo = 0;
    float Consumo = 0;
    float ConsumoEstimado = 0;

    // Recomputes ConsumoEstimado from the inputs.
    void EstimateIntake();
    // Recomputes ConsumoEstimado, the daily amounts and the concentration limits.
    void Calculate();
    // Reads codes, names and units of the seven records from the names file of programFile.
    void LoadNames(const std::string& programFile);

private:
    void ReadRestriccion(int section, TRestriccion& record, const TProfile& names);
    void CalcLactating();
    void CalcDry();
    void CalcHeifer();
    void CalcLimits();
};

// The names file of a program: its path with the extension replaced by ".ini".
std::string NamesFilePath(const std::string& programFile);
