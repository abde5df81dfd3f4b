#include "ui/TfrmVeskIn.h"

#include "ui/ImageList.h"
#include "ui/TVeskApplication.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>

// A hint holds the tooltip and the status-bar text as "short|long"; without "|" it is both.
QAction* TfrmVeskIn::CreateAction(const char* name, const QString& caption, const QString& hint,
                                  TImageIndex icon) {
    auto* action = new QAction(ImageListIcon(icon), caption, al);
    action->setObjectName(QLatin1String(name));
    // Toolbar buttons show the caption without its access letter, which belongs to menus.
    action->setIconText(QString(caption).remove(u'&'));
    const qsizetype bar = hint.indexOf(u'|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    addAction(action);
    return action;
}

void TfrmVeskIn::CreateActions() {
    al = new QActionGroup(this);
    al->setObjectName(QStringLiteral("al"));
    al->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);

    FileExit1 = CreateAction("FileExit1", "&Salir", "Salir|Termina la aplicación", iiExit);
    FileExit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(FileExit1, &QAction::triggered, this, &QWidget::close);
    FileOpen1 =
        CreateAction("FileOpen1", "&Cargar modelo...", "Abrir|Abrir un archivo de modelo", iiOpen);
    FileOpen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    ConnectReported(FileOpen1, &QAction::triggered, this, &TfrmVeskIn::FileOpen1Execute);
    acCalc = CreateAction("acCalc", "Calcula modelo",
                          "Calcula modelo|Realiza los cálculos del modelo de acuerdo a la "
                          "información proporcionada ",
                          iiCalc);
    acCalc->setShortcut(QKeySequence(Qt::Key_F9));
    FilePrintSetup1 = CreateAction(
        "FilePrintSetup1", "&Configurar impresora...",
        "Configurar impresora|Permite escoger la impresora y la forma de imprimir los resultados",
        iiPrint);
    acPrt = CreateAction("acPrt", "&Imprimir modelo/resultado",
                         "Imprimir modelo/resultado|Imprime los datos del modelo y los resultados",
                         iiPrint);
    acLote = CreateAction(
        "acLote", "Calcular lote...",
        "Calcular lote|Calcula los límites de un lote de animales desde una tabla", iiCalc);
    ConnectReported(acLote, &QAction::triggered, this, &TfrmVeskIn::acLoteExecute);
    RichEditBold1 = CreateAction("RichEditBold1", "&Negrita", "Negrita", iiBold);
    RichEditBold1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    RichEditBold1->setCheckable(true);
    RichEditItalic1 = CreateAction("RichEditItalic1", "&Itálicas", "Itálicas", iiItalic);
    RichEditItalic1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    RichEditItalic1->setCheckable(true);
    FontEdit1 = CreateAction("FontEdit1", "&Seleccionar fuente...",
                             "Seleccionar fuente|Cambiar el tipo de letra", iiFont);
    acShare = CreateAction("acShare", "Enviar a Boviro",
                           "Enviar a Boviro|Envia la información del resultado a Tolvan para vacas",
                           iiModel);
    ConnectReported(acShare, &QAction::triggered, this, &TfrmVeskIn::acShareExecute);
    acSave = CreateAction("acSave", "Guardar modelo",
                          "Guardar|Guardar los datos del modelo en un archivo", iiSave);
    ConnectReported(acSave, &QAction::triggered, this, &TfrmVeskIn::acSaveExecute);
    DataSetEdit1 = CreateAction("DataSetEdit1", "&Modificar", "Editar esta restricción", iiEdit);
    DataSetPost1 = CreateAction("DataSetPost1", "&Aceptar", "Aceptar los cambios", iiPost);
    DataSetCancel1 =
        CreateAction("DataSetCancel1", "&Cancelar", "Cancelar las modificaciones", iiCancel);
    acExcel = CreateAction("acExcel", "Enviar a Excel®", QString(), iiSpreadsheet);

    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TfrmVeskIn::UpdateActions);
}

// Runs whenever the application is about to wait for events.
void TfrmVeskIn::UpdateActions() {
    acPrtUpdate();
    acShareUpdate();
    acExcelUpdate();
    RichEditUpdate();
}
