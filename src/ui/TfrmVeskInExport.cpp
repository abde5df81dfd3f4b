#include "ui/TfrmVeskIn.h"

#include "exchange/SpreadsheetExport.h"
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

// The table's visible fields and their values, row by row in table order. Moving to the first
// row stores an edit in progress, so that the stored values are exported; the row that was
// current comes back at the end. The grid does not redraw meanwhile, while the window handles
// its pending events after each row.
TExportTable ExportedTable(TTableModel& table, QWidget* grid) {
    TExportTable exported;
    for (int column = 0; column < table.FieldCount(); ++column)
        if (table.Field(column).Visible)
            exported.Fields.push_back(table.Field(column));
    const TBookmark current = table.Bookmark();
    const TGridFrozen frozen(grid);
    for (table.First(); !table.Eof(); table.Next()) {
        auto& row = exported.Rows.emplace_back();
        for (const TTableField& field : exported.Fields)
            row.push_back(table.Value(field));
        QCoreApplication::processEvents();
    }
    table.GotoBookmark(current);
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
    if (!UpdateGridData())
        return;
    const std::string file = ee->Export(ExportedTable(mt, DBGrid1));
    if (!FSheetOpener(file))
        throw std::runtime_error("The workbook was saved as " + file +
                                 " but cannot be shown: no spreadsheet application is available "
                                 "to open it");
}
