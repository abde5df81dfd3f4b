#include "ui/TfrmVeskIn.h"

#include "model/ReportText.h"
#include "platform/regional.h"
#include "ui/TTabSheet.h"

#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>

// A failing step ends the command there: the report, the page and the table keep what they
// showed, while FCalculado stays set.
void TfrmVeskIn::acCalcExecute() {
    ReadInputs();
    FCalculado = true;
    FDairy->Calculate();
    ShowReport();
    pc->setCurrentWidget(tsRes);
    FillRestrictions();
}

// Each line becomes a paragraph of its own in the view's base font; the view shows the top.
void TfrmVeskIn::ShowReport() {
    const std::vector<std::string> lines = ReportLines(*FDairy, Regional().DecimalSeparator);
    QTextEdit& report = Report();
    report.clear();
    QTextCursor cursor(report.document());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertText(QString::fromStdString(lines[i]));
    }
    report.moveCursor(QTextCursor::Start);
}
