#pragma once

#include <QApplication>

#include <exception>

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
