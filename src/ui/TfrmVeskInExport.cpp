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
        FEnviar.Visible = false;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TExportRun() {
        QApplication::restoreOverrideCursor();
        FEnviar.Visible = true;
    }
    TExportRun(const TExportRun&) = delete;
    TExportRun& operator=(const TExportRun&) = delete;

private:
    TTableField& FEnviar;
};

// Keeps a grid from redrawing while it lives; there may be no grid yet.
class TGridFrozen {
public:
    explicit TGridFrozen(QWidget* grid) : FGrid(grid) {
        if (FGrid)
            FGrid->setUpdatesEnabled(false);
    }
    ~TGridFrozen() {
        if (FGrid)
            FGrid->setUpdatesEnabled(true);
    }
    TGridFrozen(const TGridFrozen&) = delete;
    TGridFrozen& operator=(const TGridFrozen&) = delete;

private:
    QWidget* FGrid;
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
    if (!UpdateGridData())
        return;
    ee->Export(ExportTable());
}

// Moving to the first row stores an edit in progress, so that the stored values are exported;
// the row that was current comes back at the end. The grid does not redraw meanwhile, while the
// window handles its pending events after each row.
TExportTable TfrmVeskIn::ExportTable() {
    TExportTable table;
    for (int column = 0; column < mt.FieldCount(); ++column)
        if (mt.Field(column).Visible)
            table.Fields.push_back(&mt.Field(column));
    const TBookmark current = mt.Bookmark();
    const TGridFrozen frozen(DBGrid1);
    for (mt.First(); !mt.Eof(); mt.Next()) {
        auto& row = table.Rows.emplace_back();
        for (const TTableField* field : table.Fields)
            row.push_back(mt.Value(*field));
        QCoreApplication::processEvents();
    }
    mt.GotoBookmark(current);
    return table;
}
