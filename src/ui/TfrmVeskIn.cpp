#include "ui/TfrmVeskIn.h"

#include "exchange/SpreadsheetExport.h"
#include "model/DefaultAnimal.h"
#include "platform/program_file.h"
#include "ui/TVeskApplication.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>

namespace {

// The program's revision, shown in the caption in four hexadecimal digits.
constexpr int Revision = 8498;
constexpr QSize ClientSize(749, 489);

} // namespace

TfrmVeskIn::TfrmVeskIn(QWidget* parent) : QMainWindow(parent) {
    CreateActions();
    CreateRestrictions();
    CreateLayout();
    ConnectInputs();
    ConnectReported(acCalc, &QAction::triggered, this, &TfrmVeskIn::acCalcExecute);
    ConnectReported(DataSetEdit1, &QAction::triggered, this, &TfrmVeskIn::DataSetEdit1Execute);
    ConnectReported(DataSetPost1, &QAction::triggered, this, &TfrmVeskIn::DataSetPost1Execute);
    ConnectReported(DataSetCancel1, &QAction::triggered, this, &TfrmVeskIn::DataSetCancel1Execute);
    ConnectPrint();
    ConnectExport();
    UpdateActions();
    // The menu bar lies above the client area, as window frames elsewhere draw it.
    setFixedSize(ClientSize.width(), ClientSize.height() + menuBar()->sizeHint().height());
    if (const QScreen* desktop = QGuiApplication::primaryScreen())
        move(desktop->availableGeometry().center() - rect().center());
    FormCreate();
}

TfrmVeskIn::~TfrmVeskIn() = default;

// A failing step is reported and skips the rest; the window opens all the same.
void TfrmVeskIn::FormCreate() {
    try {
        const QString revision = QString::number(Revision, 16).toUpper().rightJustified(4, u'0');
        setWindowTitle(windowTitle() + QStringLiteral(" (Rev. %1)").arg(revision));
        // The model exists before it reads its names, so that a failure while reading them
        // still leaves the window a model to work on.
        FDairy = std::make_unique<TVeskDairy>();
        FDairy->LoadNames(ProgramFile());
        SetDefaultAnimal(*FDairy);
        LinkHost();
        PrepareModelDir();
        FUpdating = false;
        ShowInputs();
    } catch (const std::exception& failure) {
        ShowException(failure);
    }
}
