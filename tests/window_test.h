#pragma once

#include "platform/regional.h"
#include "ui/TNumericEdit.h"
#include "ui/TRadioGroup.h"
#include "ui/TfrmVeskIn.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The main window as its user meets it: widgets found by their names, driven with the mouse and
// the keyboard, the model only looked at.
class TWindowTest : public testing::Test {
protected:
    void Create(char separator = '.') {
        SetRegional({separator, ""});
        FWindow = std::make_unique<TfrmVeskIn>();
    }
    void TearDown() override { SetRegional({'.', ","}); }

    void Show() {
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    template <class T> T* Find(const char* name) const {
        T* child = FWindow->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    TNumericEdit* Input(const char* name) const { return Find<TNumericEdit>(name); }
    std::string Text(const char* name) const { return Input(name)->text().toStdString(); }
    std::string Estimate() const { return Find<QLabel>("ilEst")->text().toStdString(); }
    const TVeskDairy& Dairy() const { return FWindow->Dairy(); }

    // A window left inactive by a closed dialog is active again once the user clicks into it.
    void Activate() {
        if (!FWindow->isActiveWindow())
            Show();
    }
    // Clicks into the input; the input left takes its leave, as when the user clicks.
    void ClickInto(const char* name) {
        Activate();
        TNumericEdit* input = Input(name);
        QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(8, input->height() / 2));
        ASSERT_TRUE(input->hasFocus()) << name;
    }
    // Clicks into the input and replaces its whole text by typing.
    void Type(const char* name, const char* text) {
        ClickInto(name);
        QTest::keyClick(Input(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Input(name), QString::fromLatin1(text));
    }
    // Clicks the radio button itself, not the empty part of its cell.
    void ClickItem(const char* group, int index) {
        QRadioButton* item = Find<TRadioGroup>(group)->Item(index);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
    }
    void ClickTab(const char* page) {
        auto* pages = Find<QTabWidget>("pc");
        QTabBar* tabs = pages->tabBar();
        const int index = pages->indexOf(Find<QWidget>(page));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        ASSERT_EQ(pages->currentIndex(), index) << page;
    }
    // Clicks the action's button on a toolbar, once the idle update has enabled it.
    void Press(const char* bar, const char* action) {
        Idle();
        QTest::mouseClick(Find<QToolBar>(bar)->widgetForAction(Find<QAction>(action)),
                          Qt::LeftButton);
    }
    // F9, wherever the focus is.
    void Calculate() {
        Activate();
        QTest::keyClick(FWindow.get(), Qt::Key_F9);
    }
    QWidget* CurrentPage() const { return Find<QTabWidget>("pc")->currentWidget(); }
    // What the window does whenever the application is about to wait for events.
    void Idle() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }

    std::unique_ptr<TfrmVeskIn> FWindow;
};
