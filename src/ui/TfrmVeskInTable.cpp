#include "ui/TfrmVeskIn.h"

#include <utility>

namespace {

// A fixed-point amount enters the table as the real it stands for.
double TableAmount(TFixed amount) {
    return static_cast<double>(amount.Count) / 10000.0;
}

} // namespace

void TfrmVeskIn::CreateRestrictions() {
    mtCodigo = &mt.AddField("Codigo", TFieldKind::Integer);
    mtCodigo->SetAlignment(TFieldAlignment::Right);
    mtNombre = &mt.AddField("Nombre", TFieldKind::Text, 30);
    mtNombre->SetAlignment(TFieldAlignment::Left);
    mtUnidad = &mt.AddField("Unidad", TFieldKind::Text, 10);
    mtUnidad->SetAlignment(TFieldAlignment::Left);
    mtMin = &mt.AddField("Min", TFieldKind::Currency);
    mtMin->SetDisplayLabel("Mínimo");
    mtMin->SetDisplayFormat("0.0000");
    mtMin->SetAlignment(TFieldAlignment::Right);
    mtMax = &mt.AddField("Max", TFieldKind::Currency);
    mtMax->SetDisplayLabel("Máximo");
    mtMax->SetDisplayFormat("0.0000");
    mtMax->SetAlignment(TFieldAlignment::Right);
    mtEnviar = &mt.AddField("Enviar", TFieldKind::Boolean);
    mtEnviar->SetDisplayValues("Sí;No");
    mtEnviar->SetAlignment(TFieldAlignment::Center);
    mt.SetEnableDelete(false);
}

void TfrmVeskIn::FillRestrictions() {
    struct TRow {
        const TRestriccion& Record;
        bool WithMax;
    };
    const TRow rows[] = {{FDairy->ProteinaCruda, true}, {FDairy->Energia, true},
                         {FDairy->FDN, false},          {FDairy->Calcio, true},
                         {FDairy->Fosforo, true},       {FDairy->Magnesio, true},
                         {FDairy->Potasio, false}};
    mt.Close();
    mt.Open();
    for (const TRow& row : rows) {
        const TRestriccion& record = row.Record;
        mt.AppendRecord({record.Codigo, record.Nombre, record.Unidad, TableAmount(record.Min),
                         row.WithMax ? TFieldValue(TableAmount(record.Max)) : TFieldValue(),
                         record.Enviar});
    }
}

void TfrmVeskIn::DataSetEdit1Execute() {
    mt.Edit();
}

void TfrmVeskIn::DataSetPost1Execute() {
    mt.Post();
}

void TfrmVeskIn::DataSetCancel1Execute() {
    mt.Cancel();
}

// The table's state decides, as the storage's standard actions do.
void TfrmVeskIn::UpdateTableActions() {
    const TTableState state = mt.State();
    const bool changing = state == TTableState::Edit || state == TTableState::Insert;
    DataSetEdit1->setEnabled(state == TTableState::Browse);
    DataSetPost1->setEnabled(changing);
    DataSetCancel1->setEnabled(changing);
}
