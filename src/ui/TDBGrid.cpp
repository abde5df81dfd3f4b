#include "ui/TDBGrid.h"

#include "ui/AltChords.h"
#include "ui/TTableModel.h"
#include "ui/TVeskApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyledItemDelegate>

namespace {

// The text box of a cell editor, a drop-down list's own one.
QLineEdit* TextBox(QWidget* editor) {
    if (auto* box = qobject_cast<QComboBox*>(editor))
        return box->lineEdit();
    return static_cast<QLineEdit*>(editor);
}

} // namespace

// The cell editors of a TDBGrid: a text box, limited to a text field's size, or for a Boolean
// field a drop-down list of its two texts that still takes typing; neither types an Alt chord. A
// changed text goes to its field; Refused tells the grid that the field would not take it.
class TGridDelegate : public QStyledItemDelegate {
public:
    TGridDelegate(TDBGrid* grid, TTableModel& model) : QStyledItemDelegate(grid), FModel(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        // The first change of a cell puts its row into editing.
        const auto changed = [this] {
            if (FModel.State() == TTableState::Browse)
                Reported([this] { FModel.Edit(); });
        };
        const TTableField& field = FModel.Field(index.column());
        if (field.Kind == TFieldKind::Boolean) {
            auto* box = new QComboBox(parent);
            box->setEditable(true);
            box->addItems(
                {QString::fromStdString(field.TrueText), QString::fromStdString(field.FalseText)});
            connect(box->lineEdit(), &QLineEdit::textEdited, this, changed);
            connect(box, &QComboBox::activated, this, changed);
            RefuseAltChords(box);
            return box;
        }
        auto* line = new QLineEdit(parent);
        if (field.Kind == TFieldKind::Text)
            line->setMaxLength(field.Size);
        connect(line, &QLineEdit::textEdited, this, changed);
        RefuseAltChords(line);
        return line;
    }

    // Selected, so that typing into the cell replaces its text.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        TextBox(editor)->setText(index.data(Qt::EditRole).toString());
        TextBox(editor)->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        const QString text = TextBox(editor)->text();
        Refused = text != index.data(Qt::EditRole).toString() &&
                  !Reported([&] { FModel.SetText(index, text.toStdString()); });
    }

    mutable bool Refused = false;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            // Up and Down in a drop-down list move to another row; Alt+Down opens the list.
            if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
                !(key->modifiers() & Qt::AltModifier) && qobject_cast<QComboBox*>(object)) {
                QCoreApplication::sendEvent(parent(), key);
                return true;
            }
        }
        // The window losing the focus to a message box, a menu or another program is no reason to
        // give the text to its field, and the grid taking it moves its current cell, which does.
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
                reason == Qt::MenuBarFocusReason || QApplication::focusWidget() == parent())
                return false;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TTableModel& FModel;
};

TDBGrid::TDBGrid(TTableModel& model, QWidget* parent)
    : QTableView(parent), FModel(model), FDelegate(new TGridDelegate(this, model)) {
    setModel(&FModel);
    setItemDelegate(FDelegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    connect(&FModel, &QAbstractItemModel::headerDataChanged, this, &TDBGrid::ShowCurrent);
    connect(qApp, &QApplication::focusChanged, this, &TDBGrid::FocusChanged);
    ShowCurrent();
}

bool TDBGrid::UpdateData() {
    if (QWidget* editor = OpenEditor()) {
        commitData(editor);
        if (FDelegate->Refused)
            return false;
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    return true;
}

void TDBGrid::CancelEditor() {
    if (QWidget* editor = OpenEditor())
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// A refused text keeps its editor open; Esc first brings back the cell's own text, then
// discards the row's changes.
void TDBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint == QAbstractItemDelegate::RevertModelCache) {
        if (TextBox(editor)->text() != currentIndex().data(Qt::EditRole).toString()) {
            FDelegate->setEditorData(editor, currentIndex());
            return;
        }
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        Reported([this] { FModel.Cancel(); });
        return;
    }
    if (FDelegate->Refused) {
        editor->setFocus();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

// Leaving a cell gives its text to the field, and leaving a row moves the table, which stores
// or discards the row. A refused text keeps the cell current.
void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    FDelegate->Refused = false;
    QTableView::currentChanged(current, previous);
    if (FDelegate->Refused) {
        Follow(previous);
        FDelegate->Refused = true; // for the selection the key or the click makes next
        if (QWidget* editor = OpenEditor())
            editor->setFocus();
        return;
    }
    if (!current.isValid())
        return;
    FColumn = current.column();
    if (!FFollowing && FModel.Active() && current.row() != FModel.CurrentRow())
        Reported([&] { FModel.MoveTo(current.row()); });
}

// Qt waits a double-click's time before a click on the current cell opens its editor, and takes
// keys typed meanwhile as a search; the editor opens at once.
bool TDBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    return QTableView::edit(index, trigger == SelectedClicked ? DoubleClicked : trigger, event);
}

// A key or a click selects the cell it moved to; a refused text kept the current one.
void TDBGrid::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!FDelegate->Refused)
        QTableView::setSelection(rect, command);
}

// The view would choose another current cell for a row that goes; the table has chosen it.
void TDBGrid::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    FFollowing = true;
    QTableView::rowsAboutToBeRemoved(parent, start, end);
    FFollowing = false;
}

// The table's indicator changed: the current cell follows the table's current row.
void TDBGrid::ShowCurrent() {
    const int row = FModel.CurrentRow();
    if (row >= 0 && currentIndex().row() != row)
        Follow(FModel.index(row, FColumn));
}

void TDBGrid::Follow(const QModelIndex& cell) {
    FFollowing = true;
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    FFollowing = false;
}

// A new row left empty goes again when the focus leaves the grid for another control.
void TDBGrid::FocusChanged(QWidget* old, QWidget* now) {
    if (now && now->window() == window() && isAncestorOf(old) &&
        !isAncestorOf(QApplication::focusWidget()) && FModel.State() == TTableState::Insert &&
        !FModel.Modified())
        Reported([this] { FModel.Cancel(); });
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool plain = FModel.Active() && modifiers == Qt::NoModifier;
    if (plain && key == Qt::Key_Escape) {
        Reported([this] { FModel.Cancel(); });
    } else if (plain && key == Qt::Key_Insert) {
        if (UpdateData())
            Reported([this] { FModel.Insert(); });
    } else if (plain && key == Qt::Key_Down && currentIndex().row() >= FModel.rowCount() - 1) {
        const bool emptyNewRow = FModel.State() == TTableState::Insert && !FModel.Modified();
        if (UpdateData() && !emptyNewRow)
            Reported([this] { FModel.Append(); });
    } else if (FModel.Active() && key == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
        DeleteRecord();
    } else {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TDBGrid::DeleteRecord() {
    if (FModel.rowCount() == 0 || !UpdateData())
        return;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"),
                    QStringLiteral("Delete record?"), QMessageBox::Ok | QMessageBox::Cancel, this);
    if (box.exec() == QMessageBox::Ok)
        Reported([this] { FModel.Delete(); });
}

// Tab and Backtab go to the next or previous editable cell, counted row by row in the shown
// order of the columns.
QModelIndex TDBGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex from = currentIndex();
    if ((cursorAction != MoveNext && cursorAction != MovePrevious) || !from.isValid())
        return QTableView::moveCursor(cursorAction, modifiers);
    const int step = cursorAction == MoveNext ? 1 : -1;
    const QHeaderView* header = horizontalHeader();
    const int columns = FModel.columnCount();
    for (int cell = from.row() * columns + header->visualIndex(from.column()) + step;
         cell >= 0 && cell < FModel.rowCount() * columns; cell += step) {
        const QModelIndex next = FModel.index(cell / columns, header->logicalIndex(cell % columns));
        if ((FModel.flags(next) & Qt::ItemIsEditable) && !header->isSectionHidden(next.column()))
            return next;
    }
    return from;
}
