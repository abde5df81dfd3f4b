#include "ui/TfrmVeskIn.h"

#include "exchange/HerdLimits.h"
#include "exchange/HerdTable.h"
#include "exchange/HerdWorkbook.h"
#include "exchange/WorkbookFolder.h"
#include "platform/regional.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

// The progress dialog's steps, over the bytes of the table.
constexpr int ProgressSteps = 1000;
// Animals calculated between two looks at the progress dialog.
constexpr std::size_t ProgressEvery = 64;

QString FailedRowsText(std::size_t failed, std::size_t animals) {
    return QStringLiteral("%1 de los %2 animales del lote no se %3 calcular. La columna Error del "
                          "libro dice por qué.")
        .arg(failed)
        .arg(animals)
        .arg(failed == 1 ? QStringLiteral("pudo") : QStringLiteral("pudieron"));
}

} // namespace

// Qt's own dialog, as for the model files, so that it behaves alike everywhere.
void TfrmVeskIn::acLoteExecute() {
    QFileDialog dialog(this, QStringLiteral("Abrir tabla de lote"), FOpenDir,
                       QStringLiteral("Tablas de lote (*.csv *.txt);;Todos los archivos (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        CalculateHerd(dialog.selectedFiles().constFirst());
}

// Calculates as vesk-calc --herd does through the window's inputs, into a workbook of its own
// that is renamed into place only when every row is in; a cancelled run leaves nothing.
void TfrmVeskIn::CalculateHerd(const QString& fileName) {
    const std::string path = fileName.toStdString();
    std::ifstream in = OpenHerdFile(path);
    std::error_code unknown;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, unknown);
    const std::uintmax_t size = unknown ? 0 : fileSize;
    const char decimalSeparator = Regional().DecimalSeparator;
    THerdReader reader(in, path, decimalSeparator);

    if (FHerdFolder.empty())
        FHerdFolder = NewWorkbookFolder();
    const QString name = QFileInfo(fileName).completeBaseName();
    const std::string book = FHerdFolder + "/" +
                             (name.isEmpty() ? QStringLiteral("Lote") : name).toStdString() +
                             ".xlsx";
    THerdWorkbook workbook(book, HerdTitles(*FDairy));

    QProgressDialog progress(
        QStringLiteral("Calculando el lote %1...").arg(QFileInfo(fileName).fileName()),
        QStringLiteral("Cancelar"), 0, ProgressSteps, this);
    progress.setWindowTitle(QStringLiteral("Calcular lote"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setValue(0);
    std::size_t animals = 0;
    std::size_t failed = 0;
    for (THerdAnimal animal; reader.Next(animal);) {
        CalculateHerdAnimal(animal, false, decimalSeparator);
        workbook.Add(animal);
        failed += !animal.Error.empty();
        if (++animals % ProgressEvery == 0 && size > 0) {
            // Short of the last step, which would close the dialog before the run ends.
            progress.setValue(
                std::min(ProgressSteps - 1, int(ProgressSteps * reader.Position() / size)));
            if (progress.wasCanceled())
                return;
        }
    }
    workbook.Commit();
    progress.reset();

    if (failed > 0)
        QMessageBox::warning(this, QStringLiteral("Calcular lote"),
                             FailedRowsText(failed, animals));
    if (!FSheetOpener(book))
        throw std::runtime_error("El lote se guardó en " + book +
                                 ", pero ningún programa puede mostrarlo");
}
