#include "ui/TTabSheet.h"

#include <QShowEvent>

void TTabSheet::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored from the taskbar shows its pages again without their becoming visible.
    if (!event->spontaneous())
        emit shown();
}
