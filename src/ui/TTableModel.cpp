#include "ui/TTableModel.h"

#include "platform/database_error.h"

#include <algorithm>
#include <utility>

namespace {

const TFieldValue NullValue;

// Numbers right, texts left, flags centred; indexed by the kind: Integer, Text, Currency, Boolean.
const Qt::AlignmentFlag Alignments[] = {Qt::AlignRight, Qt::AlignLeft, Qt::AlignRight,
                                        Qt::AlignHCenter};

} // namespace

TTableField& TTableModel::AddField(std::string fieldName, TFieldKind kind, int size) {
    beginInsertColumns({}, FieldCount(), FieldCount());
    FReadOnly.push_back(false);
    FFields.push_back(
        {.FieldName = std::move(fieldName), .Kind = kind, .Size = size, .Index = FieldCount()});
    endInsertColumns();
    return FFields.back();
}

void TTableModel::CheckActive() const {
    if (!Active())
        throw EDatabaseError("Dataset is not active");
}

void TTableModel::Open() {
    if (!Active())
        SetState(TTableState::Browse);
}

void TTableModel::Close() {
    if (!Active())
        return;
    beginResetModel();
    FRows.clear();
    FCurrent = -1;
    FState = TTableState::Inactive;
    endResetModel();
    emit stateChanged();
}

void TTableModel::AppendRecord(std::vector<TFieldValue> values) {
    EndEdit();
    values.resize(FFields.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = FFields[i].Fitted(std::move(values[i]));
    beginInsertRows({}, rowCount(), rowCount());
    FRows.push_back({++FLastRowId, std::move(values)});
    endInsertRows();
    if (FCurrent < 0)
        SetCurrent(0);
}

void TTableModel::BeginNewRow(bool atEnd) {
    EndEdit();
    const int position = atEnd ? rowCount() : std::max(FCurrent, 0);
    FRowBeforeInsert = FCurrent;
    beginInsertRows({}, position, position);
    FRows.insert(FRows.begin() + position,
                 {++FLastRowId, std::vector<TFieldValue>(FFields.size())});
    if (FCurrent >= position)
        ++FCurrent;
    endInsertRows();
    FModified = false;
    SetCurrent(position);
    SetState(TTableState::Insert);
}

void TTableModel::Edit() {
    CheckActive();
    if (FState != TTableState::Browse || FCurrent < 0)
        return;
    FOriginal = FRows[FCurrent];
    FModified = false;
    SetState(TTableState::Edit);
}

void TTableModel::EndRow() {
    FModified = false;
    FOriginal = {};
    SetState(TTableState::Browse);
}

void TTableModel::CancelRow() {
    if (FState == TTableState::Edit) {
        if (FModified) {
            FRows[FCurrent] = std::move(FOriginal);
            emit dataChanged(index(FCurrent, 0), index(FCurrent, FieldCount() - 1));
        }
        EndRow();
        return;
    }
    const int row = std::exchange(FCurrent, -1);
    beginRemoveRows({}, row, row);
    FRows.erase(FRows.begin() + row);
    endRemoveRows();
    EndRow();
    SetCurrent(FRowBeforeInsert);
}

void TTableModel::EndEdit() {
    CheckActive();
    if (FState == TTableState::Browse)
        return;
    if (FModified)
        EndRow();
    else
        CancelRow();
}

void TTableModel::Post() {
    CheckActive();
    if (FState != TTableState::Browse)
        EndRow();
}

void TTableModel::Cancel() {
    CheckActive();
    if (FState != TTableState::Browse)
        CancelRow();
}

void TTableModel::Delete() {
    CheckActive();
    if (FState != TTableState::Insert)
        throw EDatabaseError("Cannot delete records from this table");
    CancelRow();
}

// Moves to row, counted before an edit in progress ends: when that edit is an unmodified new
// row above row, the row moves up one place as the new row disappears.
void TTableModel::Go(int row) {
    if (FState == TTableState::Insert && !FModified && row > FCurrent)
        --row;
    EndEdit();
    SetCurrent(std::min(row, rowCount() - 1));
}

void TTableModel::First() {
    EndEdit();
    SetCurrent(FRows.empty() ? -1 : 0);
}

void TTableModel::Next() {
    const bool last = FCurrent + 1 >= rowCount();
    Go(FCurrent + 1);
    FEof = last;
}

void TTableModel::MoveTo(int row) {
    CheckActive();
    if (row < 0 || row >= rowCount())
        throw EDatabaseError("Record not found");
    if (row != FCurrent)
        Go(row);
}

bool TTableModel::GotoBookmark(TBookmark bookmark) {
    EndEdit();
    const auto found = std::ranges::find(FRows, bookmark, &TRow::Id);
    if (found == FRows.end())
        return false;
    SetCurrent(static_cast<int>(found - FRows.begin()));
    return true;
}

const TFieldValue& TTableModel::Cell(int row, const TTableField& field) const {
    CheckActive();
    return row < 0 ? NullValue : FRows.at(row).Values.at(field.Index);
}

void TTableModel::SetText(const QModelIndex& index, std::string_view text) {
    CheckActive();
    const int column = index.column();
    TFieldValue value = Field(column).FromText(text);
    MoveTo(index.row());
    Edit();
    FRows[FCurrent].Values[column] = std::move(value);
    FModified = true;
    emit dataChanged(this->index(FCurrent, column), this->index(FCurrent, column));
}

// Every move clears the end-of-table mark.
void TTableModel::SetCurrent(int row) {
    FEof = false;
    IndicatorChanged(std::exchange(FCurrent, row));
    IndicatorChanged(row);
}

void TTableModel::SetState(TTableState state) {
    FState = state;
    IndicatorChanged(FCurrent);
    emit stateChanged();
}

void TTableModel::IndicatorChanged(int row) {
    if (row >= 0 && row < rowCount())
        emit headerDataChanged(Qt::Vertical, row, row);
}

int TTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FieldCount();
}

QVariant TTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TTableField& field = Field(index.column());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(field.DisplayText(Cell(index.row(), field)));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Alignments[int(field.Kind)] | Qt::AlignVCenter);
    return {};
}

bool TTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    try {
        SetText(index, value.toString().toStdString());
    } catch (const EDatabaseError&) {
        return false;
    }
    return true;
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < FieldCount()
                   ? QVariant(QString::fromStdString(Field(section).DisplayLabel))
                   : QVariant();
    // Indexed by the state: Inactive, Browse, Edit, Insert.
    static const char* const marks[] = {"", "▶", "I", "*"};
    return QString::fromUtf8(section == FCurrent ? marks[int(FState)] : "");
}

Qt::ItemFlags TTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return FReadOnly.at(index.column()) ? flags : flags | Qt::ItemIsEditable;
}
