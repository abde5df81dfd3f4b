#include "model/UVesk.h"

#include "model/TextEncoding.h"
#include "platform/number_text.h"
#include "platform/profile.h"
#include "platform/utf8_text.h"

#include <cstdint>
#include <optional>
#include <string>

TVeskDairy::TVeskDairy(const std::string& programFile) {
    LoadNames(programFile);
}

void TVeskDairy::LoadNames(const std::string& programFile) {
    const TProfile names = TProfile::Load(NamesFilePath(programFile));
    for (const TRestrictionSlot& slot : RestrictionOrder)
        ReadRestriccion(slot.Section, this->*slot.Record, names);
}

void TVeskDairy::ReadRestriccion(int section, TRestriccion& record, const TProfile& names) {
    std::string sectionName = "N";
    sectionName += std::to_string(section);
    const std::optional<std::string> codigo = names.Read(sectionName, "Codigo");
    int32_t value = 0;
    record.Codigo = codigo && ParseInteger(*codigo, value) ? value : 0;
    record.Nombre =
        Utf8Left(TextToUtf8(names.Read(sectionName, "Nombre").value_or("SinNombre")), 25);
    record.Unidad =
        Utf8Left(TextToUtf8(names.Read(sectionName, "Unidad").value_or("SinUnidad")), 10);
    record.Enviar = true;
}

std::string NamesFilePath(const std::string& programFile) {
    // The extension starts at the last "." of the file name itself, not of a directory.
    const std::size_t separator = programFile.rfind('/');
    const std::size_t dot = programFile.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (separator == std::string::npos || dot > separator);
    return (hasExtension ? programFile.substr(0, dot) : programFile) + ".ini";
}
