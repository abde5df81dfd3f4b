// Arbitrary bytes as a model file, read with either decimal separator. A file that loads holds
// only finite single-precision reals, and saving the model into it and loading it again gives
// the same inputs.

#include "fuzz_support.h"
#include "model_checks.h"

#include "exchange/ModelFile.h"
#include "model/FloatError.h"
#include "model/UVesk.h"

#include <initializer_list>

namespace {

bool SameInputs(const TVeskDairy& a, const TVeskDairy& b) {
    return a.Tipo == b.Tipo && a.Peso == b.Peso && a.Lactacion == b.Lactacion &&
           a.Leche == b.Leche && a.Grasa == b.Grasa && a.Proteina == b.Proteina && a.DIM == b.DIM &&
           a.Temperatura == b.Temperatura && a.GDP == b.GDP && a.ADG == b.ADG &&
           a.Freshenning == b.Freshenning && a.Consumo == b.Consumo;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzFolder() / "model.VM2";
    for (const char separator : {'.', ','}) {
        WriteFuzzFile(path, AsText(data, size));
        TVeskDairy model;
        try {
            LoadModel(path, model, separator);
        } catch (const EOverflow&) {
            continue;
        }
        Require(FiniteReals(model));
        SaveModel(path, model, separator);
        TVeskDairy again;
        LoadModel(path, again, separator);
        Require(SameInputs(again, model));
    }
    return 0;
}
