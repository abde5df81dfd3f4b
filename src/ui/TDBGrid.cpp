#include "ui/TDBGrid.h"

#include "platform/memory_table.h"
#include "ui/TTableModel.h"
#include "ui/TVeskApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

QString EditorText(const QWidget* editor) {
    if (const auto* box = qobject_cast<const QComboBox*>(editor))
        return box->currentText();
    return static_cast<const QLineEdit*>(editor)->text();
}

void SetEditorText(QWidget* editor, const QString& text) {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        // Selected, so that typing into the cell replaces its text as in the text boxes.
        box->setEditText(text);
        box->lineEdit()->selectAll();
    } else
        static_cast<QLineEdit*>(editor)->setText(text);
}

} // namespace

// The cell editors of a TDBGrid: a text box limited to the field's size, or a drop-down list that
// still takes typing. The grid itself gives their text to the fields.
class TGridDelegate : public QStyledItemDelegate {
public:
    explicit TGridDelegate(TDBGrid* grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        QWidget* editor;
        const QStringList items = FGrid->PickList(index.column());
        if (!items.isEmpty()) {
            auto* box = new QComboBox(parent);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->addItems(items);
            connect(box->lineEdit(), &QLineEdit::textEdited, FGrid, &TDBGrid::EditorChanged);
            connect(box, &QComboBox::activated, FGrid, &TDBGrid::EditorChanged);
            editor = box;
        } else {
            auto* line = new QLineEdit(parent);
            const TTableField& field = FGrid->Table().Field(index.column());
            if (field.Kind() == TFieldKind::Text)
                line->setMaxLength(field.Size());
            connect(line, &QLineEdit::textEdited, FGrid, &TDBGrid::EditorChanged);
            editor = line;
        }
        editor->setFont(FGrid->font());
        FGrid->EditorOpened(editor, index);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (editor != FGrid->FEditor)
            return;
        FGrid->FEditorOriginal = index.data(Qt::EditRole).toString();
        SetEditorText(editor, FGrid->FEditorOriginal);
    }

    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

protected:
    // Up and Down in a drop-down list move to another row, as in the text boxes; Alt+Down still
    // opens the list.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox*>(object)) {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
                !(key->modifiers() & Qt::AltModifier)) {
                QCoreApplication::sendEvent(FGrid, key);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TDBGrid* FGrid;
};

TDBGrid::TDBGrid(TTableModel& model, QWidget* parent) : QTableView(parent), FModel(model) {
    setModel(&FModel);
    setItemDelegate(new TGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setShowGrid(true);
    setWordWrap(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    connect(&FModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { FEditor = nullptr; });
    connect(&FModel, &QAbstractItemModel::modelReset, this, &TDBGrid::ShowCurrent);
    connect(&FModel, &TTableModel::currentRowChanged, this, &TDBGrid::ShowCurrent);
    connect(qApp, &QApplication::focusChanged, this, &TDBGrid::FocusChanged);
}

TMemoryTable& TDBGrid::Table() const {
    return FModel.Table();
}

void TDBGrid::SetPickList(int column, const QStringList& items) {
    FPickLists[column] = items;
}

QStringList TDBGrid::PickList(int column) const {
    const auto found = FPickLists.find(column);
    return found == FPickLists.end() ? QStringList() : found->second;
}

void TDBGrid::EditorOpened(QWidget* editor, const QModelIndex& index) {
    FEditor = editor;
    FEditIndex = index;
}

// The first change of a cell puts its row into editing.
void TDBGrid::EditorChanged() {
    if (Table().State() == TTableState::Browse)
        Reported([this] { Table().Edit(); });
}

bool TDBGrid::CommitEditor() {
    if (!FEditor || !FEditIndex.isValid())
        return true;
    const QString text = EditorText(FEditor);
    if (text == FEditorOriginal)
        return true;
    // One key or click can ask for the same refused text more than once (moving the cell, then
    // closing its editor); the user hears of it once per event.
    if (FRefusing)
        return false;
    FCommitting = true;
    const bool stored = Reported([&] {
        TMemoryTable& table = Table();
        if (table.State() == TTableState::Browse)
            table.Edit();
        table.SetText(table.Field(FEditIndex.column()), text.toStdString());
    });
    FCommitting = false;
    if (stored) {
        FEditorOriginal = text;
    } else {
        FRefusing = true;
        QTimer::singleShot(0, this, [this] { FRefusing = false; });
    }
    return stored;
}

bool TDBGrid::FinishEditor() {
    if (!FEditor)
        return true;
    if (!CommitEditor())
        return false;
    CancelEditor();
    return true;
}

bool TDBGrid::UpdateData() {
    return FinishEditor();
}

void TDBGrid::CancelEditor() {
    if (QWidget* editor = FEditor) {
        FEditor = nullptr;
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

// A refused text sets FCommitFailed, which keeps the editor open and the cell current.
void TDBGrid::commitData(QWidget* editor) {
    if (editor != FEditor || FCommitting)
        return;
    FCommitFailed = !CommitEditor();
}

void TDBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor != FEditor) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    if (FCommitting)
        return;
    if (hint == QAbstractItemDelegate::RevertModelCache) {
        // Esc: first the cell's own text comes back, then the row's changes go.
        if (EditorText(editor) != FEditorOriginal) {
            SetEditorText(editor, FEditorOriginal);
            return;
        }
        CancelEditor();
        Reported([this] { Table().Cancel(); });
        return;
    }
    if (FCommitFailed) {
        editor->setFocus();
        return;
    }
    FEditor = nullptr;
    QTableView::closeEditor(editor, hint);
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (FSyncing) {
        QTableView::currentChanged(current, previous);
        return;
    }
    FCommitFailed = false;
    QTableView::currentChanged(current, previous);
    if (FCommitFailed) {
        FSyncing = true;
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
        FSyncing = false;
        if (FEditor)
            FEditor->setFocus();
        return;
    }
    if (!current.isValid())
        return;
    FColumn = current.column();
    TMemoryTable& table = Table();
    if (table.Active() && current.row() != table.CurrentRow())
        Reported([&] { table.MoveTo(current.row()); });
}

// The grid's current cell follows the table's current row.
void TDBGrid::ShowCurrent() {
    const TMemoryTable& table = Table();
    const int row = table.Active() ? table.CurrentRow() : -1;
    if (row < 0 || row >= FModel.rowCount() || currentIndex().row() == row)
        return;
    FSyncing = true;
    selectionModel()->setCurrentIndex(FModel.index(row, FColumn),
                                      QItemSelectionModel::ClearAndSelect);
    FSyncing = false;
}

// A new row left empty goes again when the focus leaves the grid for another control.
void TDBGrid::FocusChanged(QWidget* old, QWidget* now) {
    const auto inGrid = [this](const QWidget* widget) {
        return widget && (widget == this || isAncestorOf(widget));
    };
    if (!now || now->window() != window() || !inGrid(old) || inGrid(now))
        return;
    TMemoryTable& table = Table();
    if (table.State() == TTableState::Insert && !table.Modified())
        Reported([&] { table.Cancel(); });
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    TMemoryTable& table = Table();
    if (!table.Active()) {
        QTableView::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool onLastRow = currentIndex().row() >= FModel.rowCount() - 1;
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        Reported([&] { table.Cancel(); });
    } else if (event->key() == Qt::Key_Insert && modifiers == Qt::NoModifier) {
        if (FinishEditor())
            Reported([&] { table.Insert(); });
    } else if (event->key() == Qt::Key_Down && modifiers == Qt::NoModifier && onLastRow) {
        const bool emptyNewRow = table.State() == TTableState::Insert && !table.Modified();
        if (FinishEditor() && !emptyNewRow)
            Reported([&] { table.Append(); });
    } else if (event->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
        DeleteRecord();
    } else {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TDBGrid::DeleteRecord() {
    TMemoryTable& table = Table();
    if (table.RecordCount() == 0 || !FinishEditor())
        return;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"),
                    QStringLiteral("Delete record?"), QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Ok);
    if (box.exec() == QMessageBox::Ok)
        Reported([&] { table.Delete(); });
}

QModelIndex TDBGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    if (cursorAction == MoveNext)
        return NextEditable(currentIndex(), 1);
    if (cursorAction == MovePrevious)
        return NextEditable(currentIndex(), -1);
    return QTableView::moveCursor(cursorAction, modifiers);
}

QModelIndex TDBGrid::NextEditable(const QModelIndex& from, int step) const {
    const int columns = FModel.columnCount();
    const int rows = FModel.rowCount();
    if (!from.isValid() || columns == 0)
        return from;
    const QHeaderView* header = horizontalHeader();
    int row = from.row();
    int visual = header->visualIndex(from.column());
    for (int tried = 0; tried < rows * columns; ++tried) {
        visual += step;
        if (visual >= columns) {
            visual = 0;
            ++row;
        } else if (visual < 0) {
            visual = columns - 1;
            --row;
        }
        if (row < 0 || row >= rows)
            break;
        const int column = header->logicalIndex(visual);
        if (!FModel.ReadOnly(column) && !header->isSectionHidden(column))
            return FModel.index(row, column);
    }
    return from;
}
