#include "ui/TfrmVeskIn.h"

#include "ui/TFontDialog.h"
#include "ui/TVeskApplication.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

// The format at the selection: that of its first character, or the insertion point's when
// nothing is selected.
QTextCharFormat SelectionFormat(const QTextEdit& edit) {
    const QTextCursor cursor = edit.textCursor();
    if (!cursor.hasSelection())
        return edit.currentCharFormat();
    QTextCursor first(edit.document());
    first.setPosition(cursor.selectionStart() + 1);
    return first.charFormat();
}

// The selection's font, with what its format leaves open taken from the view's base font.
QFont SelectionFont(const QTextEdit& edit) {
    return SelectionFormat(edit).font().resolve(edit.document()->defaultFont());
}

QColor SelectionColor(const QTextEdit& edit) {
    const QBrush brush = SelectionFormat(edit).foreground();
    return brush.style() == Qt::NoBrush ? edit.palette().color(QPalette::Text) : brush.color();
}

// Toggles one style of the selection's style set, then sets all four styles of the resulting set
// over the whole selection, or at the insertion point when nothing is selected.
void ToggleStyle(QTextEdit& edit, const std::function<void(QFont&)>& toggle) {
    QFont styles = SelectionFont(edit);
    toggle(styles);
    QTextCharFormat format;
    format.setFontWeight(styles.bold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(styles.italic());
    format.setFontUnderline(styles.underline());
    format.setFontStrikeOut(styles.strikeOut());
    edit.mergeCurrentCharFormat(format);
}

// Lays the text out over the printable area of the printer's pages, without margins of its own,
// and paints it page after page.
void PrintText(const QTextDocument& text, QPrinter& printer, QPainter& painter) {
    const std::unique_ptr<QTextDocument> pages(text.clone());
    pages->documentLayout()->setPaintDevice(&printer);
    pages->setDocumentMargin(0);
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    pages->setPageSize(page);
    for (int index = 0; index < pages->pageCount(); ++index) {
        if (index > 0)
            printer.newPage();
        const QRectF view(QPointF(0, index * page.height()), page);
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        pages->documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

// A printer without a name and output file is no printer at all.
bool HasPrinter(const QPrinter& printer) {
    return !printer.printerName().isEmpty() || !printer.outputFileName().isEmpty();
}

} // namespace

void TfrmVeskIn::ConnectPrint() {
    ConnectReported(RichEditBold1, &QAction::triggered, this, &TfrmVeskIn::RichEditBold1Execute);
    ConnectReported(RichEditItalic1, &QAction::triggered, this,
                    &TfrmVeskIn::RichEditItalic1Execute);
    ConnectReported(FontEdit1, &QAction::triggered, this, &TfrmVeskIn::FontEdit1Execute);
    ConnectReported(FilePrintSetup1, &QAction::triggered, this,
                    &TfrmVeskIn::FilePrintSetup1Execute);
    ConnectReported(acPrt, &QAction::triggered, this, &TfrmVeskIn::acPrtExecute);
}

// Created at the first print or print set-up: the printer system is probed only when printing.
QPrinter& TfrmVeskIn::Printer() {
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *FPrinter;
}

// Created at its first use, as listing the fonts takes long; it then keeps what was chosen in it.
TFontDialog& TfrmVeskIn::FontDialog() {
    if (!FFontDialog) {
        FFontDialog = new TFontDialog(this);
        ConnectReported(FFontDialog, &TFontDialog::applied, this,
                        &TfrmVeskIn::FontEdit1FontDialogApply);
    }
    return *FFontDialog;
}

void TfrmVeskIn::RichEditBold1Execute() {
    ToggleStyle(Report(), [](QFont& styles) { styles.setBold(!styles.bold()); });
}

void TfrmVeskIn::RichEditItalic1Execute() {
    ToggleStyle(Report(), [](QFont& styles) { styles.setItalic(!styles.italic()); });
}

void TfrmVeskIn::RichEditUpdate() {
    const bool reportFocused = M && M->hasFocus();
    RichEditBold1->setEnabled(reportFocused);
    RichEditItalic1->setEnabled(reportFocused);
    const QFont styles = M ? SelectionFont(*M) : QFont();
    RichEditBold1->setChecked(styles.bold());
    RichEditItalic1->setChecked(styles.italic());
}

void TfrmVeskIn::FontEdit1Execute() {
    FontEdit1BeforeExecute();
    if (FontDialog().exec() == QDialog::Accepted)
        FontEdit1Accept();
}

void TfrmVeskIn::FontEdit1BeforeExecute() {
    FontToDialog();
}

void TfrmVeskIn::FontEdit1Accept() {
    DialogToFont();
}

void TfrmVeskIn::FontEdit1FontDialogApply() {
    DialogToFont();
}

void TfrmVeskIn::FontToDialog() {
    const QFont selection = SelectionFont(Report());
    TFontDialog& dialog = FontDialog();
    QFont font = dialog.Font();
    font.setFamilies(selection.families());
    font.setPointSize(selection.pointSize());
    dialog.SetFont(font);
    dialog.SetColor(SelectionColor(Report()));
}

void TfrmVeskIn::DialogToFont() {
    const TFontDialog& dialog = FontDialog();
    const QFont font = dialog.Font();
    QTextCharFormat format;
    format.setForeground(dialog.Color());
    format.setFontFamilies(font.families());
    format.setFontPointSize(font.pointSize());
    Report().mergeCurrentCharFormat(format);
}

void TfrmVeskIn::FilePrintSetup1Execute() {
    QPrintDialog dialog(&Printer(), this);
    dialog.setWindowTitle(QStringLiteral("Configurar impresora"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    dialog.exec();
}

// Enabled while the report holds a character: a last line without any does not count.
void TfrmVeskIn::acPrtUpdate() {
    acPrt->setEnabled(M && !M->document()->isEmpty());
}

// Errors in the platform's wording. A job is never started without a printer: Qt would leave the
// printer active after that failed start, deaf to every later choice of the set-up dialog.
void TfrmVeskIn::acPrtExecute() {
    QPrinter& printer = Printer();
    if (!HasPrinter(printer))
        throw std::runtime_error("There is no default printer currently selected");
    printer.setDocName(windowTitle());
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer))
        throw std::runtime_error("Printer selected is not valid");
    PrintText(*Report().document(), printer, painter);
}
