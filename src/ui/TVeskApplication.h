#pragma once

#include <QApplication>

#include <exception>
#include <utility>

// The application object. Its event dispatch is the default error report: a failure that leaves
// any event handler is shown in a message box and the program goes on with the next event.
class TVeskApplication : public QApplication {
    Q_OBJECT

public:
    TVeskApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows failure as the default error report does: captioned with the application title, an
// error symbol, one OK button and the failure's message with its full stop.
void ShowException(const std::exception& failure);

// Runs a handler that Qt calls and shows its failure there, as the default error report does.
// A failure must not leave through Qt's own code, which is built without clean-up for it: its
// objects would leak and its state stay half changed. Gives whether the handler succeeded.
template <class THandler> bool Reported(THandler&& handler) {
    try {
        std::forward<THandler>(handler)();
        return true;
    } catch (const std::exception& failure) {
        ShowException(failure);
        return false;
    }
}

// Connects a signal to a handler of receiver that reports its own failure.
template <class TSender, class TSignal, class TReceiver>
QMetaObject::Connection ConnectReported(const TSender* sender, TSignal signal, TReceiver* receiver,
                                        void (TReceiver::*handler)()) {
    return QObject::connect(sender, signal, receiver,
                            [receiver, handler] { Reported([&] { (receiver->*handler)(); }); });
}
