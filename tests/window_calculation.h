#pragma once

#include "modal_answer.h"

#include <QAbstractItemView>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <vector>

// Presses F9 in the main window as the user does; returns the message boxes shown.
inline std::vector<TModalAnswer::TBox> PressF9(QWidget& window) {
    // The report view is made at the first report; an earlier one must not pass for a new one.
    if (auto* report = window.findChild<QTextEdit*>(QStringLiteral("M")))
        report->clear();
    // A message box closed before may leave the window inactive, where F9 reaches nothing.
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    TModalAnswer answer;
    QTest::keyClick(&window, Qt::Key_F9);
    return answer.Boxes();
}

// F9 with no message: the report page shows a report and the seven restrictions fill the grid.
inline void ExpectCalculates(QWidget& window) {
    for (const TModalAnswer::TBox& box : PressF9(window))
        ADD_FAILURE() << "F9 showed " << box.Text.toStdString();
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("pc"));
    EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("tsRes"));
    EXPECT_TRUE(window.findChild<QTextEdit*>(QStringLiteral("M"))
                    ->toPlainText()
                    .contains(QStringLiteral("Peso")));
    // The grid is built when its page is first shown; look at it there, then return to the report.
    QWidget* report = pages->currentWidget();
    pages->setCurrentWidget(window.findChild<QWidget*>(QStringLiteral("tsGird")));
    auto* grid = window.findChild<QAbstractItemView*>(QStringLiteral("DBGrid1"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 7);
    pages->setCurrentWidget(report);
}

// One default error report: the application title, the error symbol, one OK button.
inline void ExpectOneErrorReport(const std::vector<TModalAnswer::TBox>& boxes,
                                 const QString& text) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes.front().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(boxes.front().Text.toStdString(), text.toStdString());
    EXPECT_EQ(boxes.front().Icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.front().Buttons, QMessageBox::Ok);
}
