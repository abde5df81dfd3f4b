#include "ui/TfrmVeskIn.h"

#include "ui/Fonts.h"
#include "ui/TDBGrid.h"

#include <QAction>
#include <QHeaderView>

void TfrmVeskIn::CreateRestrictions() {
    mtCodigo = &mt.AddField("Codigo", TFieldKind::Integer);
    mtNombre = &mt.AddField("Nombre", TFieldKind::Text, 30);
    mtUnidad = &mt.AddField("Unidad", TFieldKind::Text, 10);
    mtMin = &mt.AddField("Min", TFieldKind::Currency);
    mtMin->DisplayLabel = "Mínimo";
    mtMin->DisplayFormat = "0.0000";
    mtMax = &mt.AddField("Max", TFieldKind::Currency);
    mtMax->DisplayLabel = "Máximo";
    mtMax->DisplayFormat = "0.0000";
    mtEnviar = &mt.AddField("Enviar", TFieldKind::Boolean);
    mtEnviar->TrueText = "Sí";
    mtEnviar->FalseText = "No";
    mt.SetReadOnly(*mtCodigo);
    mt.SetReadOnly(*mtNombre);
    connect(&mt, &TTableModel::stateChanged, this, &TfrmVeskIn::UpdateTableActions);
    UpdateTableActions();
}

void TfrmVeskIn::CreateGrid(QWidget* page) {
    DBGrid1 = new TDBGrid(mt, page);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFont(SansFont(8, false));
    QHeaderView* titles = DBGrid1->horizontalHeader();
    titles->setFont(SansFont(8, true));
    const int widths[] = {50, 163, 52, 55, 55, 48};
    for (int column = 0; column < mt.FieldCount(); ++column)
        titles->resizeSection(column, widths[column]);
    QHeaderView* indicator = DBGrid1->verticalHeader();
    indicator->setDefaultSectionSize(18);
    indicator->setFixedWidth(12);
}

void TfrmVeskIn::FillRestrictions() {
    mt.Close();
    mt.Open();
    for (const TRestrictionSlot& slot : RestrictionOrder) {
        const TRestriccion& record = (*FDairy).*slot.Record;
        mt.AppendRecord({record.Codigo, record.Nombre, record.Unidad, record.Min.ToDouble(),
                         slot.HasMax ? TFieldValue(record.Max.ToDouble()) : TFieldValue(),
                         record.Enviar});
    }
}

// The grid exists once its page was shown; before that no cell can be open.
bool TfrmVeskIn::UpdateGridData() {
    return !DBGrid1 || DBGrid1->UpdateData();
}

void TfrmVeskIn::DataSetEdit1Execute() {
    mt.Edit();
}

// The text of an open cell editor goes to its field before the row is stored.
void TfrmVeskIn::DataSetPost1Execute() {
    if (UpdateGridData())
        mt.Post();
}

void TfrmVeskIn::DataSetCancel1Execute() {
    if (DBGrid1)
        DBGrid1->CancelEditor();
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
