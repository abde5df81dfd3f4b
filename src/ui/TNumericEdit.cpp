#include "ui/TNumericEdit.h"

#include "platform/number_text.h"
#include "platform/regional.h"
#include "ui/AltChords.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

#include <memory>

namespace {

char Separator() {
    return Regional().DecimalSeparator;
}

} // namespace

TNumericEdit::TNumericEdit(const TNumericSpec& limits, QWidget* parent)
    : QAbstractSpinBox(parent), FSpec(limits) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAccelerated(false);
    // Dropped text would bypass the key filter.
    lineEdit()->setAcceptDrops(false);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TNumericEdit::changed);
}

long double TNumericEdit::Value() const {
    return ReadNumericValue(lineEdit()->text().toStdString(), FSpec, Separator());
}

int32_t TNumericEdit::AsInteger() const {
    return ReadNumericInteger(lineEdit()->text().toStdString(), FSpec, Separator());
}

void TNumericEdit::SetValue(long double value) {
    lineEdit()->setText(QString::fromStdString(WriteNumericValue(value, FSpec, Separator())));
}

void TNumericEdit::stepBy(int steps) {
    SetValue(Value() + steps * FSpec.Increment);
}

QAbstractSpinBox::StepEnabled TNumericEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

bool TNumericEdit::AcceptsCharacter(QChar c) const {
    if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-')
        return true;
    if (FSpec.ValueType != TValueType::vtFloat || (c != u'e' && c != u'E'))
        return false;
    const QString text = lineEdit()->text();
    return !text.contains(u'e') && !text.contains(u'E');
}

void TNumericEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        Paste(QClipboard::Clipboard);
        return;
    }
    // Only Up and Down step; the larger page steps of other spin boxes do not exist here.
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        event->ignore();
        return;
    }
    if (IsAltChord(*event)) {
        QApplication::beep();
        return;
    }
    const QString text = event->text();
    const bool control = text.isEmpty() || text.at(0) < u' ' || text.at(0) == u'\x7f' ||
                         (event->modifiers() & Qt::ControlModifier);
    if (control) {
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    const QChar c = text.at(0);
    const QChar separator = QChar::fromLatin1(Separator());
    if (FSpec.ValueType == TValueType::vtFloat && (c == u'.' || c == separator)) {
        if (!lineEdit()->text().contains(separator)) {
            lineEdit()->insert(separator);
            return;
        }
    } else if (text.size() == 1 && AcceptsCharacter(c)) {
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    QApplication::beep();
}

void TNumericEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    // A context menu or another window taking the focus does not leave the input.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        SetValue(Value());
}

void TNumericEdit::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(lineEdit()->createStandardContextMenu());
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] { Paste(QClipboard::Clipboard); });
    }
    menu->exec(event->globalPos());
}

void TNumericEdit::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

bool TNumericEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
        QGuiApplication::clipboard()->supportsSelection()) {
        lineEdit()->deselect();
        Paste(QClipboard::Selection);
        return true;
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}

// A paste that would leave text other than a real number is refused, and the value from before
// it is written back instead.
void TNumericEdit::Paste(QClipboard::Mode mode) {
    const QString clip = QGuiApplication::clipboard()->text(mode);
    QLineEdit* edit = lineEdit();
    QString result = edit->text();
    if (edit->hasSelectedText())
        result.replace(edit->selectionStart(), edit->selectedText().size(), clip);
    else
        result.insert(edit->cursorPosition(), clip);
    long double value;
    if (ParseReal(result.toStdString(), Separator(), value))
        edit->insert(clip);
    else
        SetValue(Value());
}
