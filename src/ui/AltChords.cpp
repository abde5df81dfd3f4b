#include "ui/AltChords.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

class TAltChordFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && IsAltChord(*static_cast<QKeyEvent*>(event))) {
            QApplication::beep();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

bool IsAltChord(const QKeyEvent& event) {
    const QString text = event.text();
    return (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier)) && !text.isEmpty() &&
           text.at(0).isPrint();
}

void RefuseAltChords(QWidget* edit) {
    edit->installEventFilter(new TAltChordFilter(edit));
}
