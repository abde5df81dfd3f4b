#include "ui/TTableModel.h"

namespace {

Qt::Alignment ToAlignment(TFieldAlignment alignment) {
    switch (alignment) {
    case TFieldAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TFieldAlignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TFieldAlignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

TTableModel::TTableModel(TMemoryTable& table, QObject* parent)
    : QAbstractTableModel(parent), FTable(table),
      FReadOnly(static_cast<std::size_t>(table.FieldCount()), false) {
    FRowCount = FTable.Active() ? FTable.RecordCount() : 0;
    FObserver = FTable.AddObserver({[this] { TableDataChanged(); },
                                    [this] {
                                        IndicatorChanged();
                                        emit currentRowChanged();
                                    },
                                    [this] {
                                        IndicatorChanged();
                                        emit stateChanged();
                                    }});
}

TTableModel::~TTableModel() {
    FTable.RemoveObserver(FObserver);
}

void TTableModel::SetReadOnly(int column, bool readOnly) {
    FReadOnly.at(static_cast<std::size_t>(column)) = readOnly;
}

bool TTableModel::ReadOnly(int column) const {
    return FReadOnly.at(static_cast<std::size_t>(column));
}

// The table says only that something changed: a new row count resets the views, otherwise every
// cell is redrawn.
void TTableModel::TableDataChanged() {
    const int rows = FTable.Active() ? FTable.RecordCount() : 0;
    if (rows != FRowCount) {
        beginResetModel();
        FRowCount = rows;
        endResetModel();
    } else if (rows > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
    }
}

void TTableModel::IndicatorChanged() {
    if (FRowCount > 0)
        emit headerDataChanged(Qt::Vertical, 0, FRowCount - 1);
}

int TTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FRowCount;
}

int TTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FTable.FieldCount();
}

QVariant TTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TTableField& field = FTable.Field(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(field.DisplayText(FTable.Cell(index.row(), field)));
    case Qt::EditRole:
        return QString::fromStdString(field.EditText(FTable.Cell(index.row(), field)));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToAlignment(field.Alignment()));
    default:
        return {};
    }
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columnCount())
            return {};
        return QString::fromStdString(FTable.Field(section).DisplayLabel());
    }
    if (section != FTable.CurrentRow())
        return QString();
    switch (FTable.State()) {
    case TTableState::Edit:
        return QStringLiteral("I");
    case TTableState::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral("▶");
    }
}

Qt::ItemFlags TTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!ReadOnly(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}
