#include "ui/TRadioGroup.h"

#include "model/NumericRules.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setSpacing(2);
    // Items fill the first column from top to bottom, then the next.
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        FButtons->addButton(button, i);
        layout->addWidget(button, i % rows, i / rows);
    }
    connect(FButtons, &QButtonGroup::idToggled, this, &TRadioGroup::ItemToggled);
}

QRadioButton* TRadioGroup::Item(int index) const {
    return static_cast<QRadioButton*>(FButtons->button(index));
}

int TRadioGroup::Count() const {
    return static_cast<int>(FButtons->buttons().size());
}

void TRadioGroup::SetItemIndex(int index) {
    const int clamped = ClampRadioIndex(index, Count());
    if (clamped == FItemIndex)
        return;
    FItemIndex = clamped;
    if (clamped >= 0) {
        Item(clamped)->setChecked(true);
    } else if (QAbstractButton* checked = FButtons->checkedButton()) {
        // An exclusive group cannot uncheck its last checked button.
        FButtons->setExclusive(false);
        checked->setChecked(false);
        FButtons->setExclusive(true);
    }
    emit itemClicked();
}

void TRadioGroup::ItemToggled(int id, bool checked) {
    if (!checked || id == FItemIndex)
        return;
    FItemIndex = id;
    emit itemClicked();
}
