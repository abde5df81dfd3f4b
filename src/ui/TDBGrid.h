#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <QTableView>

#include <map>

class TMemoryTable;
class TTableModel;

// A data grid over a TTableModel that edits as a database grid: the first change of a cell puts
// its row into editing, the text goes to the field when the cell or the row is left, leaving the
// row stores it, Esc restores the cell and then discards the row, Insert and the down arrow on
// the last row begin a new row, and Ctrl+Delete asks before it deletes.
class TDBGrid : public QTableView {
    Q_OBJECT

public:
    TDBGrid(TTableModel& model, QWidget* parent = nullptr);

    TMemoryTable& Table() const;
    // The items of a column's drop-down list; typing stays allowed.
    void SetPickList(int column, const QStringList& items);
    QStringList PickList(int column) const;

    // Gives the text of the open cell editor to its field, as accepting the row does first.
    // False, with the field's message reported, when the field refuses the text.
    bool UpdateData();
    // Closes the cell editor without giving its text to the field.
    void CancelEditor();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class TGridDelegate;

    void EditorOpened(QWidget* editor, const QModelIndex& index);
    void EditorChanged();
    bool CommitEditor();
    // Closes the open editor after giving its text to the field; false when it was refused.
    bool FinishEditor();
    void ShowCurrent();
    void FocusChanged(QWidget* old, QWidget* now);
    void DeleteRecord();
    // The next (step 1) or previous (step -1) editable cell in the shown order, rows wrapping.
    QModelIndex NextEditable(const QModelIndex& from, int step) const;

    TTableModel& FModel;
    std::map<int, QStringList> FPickLists;
    QPointer<QWidget> FEditor;
    QPersistentModelIndex FEditIndex;
    QString FEditorOriginal;
    int FColumn = 0;
    bool FCommitFailed = false;
    bool FRefusing = false;
    bool FCommitting = false;
    bool FSyncing = false;
};
