#pragma once

#include "platform/memory_table.h"

#include <QAbstractTableModel>

#include <vector>

// The rows of a TMemoryTable for item views: one column per field, titled with its display
// label, cells shown and edited as the field's texts. The vertical header is the indicator: it
// marks the current row, and whether it is being edited or is a new row.
class TTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TTableModel(TMemoryTable& table, QObject* parent = nullptr);
    ~TTableModel() override;

    TMemoryTable& Table() const { return FTable; }
    // Read-only columns take no editor; their fields themselves stay writable.
    void SetReadOnly(int column, bool readOnly);
    bool ReadOnly(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void currentRowChanged();
    void stateChanged();

private:
    void TableDataChanged();
    void IndicatorChanged();

    TMemoryTable& FTable;
    int FObserver;
    int FRowCount = 0;
    std::vector<bool> FReadOnly;
};
