// Arbitrary bytes as the names file. Every name and unit read is valid UTF-8 of at most 25 and
// 10 characters.

#include "fuzz_support.h"

#include "model/TextEncoding.h"
#include "model/UVesk.h"
#include "platform/utf8_text.h"

#include <initializer_list>

namespace {

// Valid UTF-8 is the one text that the conversion keeps as it is.
bool ValidText(const std::string& text, size_t maxChars) {
    return TextToUtf8(text) == text && Utf8Length(text) <= maxChars;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFuzzFile(FuzzFolder() / "vesk.ini", AsText(data, size));
    TVeskDairy model;
    model.LoadNames(FuzzFolder() / "vesk");
    for (const TRestriccion* record :
         {&model.ProteinaCruda, &model.Energia, &model.FDN, &model.Calcio, &model.Fosforo,
          &model.Magnesio, &model.Potasio}) {
        Require(ValidText(record->Nombre, 25));
        Require(ValidText(record->Unidad, 10));
    }
    return 0;
}
