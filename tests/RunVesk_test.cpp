#include "ui/RunVesk.h"

#include "temp_folder.h"
#include "ui/TNumericEdit.h"
#include "ui/TRadioGroup.h"
#include "ui/TfrmVeskIn.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The window the program shows, once it is up.
TfrmVeskIn* ShownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<TfrmVeskIn*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

// Runs the program with the arguments after its name; look sees its window once it is shown,
// before the program ends.
int RunWith(std::vector<std::string> arguments, const std::function<void(TfrmVeskIn&)>& look) {
    arguments.insert(arguments.begin(), "vesk");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return RunVesk(static_cast<int>(arguments.size()), argv.data(), [&] {
        TfrmVeskIn* window = ShownWindow();
        EXPECT_NE(window, nullptr);
        if (window)
            look(*window);
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    });
}

// What the window shows after its start-up with one argument or none.
struct TStartCase {
    const char* Name;
    // The model file's name in a temporary folder, or "" for no argument.
    const char* File;
    // Its contents; nullptr leaves the file missing.
    const char* Contents;
    int Tipo;
    const char* Modelo;
    const char* Peso;
    // 10 kg after the start-up, 15 after a load that finds no milk yield.
    float Leche;
    bool ProductionShown;
};

class RunVeskStart : public testing::TestWithParam<TStartCase> {
protected:
    TTempFolder FFolder{"run_vesk"};
};

TEST_P(RunVeskStart, ShowsTheModelOfTheFileNamed) {
    const TStartCase& c = GetParam();
    std::vector<std::string> arguments;
    if (*c.File) {
        arguments.push_back(FFolder.Path() + "/" + c.File);
        if (c.Contents)
            StoreFile(arguments.back(), c.Contents);
    }
    bool looked = false;
    EXPECT_EQ(RunWith(arguments,
                      [&](TfrmVeskIn& window) {
                          looked = true;
                          EXPECT_EQ(window.findChild<TRadioGroup*>("rgTipo")->ItemIndex(), c.Tipo);
                          EXPECT_EQ(window.Dairy().Tipo, c.Tipo);
                          EXPECT_EQ(window.findChild<QLineEdit*>("Modelo")->text().toStdString(),
                                    c.Modelo);
                          EXPECT_EQ(window.findChild<TNumericEdit*>("ilPeso")->text().toStdString(),
                                    c.Peso);
                          EXPECT_EQ(window.Dairy().Leche, c.Leche);
                          EXPECT_EQ(window.findChild<QGroupBox*>("gbProd")->isVisible(),
                                    c.ProductionShown);
                      }),
              0);
    EXPECT_TRUE(looked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunVeskStart,
    testing::Values(TStartCase{"NoArgument", "", nullptr, 0, "", "450", 10, true},
                    TStartCase{"Heifer", "novilla.vm2",
                               "[Data]\r\nTipo=2\r\nPeso=380\r\nADG=0.8\r\n", 2, "novilla", "380",
                               15, false},
                    TStartCase{"MissingFile", "nueva.VM2", nullptr, 0, "nueva", "450", 15, true}),
    [](const testing::TestParamInfo<TStartCase>& info) { return info.param.Name; });

class RunVeskUsage : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(RunVeskUsage, IsOneLineOnStandardErrorBeforeAnyWindow) {
    testing::internal::CaptureStderr();
    bool shown = false;
    EXPECT_EQ(RunWith(GetParam(), [&](TfrmVeskIn&) { shown = true; }), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Uso: vesk [ARCHIVO]\n");
    EXPECT_FALSE(shown);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Arguments, RunVeskUsage,
                         testing::Values(std::vector<std::string>{"vaca.VM2", "toro.VM2"},
                                         std::vector<std::string>{""},
                                         std::vector<std::string>{"--help"},
                                         std::vector<std::string>{"-platform", "offscreen"}));

} // namespace
