#include "ui/RunVesk.h"

#include <QCoreApplication>
#include <QTimer>

// The program's own start-up, ending as soon as its window is shown with the first estimate.
int main(int argc, char** argv) {
    return RunVesk(argc, argv, [] {
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    });
}
