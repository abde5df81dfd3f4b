#include "model/ReportText.h"

#include "model/UVesk.h"
#include "platform/number_text.h"
#include "platform/utf8_text.h"

#include <string_view>

namespace {

constexpr std::string_view Rule = "------------------------------------------------";

std::string RightAligned(std::string text, size_t width) {
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

std::string LactationName(int32_t lactacion) {
    switch (lactacion) {
    case 0:
        return "Primera lactación";
    case 1:
        return "Segunda lactación";
    case 2:
        return "De 3 a más";
    default:
        // Only a model whose lactation selector was left empty gets here.
        return "Sin indicar";
    }
}

class TReportWriter {
public:
    explicit TReportWriter(char decimalSeparator) : FSeparator(decimalSeparator) {}

    void Line(std::string text) { FLines.push_back(std::move(text)); }

    std::string Real(float value, int decimals) const {
        return FormatFixed(value, decimals, FSeparator);
    }

    // A restriction's label, then its minimum ending in column 38 and, when it has one, its
    // maximum ending in column 48; a wider amount pushes the rest of the line to the right.
    void Amounts(const TRestrictionSlot& slot, const TRestriccion& record) {
        std::string line(slot.ReportLabel);
        const size_t minimumWidth = 38 - Utf8Length(slot.ReportLabel);
        line += RightAligned(FormatTenThousandths(record.Min.Count, FSeparator), minimumWidth);
        if (slot.HasMax) {
            line += "  " + RightAligned(FormatTenThousandths(record.Max.Count, FSeparator), 8);
        }
        Line(std::move(line));
    }

    std::vector<std::string> Take() { return std::move(FLines); }

private:
    char FSeparator;
    std::vector<std::string> FLines;
};

} // namespace

std::string StateName(uint8_t tipo) {
    switch (tipo) {
    case tpProduccion:
        return "Vaca en producción";
    case tpSeca:
        return "Vaca en seca";
    default:
        return "Vaquilla/Vaquillona";
    }
}

std::vector<std::string> ReportLines(const TVeskDairy& model, char decimalSeparator) {
    TReportWriter report(decimalSeparator);
    report.Line("Rumiva v2.0 - Complemento VESK -");
    report.Line("Estimación de consumo y requerimientos para ganado lechero");
    report.Line("====================================");
    report.Line("");
    report.Line("Resultado de la estimación de los requerimientos");
    report.Line("nutricionales de una vaca.");
    report.Line("Basado en estimaciones de la Universidad de Vesk");
    report.Line("Datos:");
    report.Line("======");
    report.Line("Peso de la vaca:            " + report.Real(model.Peso, 1) + " Kg.");
    report.Line("Consumo diario de alimento: " + report.Real(model.Consumo, 1) +
                " Kg. Materia seca");
    report.Line("Etapa productiva:           " + StateName(model.Tipo));
    if (model.Tipo != tpVaquilla) {
        report.Line("Número de lactación:        " + LactationName(model.Lactacion));
    }
    if (model.Tipo == tpProduccion) {
        report.Line("Producción diaria de leche: " + report.Real(model.Leche, 2) + " Kg.");
        report.Line("Porcentaje de grasa:        " + report.Real(model.Grasa, 2) + " %");
        report.Line("Porcentaje de proteina:     " + report.Real(model.Proteina, 2) + " %");
        report.Line("Días de lactación:          " + RightAligned(std::to_string(model.DIM), 2) +
                    " día(s)");
        report.Line("Temperatura ambiente:       " + report.Real(model.Temperatura, 2) + " °C");
    }
    if (model.Tipo != tpProduccion) {
        report.Line("Ganancia diaria de peso:    " + report.Real(model.GDP, 2) + " g.");
    }
    if (model.Tipo == tpVaquilla) {
        report.Line("ADG:                        " + report.Real(model.ADG, 2) + " g.");
    }
    report.Line("");
    report.Line("");
    report.Line("Lista de restricciones de nutrientes para Tolvan para Vacas:");
    report.Line(std::string(Rule));
    report.Line("Nutriente          Unidad      Mínimo     Máximo");
    report.Line(std::string(Rule));
    for (const TRestrictionSlot& slot : RestrictionOrder)
        report.Amounts(slot, model.*slot.Record);
    return report.Take();
}
