#pragma once

#include "platform/table_field.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

enum class TTableState { Inactive, Browse, Edit, Insert };

// A row, found again by GotoBookmark wherever it has moved; 0 finds none.
using TBookmark = uint64_t;

// An in-memory table as an item model: fixed fields, one column each, rows kept in the order
// they were added, one current row and at most one row at a time being edited or inserted. Rows
// exist only while the table is open; a new row being inserted counts among them at its place.
// The vertical header is the indicator: it marks the current row, and whether it is being
// edited or is new. Failures are EDatabaseError with the text the user sees.
class TTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // The reference stays valid for the table's life.
    TTableField& AddField(std::string fieldName, TFieldKind kind, int size = 0);
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    const TTableField& Field(int column) const { return FFields.at(column); }
    // A read-only column takes no editor in a view; its field itself stays writable.
    void SetReadOnly(const TTableField& field) { FReadOnly.at(field.Index) = true; }

    TTableState State() const { return FState; }
    bool Active() const { return FState != TTableState::Inactive; }
    // Opening a closed table creates it new and empty; an open table stays as it is.
    void Open();
    // Discards every row, with any edit or new row, without a question.
    void Close();

    // A complete row at the end in one step, values in field order (missing ones null), stored
    // at once without passing through an edit. The first row of an empty table becomes current.
    void AppendRecord(std::vector<TFieldValue> values);
    // A new row at the end, or at the current row, which moves down. Like every operation that
    // leaves the current row, they end an edit in progress first.
    void Append() { BeginNewRow(true); }
    void Insert() { BeginNewRow(false); }
    // Begins editing the current row, if there is one.
    void Edit();
    // Stores, or restores, the row being edited; a new row is stored, or removed.
    void Post();
    void Cancel();
    // Discards a new row; a stored row is never deleted, the request is refused.
    void Delete();
    // Whether the current edit or new row has been given any value.
    bool Modified() const { return FModified; }

    // Moving ends an edit in progress first: a modified row is stored, an unmodified one is
    // cancelled (an unmodified new row disappears, the rows after it moving up).
    void First();
    void Next();          // on the last row, sets the end-of-table mark instead
    void MoveTo(int row); // staying on the current row keeps an edit going
    // True after Next on the last row, on an empty table, and while closed.
    bool Eof() const { return !Active() || FEof || FRows.empty(); }
    int CurrentRow() const { return FCurrent; } // -1 when there are no rows

    TBookmark Bookmark() const { return FCurrent < 0 ? 0 : FRows[FCurrent].Id; }
    // Ends an edit in progress and returns to the bookmarked row; false, staying where the table
    // is, when that row no longer exists.
    bool GotoBookmark(TBookmark bookmark);

    // The value of field in a row, or in the current row; null in row -1.
    const TFieldValue& Cell(int row, const TTableField& field) const;
    const TFieldValue& Value(const TTableField& field) const { return Cell(FCurrent, field); }
    // Gives text to the cell's field. The cell's row becomes current and is put into editing
    // first; a refused text changes nothing.
    void SetText(const QModelIndex& index, std::string_view text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The display and the edit role are both the field's text: there is no edit format.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // SetText for the edit role; false when the field refuses the text.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // Opened, closed, or an edit or a new row begun or ended.
    void stateChanged();

private:
    struct TRow {
        TBookmark Id;
        std::vector<TFieldValue> Values;
    };

    void CheckActive() const;
    void BeginNewRow(bool atEnd);
    void EndEdit();
    void EndRow();
    void CancelRow();
    void Go(int row);
    void SetCurrent(int row);
    void SetState(TTableState state);
    void IndicatorChanged(int row);

    std::deque<TTableField> FFields;
    std::vector<bool> FReadOnly;
    std::vector<TRow> FRows;
    TTableState FState = TTableState::Inactive;
    int FCurrent = -1;
    bool FEof = false;
    bool FModified = false;
    TRow FOriginal{};          // the row as it was before the current edit
    int FRowBeforeInsert = -1; // the current row before a new row was begun
    TBookmark FLastRowId = 0;
};
