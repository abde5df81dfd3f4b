#pragma once

#include <QTableView>

class TTableModel;

// A data grid over a TTableModel, whose current row is the grid's: the first change of a cell
// puts its row into editing, the text goes to the field when the cell or the row is left, leaving
// the row stores it, Esc restores the cell and then discards the row, Insert and the down arrow
// on the last row begin a new row, and Ctrl+Delete asks before it deletes.
class TDBGrid : public QTableView {
    Q_OBJECT

public:
    TDBGrid(TTableModel& model, QWidget* parent = nullptr);

    // Gives the text of the open cell editor to its field and closes the editor, as accepting the
    // row does first. False, with the field's message reported, when the field refuses the text.
    bool UpdateData();
    // Closes the cell editor without giving its text to the field.
    void CancelEditor();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Typing edits a cell, or does nothing in a read-only one; it never moves to another row.
    void keyboardSearch(const QString&) override {}

private:
    // The one editor of the grid is always on the current cell.
    QWidget* OpenEditor() const { return indexWidget(currentIndex()); }
    void ShowCurrent();
    void Follow(const QModelIndex& cell);
    void FocusChanged(QWidget* old, QWidget* now);
    void DeleteRecord();

    TTableModel& FModel;
    class TGridDelegate* FDelegate;
    int FColumn = 0;
    // The current cell is following the table (Follow), not moving it.
    bool FFollowing = false;
};
