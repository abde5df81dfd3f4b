#include "ui/TfrmVeskIn.h"

#include "model/InputRoundTrip.h"
#include "model/OfferedBand.h"
#include "platform/number_text.h"
#include "platform/regional.h"
#include "ui/TNumericEdit.h"
#include "ui/TRadioGroup.h"
#include "ui/TTabSheet.h"
#include "ui/TVeskApplication.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QToolButton>

#include <cmath>

namespace {

std::string Text(const TNumericEdit* input) {
    return input->text().toStdString();
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

} // namespace

void TfrmVeskIn::ConnectInputs() {
    for (TNumericEdit* input :
         {ilPeso, ilLeche, ilGrasa, ilProt, ilSem, ilGDP, ilADG, ilTemp, sePF})
        ConnectReported(input, &TNumericEdit::changed, this, &TfrmVeskIn::ilPesoChange);
    ConnectReported(rgLact, &TRadioGroup::itemClicked, this, &TfrmVeskIn::ilPesoChange);
    ConnectReported(tsTipo, &TTabSheet::shown, this, &TfrmVeskIn::ilPesoChange);
    ConnectReported(ilCons, &TNumericEdit::changed, this, &TfrmVeskIn::ilConsChange);
    ConnectReported(SpeedButton1, &QToolButton::clicked, this, &TfrmVeskIn::SpeedButton1Click);
    ConnectReported(rgTipo, &TRadioGroup::itemClicked, this, &TfrmVeskIn::rgTipoClick);
}

void TfrmVeskIn::ReadInputs() {
    TInputTexts inputs;
    inputs.rgTipo = rgTipo->ItemIndex();
    inputs.rgLact = rgLact->ItemIndex();
    inputs.ilPeso = Text(ilPeso);
    inputs.ilCons = Text(ilCons);
    inputs.ilLeche = Text(ilLeche);
    inputs.ilGrasa = Text(ilGrasa);
    inputs.ilProt = Text(ilProt);
    inputs.ilSem = Text(ilSem);
    inputs.ilGDP = Text(ilGDP);
    inputs.ilADG = Text(ilADG);
    inputs.ilTemp = Text(ilTemp);
    inputs.sePF = Text(sePF);
    try {
        ReadInputTexts(inputs, *FDairy, Regional().DecimalSeparator);
    } catch (const EConvertError&) {
        QMessageBox::critical(this, QStringLiteral("Error en entrada de datos"),
                              QStringLiteral("Se encontró un cantidad no válida  en\n"
                                             "alguno de los datos numéricos."));
    }
}

// The change events of these writes find FUpdating set, so the model is neither read back
// half-written nor estimated before all twelve inputs hold its values.
void TfrmVeskIn::ShowInputs() {
    FUpdating = true;
    rgTipo->SetItemIndex(FDairy->Tipo);
    rgLact->SetItemIndex(FDairy->Lactacion);
    ilLeche->SetValue(FDairy->Leche);
    ilGrasa->SetValue(FDairy->Grasa);
    ilProt->SetValue(FDairy->Proteina);
    ilSem->SetValue(FDairy->DIM);
    ilTemp->SetValue(FDairy->Temperatura);
    ilGDP->SetValue(FDairy->GDP);
    ilADG->SetValue(FDairy->ADG);
    ilCons->SetValue(FDairy->Consumo);
    ilPeso->SetValue(FDairy->Peso);
    sePF->SetValue(FDairy->Freshenning);
    FUpdating = false;
    UpdateEstimate();
}

void TfrmVeskIn::UpdateEstimate() {
    if (FUpdating)
        return;
    ReadInputs();
    FDairy->EstimateIntake();
    ShowEstimate();
}

void TfrmVeskIn::ShowEstimate() {
    ilEst->setText(QString::fromStdString(
        FormatFixed(FDairy->ConsumoEstimado, 2, Regional().DecimalSeparator)));
    CheckOffered();
}

// Red while the offered intake lies outside about 85 % .. 105 % of the estimate.
void TfrmVeskIn::CheckOffered() {
    if (FUpdating || FDairy->ConsumoEstimado == 0)
        return;
    const bool far = OfferedOutsideBand(FDairy->ConsumoEstimado, ilCons->Value());
    SetTextColor(ilCons, far ? QColor(255, 0, 0) : QColor(0, 0, 0));
}

// Truncates to hundredths, so the offered intake can be one hundredth below the rounded label.
void TfrmVeskIn::SpeedButton1Click() {
    const long double hundredths =
        std::trunc(static_cast<long double>(FDairy->ConsumoEstimado) * 100);
    ilCons->SetValue(hundredths / 100);
}

void TfrmVeskIn::ilPesoChange() {
    UpdateEstimate();
}

void TfrmVeskIn::ilConsChange() {
    CheckOffered();
}

// Shows the groups and enables the gain inputs that the selected productive state uses.
void TfrmVeskIn::rgTipoClick() {
    struct TStateLayout {
        bool Prod, Temp, PF, Lact, GDP, ADG;
    };
    static constexpr TStateLayout Layouts[] = {
        {true, true, false, true, true, false},
        {false, false, true, true, true, false},
        {false, false, false, false, false, true},
    };
    const int state = rgTipo->ItemIndex();
    if (state >= 0) {
        const TStateLayout& layout = Layouts[state];
        gbProd->setVisible(layout.Prod);
        gbTemp->setVisible(layout.Temp);
        gbPF->setVisible(layout.PF);
        rgLact->setVisible(layout.Lact);
        ilGDP->setEnabled(layout.GDP);
        ilADG->setEnabled(layout.ADG);
    }
    UpdateEstimate();
}
