#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A captioned group of radio buttons laid out in columns. The selected item is ItemIndex (-1 when
// none is); every change of it, by the user or by SetItemIndex, fires `itemClicked` once.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns,
                QWidget* parent = nullptr);

    int ItemIndex() const { return FItemIndex; }
    // Selects index clamped to -1 .. last item; selecting the current index fires nothing.
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const;
    int Count() const;

signals:
    void itemClicked();

private:
    void ItemToggled(int id, bool checked);

    QButtonGroup* FButtons;
    int FItemIndex = -1;
};
