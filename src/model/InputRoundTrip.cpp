#include "model/InputRoundTrip.h"

#include "model/Extended.h"
#include "model/UVesk.h"

namespace {

constexpr int TipoItems = 3;
constexpr int LactItems = 3;

float ReadSingle(const std::string& text, const TNumericSpec& limits, char decimalSeparator) {
    return ToSingle(ReadNumericValue(text, limits, decimalSeparator));
}

} // namespace

TInputTexts ShowInputTexts(const TVeskDairy& model, char decimalSeparator) {
    using namespace InputSpecs;
    const auto show = [decimalSeparator](long double value, const TNumericSpec& limits) {
        return WriteNumericValue(value, limits, decimalSeparator);
    };
    TInputTexts inputs;
    inputs.rgTipo = ClampRadioIndex(model.Tipo, TipoItems);
    inputs.rgLact = ClampRadioIndex(model.Lactacion, LactItems);
    inputs.ilLeche = show(model.Leche, ilLeche);
    inputs.ilGrasa = show(model.Grasa, ilGrasa);
    inputs.ilProt = show(model.Proteina, ilProt);
    inputs.ilSem = show(model.DIM, ilSem);
    inputs.ilTemp = show(model.Temperatura, ilTemp);
    inputs.ilGDP = show(model.GDP, ilGDP);
    inputs.ilADG = show(model.ADG, ilADG);
    inputs.ilCons = show(model.Consumo, ilCons);
    inputs.ilPeso = show(model.Peso, ilPeso);
    inputs.sePF = show(model.Freshenning, sePF);
    return inputs;
}

void ReadInputTexts(const TInputTexts& inputs, TVeskDairy& model, char decimalSeparator) {
    using namespace InputSpecs;
    // No selection (-1) keeps its low byte: 255, a state that selects no formulas.
    model.Tipo = static_cast<uint8_t>(inputs.rgTipo);
    model.Peso = ReadSingle(inputs.ilPeso, ilPeso, decimalSeparator);
    model.Lactacion = inputs.rgLact;
    model.Consumo = ReadSingle(inputs.ilCons, ilCons, decimalSeparator);
    if (model.Tipo == tpProduccion) {
        model.Leche = ReadSingle(inputs.ilLeche, ilLeche, decimalSeparator);
        model.Grasa = ReadSingle(inputs.ilGrasa, ilGrasa, decimalSeparator);
        model.Proteina = ReadSingle(inputs.ilProt, ilProt, decimalSeparator);
        model.DIM = ReadNumericInteger(inputs.ilSem, ilSem, decimalSeparator);
        model.Temperatura = ReadSingle(inputs.ilTemp, ilTemp, decimalSeparator);
        model.GDP = ReadSingle(inputs.ilGDP, ilGDP, decimalSeparator);
    } else {
        model.GDP = ReadSingle(inputs.ilGDP, ilGDP, decimalSeparator);
        model.ADG = ReadSingle(inputs.ilADG, ilADG, decimalSeparator);
        model.Freshenning = ReadNumericInteger(inputs.sePF, sePF, decimalSeparator);
    }
}

void RoundTripInputs(TVeskDairy& model, char decimalSeparator) {
    ReadInputTexts(ShowInputTexts(model, decimalSeparator), model, decimalSeparator);
}
