#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <vector>

// Answers every message box that opens while it lives: records what the box showed and closes it
// with the given button, OK (Enter on the default button) unless told otherwise.
class TModalAnswer {
public:
    struct TBox {
        QString Title;
        QString Text;
        QMessageBox::Icon Icon;
        QMessageBox::StandardButtons Buttons;
    };

    explicit TModalAnswer(QMessageBox::StandardButton answer = QMessageBox::Ok) {
        QObject::connect(&FTimer, &QTimer::timeout, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            FBoxes.push_back(
                {box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
            box->done(answer);
        });
        FTimer.start(10);
    }

    const std::vector<TBox>& Boxes() const { return FBoxes; }

private:
    QTimer FTimer;
    std::vector<TBox> FBoxes;
};

// Runs open, which shows a modal dialog and returns once it is closed, and answers the first
// dialog of type T that comes up meanwhile (not the one that may be up already) with answer.
// False when none came up.
template <class T>
bool AnswerDialog(const std::function<void()>& open, const std::function<void(T&)>& answer) {
    const QWidget* before = QApplication::activeModalWidget();
    bool answered = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || dialog == before)
            return;
        timer.stop();
        answered = true;
        answer(*dialog);
    });
    timer.start(10);
    open();
    return answered;
}
