#include "ui/SuppressToolTip.h"

#include <QEvent>
#include <QWidget>

namespace {

class TToolTipFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::ToolTip || QObject::eventFilter(watched, event);
    }
};

} // namespace

void SuppressToolTip(QWidget* widget) {
    widget->installEventFilter(new TToolTipFilter(widget));
}
