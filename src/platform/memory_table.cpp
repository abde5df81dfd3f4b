#include "platform/memory_table.h"

#include "platform/database_error.h"

#include <algorithm>
#include <utility>

namespace {

const TFieldValue NullValue;

} // namespace

TTableField& TMemoryTable::AddField(std::string fieldName, TFieldKind kind, int size) {
    if (Active())
        throw EDatabaseError("Cannot perform this operation on an open dataset");
    const bool taken = std::any_of(FFields.begin(), FFields.end(), [&](const auto& field) {
        return field->FieldName() == fieldName;
    });
    if (taken)
        throw EDatabaseError("Duplicate field name '" + fieldName + "'");
    FFields.push_back(
        std::make_unique<TTableField>(std::move(fieldName), kind, size, FieldCount()));
    return *FFields.back();
}

TTableField& TMemoryTable::Field(int index) {
    return const_cast<TTableField&>(std::as_const(*this).Field(index));
}

const TTableField& TMemoryTable::Field(int index) const {
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError("Field index out of range");
    return *FFields[index];
}

TTableField& TMemoryTable::FieldByName(std::string_view fieldName) {
    return const_cast<TTableField&>(std::as_const(*this).FieldByName(fieldName));
}

const TTableField& TMemoryTable::FieldByName(std::string_view fieldName) const {
    for (const auto& field : FFields)
        if (field->FieldName() == fieldName)
            return *field;
    throw EDatabaseError("Field '" + std::string(fieldName) + "' not found");
}

template <class TOperation> void TMemoryTable::Change(TOperation operation) {
    const TSnapshot before = Snapshot();
    try {
        operation();
    } catch (...) {
        Report(before);
        throw;
    }
    Report(before);
}

void TMemoryTable::Open() {
    Change([&] {
        if (Active())
            return;
        FState = TTableState::Browse;
        FCurrent = -1;
        FEof = false;
        RowsChanged();
    });
}

void TMemoryTable::Close() {
    Change([&] {
        if (!Active())
            return;
        FRows.clear();
        FOriginal = {};
        FState = TTableState::Inactive;
        FCurrent = -1;
        FModified = false;
        RowsChanged();
    });
}

void TMemoryTable::CheckActive() const {
    if (!Active())
        throw EDatabaseError("Dataset is not active");
}

void TMemoryTable::CheckEditing() const {
    CheckActive();
    if (FState != TTableState::Edit && FState != TTableState::Insert)
        throw EDatabaseError("Dataset not in edit or insert mode");
}

int TMemoryTable::IndexOf(const TTableField& field) const {
    const int index = field.Index();
    if (index < 0 || index >= FieldCount() || FFields[index].get() != &field)
        throw EDatabaseError("Field '" + field.FieldName() + "' does not belong to this table");
    return index;
}

TMemoryTable::TRow TMemoryTable::NewRow() {
    return TRow{++FLastRowId, std::vector<TFieldValue>(FFields.size())};
}

void TMemoryTable::PostRow() {
    FState = TTableState::Browse;
    FModified = false;
    FOriginal = {};
}

void TMemoryTable::CancelRow() {
    if (FState == TTableState::Edit) {
        if (FModified) {
            FRows[FCurrent] = std::move(FOriginal);
            RowsChanged();
        }
    } else {
        FRows.erase(FRows.begin() + FCurrent);
        FCurrent = FRowBeforeInsert;
        RowsChanged();
    }
    PostRow();
}

void TMemoryTable::EndEdit() {
    CheckActive();
    if (FState == TTableState::Browse)
        return;
    if (FModified)
        PostRow();
    else
        CancelRow();
}

void TMemoryTable::BeginNewRow(int position) {
    FRowBeforeInsert = FCurrent;
    FRows.insert(FRows.begin() + position, NewRow());
    FCurrent = position;
    FState = TTableState::Insert;
    FModified = false;
    FEof = false;
    RowsChanged();
}

void TMemoryTable::Append() {
    Change([&] {
        EndEdit();
        BeginNewRow(RecordCount());
    });
}

void TMemoryTable::Insert() {
    Change([&] {
        EndEdit();
        BeginNewRow(std::max(FCurrent, 0));
    });
}

void TMemoryTable::AppendRecord(std::vector<TFieldValue> values) {
    Change([&] {
        EndEdit();
        if (values.size() > FFields.size())
            throw EDatabaseError("Too many values for the fields of the table");
        TRow row = NewRow();
        for (std::size_t i = 0; i < values.size(); ++i)
            row.Values[i] = FFields[i]->Checked(std::move(values[i]));
        FRows.push_back(std::move(row));
        FCurrent = RecordCount() - 1;
        FEof = false;
        RowsChanged();
    });
}

void TMemoryTable::Edit() {
    Change([&] {
        CheckActive();
        if (FState != TTableState::Browse)
            return;
        if (FRows.empty()) {
            BeginNewRow(0);
            return;
        }
        FOriginal = FRows[FCurrent];
        FState = TTableState::Edit;
        FModified = false;
    });
}

void TMemoryTable::Post() {
    Change([&] {
        CheckActive();
        if (FState != TTableState::Browse)
            PostRow();
    });
}

void TMemoryTable::Cancel() {
    Change([&] {
        CheckActive();
        if (FState != TTableState::Browse)
            CancelRow();
    });
}

void TMemoryTable::Delete() {
    Change([&] {
        CheckActive();
        if (FState == TTableState::Insert) {
            CancelRow();
            return;
        }
        if (FRows.empty())
            throw EDatabaseError("Cannot perform this operation on an empty dataset");
        if (!FEnableDelete)
            throw EDatabaseError("Cannot delete records from this table");
        PostRow();
        FRows.erase(FRows.begin() + FCurrent);
        FCurrent = std::min(FCurrent, RecordCount() - 1);
        RowsChanged();
    });
}

// Moves to row, counted before an edit in progress ends: when that edit is an unmodified new
// row above row, the row moves up one place as the new row disappears.
void TMemoryTable::Go(int row) {
    if (FState == TTableState::Insert && !FModified && row > FCurrent)
        --row;
    EndEdit();
    FCurrent = std::min(row, RecordCount() - 1);
    FEof = false;
}

void TMemoryTable::First() {
    Change([&] {
        EndEdit();
        FCurrent = FRows.empty() ? -1 : 0;
        FEof = false;
    });
}

void TMemoryTable::Next() {
    Change([&] {
        CheckActive();
        if (FCurrent + 1 < RecordCount()) {
            Go(FCurrent + 1);
            return;
        }
        EndEdit();
        FCurrent = RecordCount() - 1;
        FEof = true;
    });
}

void TMemoryTable::Prior() {
    Change([&] {
        CheckActive();
        Go(std::max(FCurrent - 1, 0));
    });
}

void TMemoryTable::MoveTo(int row) {
    Change([&] {
        CheckActive();
        if (row < 0 || row >= RecordCount())
            throw EDatabaseError("Record not found");
        if (row != FCurrent)
            Go(row);
    });
}

bool TMemoryTable::Eof() const {
    return !Active() || FEof || FRows.empty();
}

TBookmark TMemoryTable::Bookmark() const {
    if (!Active() || FCurrent < 0 || FState == TTableState::Insert)
        return {};
    return {FRows[FCurrent].Id};
}

void TMemoryTable::GotoBookmark(TBookmark bookmark) {
    Change([&] {
        CheckActive();
        if (bookmark.Row == 0)
            return;
        EndEdit();
        const auto found = std::find_if(FRows.begin(), FRows.end(),
                                        [&](const TRow& row) { return row.Id == bookmark.Row; });
        if (found == FRows.end())
            throw EDatabaseError("Record not found");
        FCurrent = static_cast<int>(found - FRows.begin());
        FEof = false;
    });
}

const TFieldValue& TMemoryTable::Value(const TTableField& field) const {
    CheckActive();
    const int index = IndexOf(field);
    return FCurrent < 0 ? NullValue : FRows[FCurrent].Values[index];
}

void TMemoryTable::SetValue(const TTableField& field, TFieldValue value) {
    Change([&] {
        CheckEditing();
        Store(field, field.Checked(std::move(value)));
    });
}

void TMemoryTable::SetText(const TTableField& field, std::string_view text) {
    Change([&] {
        CheckEditing();
        Store(field, field.FromText(text));
    });
}

void TMemoryTable::Store(const TTableField& field, TFieldValue value) {
    FRows[FCurrent].Values[IndexOf(field)] = std::move(value);
    FModified = true;
    RowsChanged();
}

const TFieldValue& TMemoryTable::Cell(int row, const TTableField& field) const {
    CheckActive();
    if (row < 0 || row >= RecordCount())
        throw EDatabaseError("Record not found");
    return FRows[row].Values[IndexOf(field)];
}

TMemoryTable::TSnapshot TMemoryTable::Snapshot() const {
    return {FState, FCurrent, FCurrent < 0 ? 0 : FRows[FCurrent].Id, FDataVersion};
}

void TMemoryTable::Report(const TSnapshot& before) {
    const TSnapshot after = Snapshot();
    FPendingData = FPendingData || after.DataVersion != before.DataVersion;
    FPendingCurrent =
        FPendingCurrent || after.Current != before.Current || after.CurrentId != before.CurrentId;
    FPendingState = FPendingState || after.State != before.State;
    Notify();
}

void TMemoryTable::EnableControls() {
    if (FDisableCount == 0)
        return;
    --FDisableCount;
    Notify();
}

// Observers may subscribe, unsubscribe or use the table while being told, so the list is copied.
void TMemoryTable::Notify() {
    if (FDisableCount > 0)
        return;
    const bool data = std::exchange(FPendingData, false);
    const bool current = std::exchange(FPendingCurrent, false);
    const bool state = std::exchange(FPendingState, false);
    const auto observers = FObservers;
    for (const auto& [id, observer] : observers) {
        if (data && observer.DataChanged)
            observer.DataChanged();
        if (current && observer.CurrentChanged)
            observer.CurrentChanged();
        if (state && observer.StateChanged)
            observer.StateChanged();
    }
}

int TMemoryTable::AddObserver(TTableObserver observer) {
    FObservers.emplace_back(++FLastObserverId, std::move(observer));
    return FLastObserverId;
}

void TMemoryTable::RemoveObserver(int id) {
    std::erase_if(FObservers, [id](const auto& entry) { return entry.first == id; });
}
