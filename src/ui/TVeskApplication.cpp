#include "ui/TVeskApplication.h"

#include "platform/error_text.h"
#include "ui/Fonts.h"
#include "ui/TVeskStyle.h"

#include <QMessageBox>

namespace {

// The title of the taskbar button and of the error report. Set as the application name, not the
// display name, so that the platform does not append it to the window's own caption.
const char* const ApplicationTitle = "Rumiva - Vesk";

} // namespace

TVeskApplication::TVeskApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(ApplicationTitle));
    setStyle(new TVeskStyle);
    setFont(SansFont(8, false));
}

bool TVeskApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        ShowException(failure);
        return false;
    }
}

void ShowException(const std::exception& failure) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(ApplicationTitle),
                    QString::fromStdString(ErrorReportText(failure.what())), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
