#include "ui/TfrmVeskIn.h"

#include "exchange/ModelDir.h"
#include "exchange/ModelFile.h"
#include "platform/program_file.h"
#include "platform/regional.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

void TfrmVeskIn::PrepareModelDir() {
    PrepareModelDir(ChooseModelDir(
        ProgramDir(),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString()));
}

// Creates the folder with any missing parents (the documents folder of a new account); the open
// dialog starts there once it exists.
void TfrmVeskIn::PrepareModelDir(const std::string& modelDir) {
    FModelDir = modelDir;
    std::error_code error;
    std::filesystem::create_directories(FModelDir, error);
    if (!std::filesystem::is_directory(FModelDir, error))
        throw std::runtime_error("No se puede crear " + FModelDir);
    FOpenDir = QString::fromStdString(FModelDir);
}

// A name of blanks and control characters alone names no file.
void TfrmVeskIn::acSaveExecute() {
    const QString name = Modelo->text();
    if (std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() <= 32; })) {
        QMessageBox::critical(this, QStringLiteral("Error"),
                              QStringLiteral("Debe poner un nombre al modelo."));
        return;
    }
    SaveModel();
}

// The name goes into the path as typed, blanks around it included.
void TfrmVeskIn::SaveModel() {
    ReadInputs();
    ::SaveModel(FModelDir + "/" + Modelo->text().toStdString() + ".VM2", *FDairy,
                Regional().DecimalSeparator);
}

// Qt's own dialog behaves alike everywhere; its "*.vm2" lists the ".VM2" files that the save
// writes, since its name filters ignore letter case.
void TfrmVeskIn::FileOpen1Execute() {
    QFileDialog dialog(this, QStringLiteral("Cargar archivo de modelo"), FOpenDir,
                       QStringLiteral("Archivos de modelo Vesk (*.vm2);;Todos los archivos (*.*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("vm2"));
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        FileOpen1Accept(dialog.selectedFiles().constFirst());
}

// A failing load (a real beyond single precision) leaves the name and the inputs as they were.
void TfrmVeskIn::FileOpen1Accept(const QString& fileName) {
    ::LoadModel(fileName.toStdString(), *FDairy, Regional().DecimalSeparator);
    const QString name = QFileInfo(fileName).completeBaseName();
    // The input's limit holds for typing; a loaded name is shown whole.
    Modelo->setMaxLength(std::max(Modelo->maxLength(), static_cast<int>(name.size())));
    Modelo->setText(name);
    ShowInputs();
}
