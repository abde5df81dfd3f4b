#pragma once

#include "Fixed.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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

// The productive states, as Tipo holds them and the state selector lists them.
enum : uint8_t { tpProduccion = 0, tpSeca = 1, tpVaquilla = 2 };

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

// One of the seven restrictions as the report, the restrictions table, the names file and the
// herd table list them.
struct TRestrictionSlot {
    // The names file's section "N0" to "N6" that names the record.
    int Section;
    TRestriccion TVeskDairy::*Record;
    // Fibre and potassium have only a minimum: their maximum is never shown, sent or exported.
    bool HasMax;
    // The report's label of the row, its unit included.
    std::string_view ReportLabel;
};

// The seven restrictions in the report's order, which is not the model's declaration order.
inline constexpr std::array<TRestrictionSlot, 7> RestrictionOrder{{
    {0, &TVeskDairy::ProteinaCruda, true, "Proteína cruda     % "},
    {1, &TVeskDairy::Energia, true, "Energía Neta Lact  MCal/Kg "},
    {2, &TVeskDairy::FDN, false, "Fibra Det. Neutra  % "},
    {3, &TVeskDairy::Calcio, true, "Calcio             % "},
    {4, &TVeskDairy::Fosforo, true, "Fósforo            % "},
    {5, &TVeskDairy::Magnesio, true, "Magnesio           % "},
    {6, &TVeskDairy::Potasio, false, "Potasio            % "},
}};
