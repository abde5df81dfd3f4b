#pragma once

#include <QAction>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

// Clicks the toolbar button of the window's command as the user does, so that a failure meets
// the default error report.
inline void ClickToolButton(QWidget& window, const char* action) {
    QAction* command = window.findChild<QAction*>(QLatin1String(action));
    ASSERT_NE(command, nullptr) << action;
    for (QToolBar* bar : window.findChildren<QToolBar*>())
        if (QWidget* button = bar->widgetForAction(command)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    ADD_FAILURE() << "no button for " << action;
}
