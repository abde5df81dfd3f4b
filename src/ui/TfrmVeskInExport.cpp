#include "ui/TfrmVeskIn.h"

#include "exchange/SpreadsheetExport.h"
#include "platform/database_error.h"
#include "ui/TDBGrid.h"
#include "ui/TVeskApplication.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include <stdexcept>

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

// Suspends the grid's redrawing and returns to the remembered row at the end, also after a
// failure.
class TWalkGuard {
public:
    explicit TWalkGuard(TMemoryTable& table) : FTable(table), FBookmark(table.Bookmark()) {
        FTable.DisableControls();
    }
    ~TWalkGuard() {
        try {
            FTable.GotoBookmark(FBookmark);
        } catch (const EDatabaseError&) {
            // The remembered row is gone; the table stays on the last row walked.
        }
        FTable.EnableControls();
    }
    TWalkGuard(const TWalkGuard&) = delete;
    TWalkGuard& operator=(const TWalkGuard&) = delete;

private:
    TMemoryTable& FTable;
    TBookmark FBookmark;
};

// The table's visible fields and their values, row by row in table order. Moving to the first
// row stores an edit in progress, so that the stored values are exported. The window handles
// its pending events after each row.
TExportTable ExportedTable(TMemoryTable& table) {
    if (!table.Active())
        throw EDatabaseError("Dataset is not active");
    std::vector<const TTableField*> fields;
    for (int i = 0; i < table.FieldCount(); ++i)
        if (table.Field(i).Visible())
            fields.push_back(&table.Field(i));
    TExportTable exported;
    const TWalkGuard guard(table);
    for (table.First(); !table.Eof(); table.Next()) {
        auto& row = exported.Rows.emplace_back();
        for (const TTableField* field : fields)
            row.push_back(table.Value(*field));
        QCoreApplication::processEvents();
    }
    for (const TTableField* field : fields)
        exported.Fields.push_back(*field);
    return exported;
}

} // namespace

void TfrmVeskIn::ConnectExport() {
    FSheetOpener = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    ee = std::make_unique<TSpreadsheetExport>(logicalDpiY());
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
    const std::string file = ee->Export(ExportedTable(mt));
    if (!FSheetOpener(file))
        throw std::runtime_error("The workbook was saved as " + file +
                                 " but cannot be shown: no spreadsheet application is available "
                                 "to open it");
}
