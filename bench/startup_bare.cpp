#include <QApplication>
#include <QMainWindow>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

// The least a Qt window program does to start: a main window with a toolbar and pages, shown,
// then the same quit as the window program's.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.addToolBar(new QToolBar(&window));
    window.setCentralWidget(new QTabWidget(&window));
    window.show();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return application.exec();
}
