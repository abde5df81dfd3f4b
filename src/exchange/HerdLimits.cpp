#include "exchange/HerdLimits.h"

#include "model/InputRoundTrip.h"
#include "model/OfferedBand.h"
#include "model/ReportText.h"
#include "model/UVesk.h"
#include "platform/error_text.h"

#include <exception>

namespace {

constexpr std::string_view Aviso = "Consumo ofrecido fuera de rango";

} // namespace

void CalculateHerdAnimal(THerdAnimal& animal, bool raw, char decimalSeparator) {
    if (!animal.Error.empty())
        return;
    TVeskDairy& model = animal.Model;
    try {
        if (!raw)
            RoundTripInputs(model, decimalSeparator);
        TVeskDairy estimate = model;
        estimate.EstimateIntake();
        model.Calculate();
        animal.OutsideBand = estimate.ConsumoEstimado != 0 &&
                             OfferedOutsideBand(estimate.ConsumoEstimado, model.Consumo);
        animal.Estado = StateName(model.Tipo);
    } catch (const std::exception& failure) {
        animal.Error = ErrorReportText(failure.what());
    }
}

std::array<std::string, HerdColumns> HerdTitles(const TVeskDairy& named) {
    std::array<std::string, HerdColumns> titles;
    titles[0] = "Nombre";
    titles[1] = "Estado";
    titles[2] = "Consumo";
    titles[3] = "Consumo estimado";
    std::size_t column = 4;
    for (const TRestrictionSlot& slot : RestrictionOrder) {
        const std::string& name = (named.*slot.Record).Nombre;
        titles[column++] = name + " Mínimo";
        titles[column++] = name + " Máximo";
    }
    titles[column++] = "Aviso";
    titles[column] = "Error";
    return titles;
}

THerdCell::TKind HerdColumnKind(std::size_t column) {
    using TKind = THerdCell::TKind;
    if (column == 2 || column == 3)
        return TKind::Intake;
    return column >= 4 && column < 4 + 2 * RestrictionOrder.size() ? TKind::Limit : TKind::Text;
}

std::array<THerdCell, HerdColumns> HerdCells(const THerdAnimal& animal) {
    using TKind = THerdCell::TKind;
    std::array<THerdCell, HerdColumns> cells;
    const auto text = [](std::string_view value) {
        return value.empty() ? THerdCell{} : THerdCell{TKind::Text, value};
    };
    cells[0] = text(animal.Nombre);
    cells[HerdColumns - 1] = text(animal.Error);
    if (!animal.Error.empty())
        return cells;
    const TVeskDairy& model = animal.Model;
    cells[1] = text(animal.Estado);
    cells[2] = {TKind::Intake, {}, model.Consumo};
    cells[3] = {TKind::Intake, {}, model.ConsumoEstimado};
    std::size_t column = 4;
    for (const TRestrictionSlot& slot : RestrictionOrder) {
        const TRestriccion& record = model.*slot.Record;
        cells[column++] = {TKind::Limit, {}, 0, record.Min.Count};
        if (slot.HasMax)
            cells[column] = {TKind::Limit, {}, 0, record.Max.Count};
        ++column;
    }
    if (animal.OutsideBand)
        cells[column] = text(Aviso);
    return cells;
}
