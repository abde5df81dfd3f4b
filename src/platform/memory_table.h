#pragma once

#include "platform/table_field.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class TTableState { Inactive, Browse, Edit, Insert };

// A stored row, found again by GotoBookmark wherever it has moved. The empty bookmark (no current
// row, or a new row not yet posted) returns nowhere.
struct TBookmark {
    uint64_t Row = 0;
};

// What a view hears from the table. Any callback may be empty.
struct TTableObserver {
    std::function<void()> DataChanged;    // rows added or removed, values changed
    std::function<void()> CurrentChanged; // another row became current
    std::function<void()> StateChanged;   // opened, closed, an edit or a new row begun or ended
};

// An in-memory table: fixed fields, rows kept in the order they were added, one current row and
// one row at a time being edited or inserted. Rows exist only while the table is open.
// Rows are numbered from 0; a new row being inserted counts among them at its place.
class TMemoryTable {
public:
    TMemoryTable() = default;
    TMemoryTable(const TMemoryTable&) = delete;
    TMemoryTable& operator=(const TMemoryTable&) = delete;

    // Fields are added while the table is closed; the reference stays valid for the table's life.
    TTableField& AddField(std::string fieldName, TFieldKind kind, int size = 0);
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TTableField& Field(int index);
    const TTableField& Field(int index) const;
    // EDatabaseError when there is no such field.
    TTableField& FieldByName(std::string_view fieldName);
    const TTableField& FieldByName(std::string_view fieldName) const;

    // When false, Delete refuses to remove a stored row. True until set.
    bool EnableDelete() const { return FEnableDelete; }
    void SetEnableDelete(bool enable) { FEnableDelete = enable; }

    TTableState State() const { return FState; }
    bool Active() const { return FState != TTableState::Inactive; }
    // Opening a closed table creates it new and empty; an open table stays as it is.
    void Open();
    // Discards every row, with any edit or new row, without a question.
    void Close();

    // Each of these first ends an edit in progress as moving does (see First).
    void Append(); // a new row at the end
    void Insert(); // a new row at the current row, which moves down
    // A complete row at the end in one step, values in field order (missing ones null), posted at
    // once and made current; observers see no edit state. Nothing is added when a value fails.
    void AppendRecord(std::vector<TFieldValue> values);

    // Begins editing the current row (a new row when the table is empty).
    void Edit();
    // Stores the row being edited or inserted; nothing to do while browsing.
    void Post();
    // Restores the row being edited or removes the new row; nothing to do while browsing.
    void Cancel();
    // A new row is discarded; a stored row is removed, or refused while EnableDelete is false.
    void Delete();
    // Whether the current edit or new row has been given any value.
    bool Modified() const { return FModified; }

    // Moving ends an edit in progress first: a modified row is posted, an unmodified one is
    // cancelled (an unmodified new row disappears, the rows after it moving up).
    void First();
    void Next(); // on the last row, sets the end-of-table mark instead
    void Prior();
    void MoveTo(int row); // staying on the current row keeps an edit going
    // True after Next on the last row, on an empty table, and while closed.
    bool Eof() const;
    int CurrentRow() const { return FCurrent; } // -1 when there are no rows
    int RecordCount() const { return static_cast<int>(FRows.size()); }

    TBookmark Bookmark() const;
    // EDatabaseError "Record not found" when the row no longer exists.
    void GotoBookmark(TBookmark bookmark);

    // The value of field in the current row; null when there is no current row.
    const TFieldValue& Value(const TTableField& field) const;
    // Assign to the current row while editing or inserting; a refused value keeps the old one.
    void SetValue(const TTableField& field, TFieldValue value);
    void SetText(const TTableField& field, std::string_view text);
    // The value of field in any row, for views.
    const TFieldValue& Cell(int row, const TTableField& field) const;

    // Observers stay silent while controls are disabled (nestable); the last EnableControls
    // tells each observer once of each kind of change that happened meanwhile.
    void DisableControls() { ++FDisableCount; }
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }
    int AddObserver(TTableObserver observer);
    void RemoveObserver(int id);

private:
    struct TRow {
        uint64_t Id;
        std::vector<TFieldValue> Values;
    };
    struct TSnapshot {
        TTableState State;
        int Current;
        uint64_t CurrentId;
        uint64_t DataVersion;
    };

    void CheckActive() const;
    void CheckEditing() const;
    int IndexOf(const TTableField& field) const;
    TRow NewRow();
    void EndEdit();
    void PostRow();
    void CancelRow();
    void BeginNewRow(int position);
    void Go(int row);
    void Store(const TTableField& field, TFieldValue value);
    void RowsChanged() { ++FDataVersion; }

    TSnapshot Snapshot() const;
    void Report(const TSnapshot& before);
    void Notify();
    // Runs one public operation and tells observers what it changed, also when it fails halfway.
    template <class TOperation> void Change(TOperation operation);

    std::vector<std::unique_ptr<TTableField>> FFields;
    std::vector<TRow> FRows;
    TTableState FState = TTableState::Inactive;
    int FCurrent = -1;
    bool FEof = false;
    bool FModified = false;
    bool FEnableDelete = true;
    TRow FOriginal{};          // the row as it was before the current edit
    int FRowBeforeInsert = -1; // the current row before a new row was begun
    uint64_t FLastRowId = 0;
    uint64_t FDataVersion = 0;

    int FDisableCount = 0;
    bool FPendingData = false;
    bool FPendingCurrent = false;
    bool FPendingState = false;
    std::vector<std::pair<int, TTableObserver>> FObservers;
    int FLastObserverId = 0;
};
