#include "ui/TfrmVeskIn.h"

#include "exchange/SpreadsheetExport.h"
#include "platform/regional.h"
#include "ui/TDBGrid.h"
#include "ui/TVeskApplication.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace {

// Hides the send flags from the export and shows the hourglass while it runs; both come back
// when it ends, also by a failure.
class TExportRun {
public:
    explicit TExportRun(TTableField& enviar) : FEnviar(enviar) {
        FEnviar.SetVisible(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TExportRun() {
        QApplication::restoreOverrideCursor();
        FEnviar.SetVisible(true);
    }
    TExportRun(const TExportRun&) = delete;
    TExportRun& operator=(const TExportRun&) = delete;

private:
    TTableField& FEnviar;
};

} // namespace

void TfrmVeskIn::ConnectExport() {
    FSheetOpener = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    ee = std::make_unique<TSpreadsheetExport>(
        [this] { return ConnectSheetApplication(FSheetOpener, Regional()); }, Regional(),
        logicalDpiY());
    ConnectReported(acExcel, &QAction::triggered, this, &TfrmVeskIn::acExcelExecute);
}

void TfrmVeskIn::acExcelUpdate() {
    acExcel->setEnabled(FCalculado);
}

void TfrmVeskIn::acExcelExecute() {
    const TExportRun run(*mtEnviar);
    // The text of an open cell editor is exported as the edit it belongs to.
    if (!Grid().UpdateData())
        return;
    ee->Export(mt, [] { QCoreApplication::processEvents(); });
}
