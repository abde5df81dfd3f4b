#include "ui/TfrmVeskIn.h"

#include "modal_answer.h"
#include "platform/number_text.h"
#include "platform/regional.h"
#include "ui/TNumericEdit.h"
#include "ui/TRadioGroup.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

// The window as the user meets it after start, with a look at its model.
class TfrmVeskInTest : public testing::Test {
protected:
    void Create(char separator = '.') {
        SetRegional({separator, ""});
        FWindow = std::make_unique<TfrmVeskIn>();
    }
    void SetUp() override { Create(); }
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
    QColor OfferedColor() const { return Input("ilCons")->palette().color(QPalette::Text); }
    void SetOfferedColor(const QColor& color) {
        QPalette palette = Input("ilCons")->palette();
        palette.setColor(QPalette::Text, color);
        Input("ilCons")->setPalette(palette);
    }
    // Replaces the whole text of an input by typing.
    void Type(const char* name, const char* text) {
        TNumericEdit* input = Input(name);
        QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(input, QString::fromLatin1(text));
    }
    // Clicks the radio button itself, not the empty part of its cell.
    void ClickItem(const char* group, int index) {
        QRadioButton* item = Find<TRadioGroup>(group)->Item(index);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
    }
    void Idle() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }

    TVeskDairy& Dairy() { return *FWindow->FDairy; }
    void ShowEstimate() { FWindow->ShowEstimate(); }
    void SetCalculado() { FWindow->FCalculado = true; }
    void SetHostLinked() { FWindow->FHostLinked = true; }

    std::unique_ptr<TfrmVeskIn> FWindow;
};

namespace {

class TfrmVeskInStartUp : public TfrmVeskInTest, public testing::WithParamInterface<char> {
protected:
    void SetUp() override { Create(GetParam()); }
};

TEST_P(TfrmVeskInStartUp, ShowsTheDefaultLactatingCow) {
    const std::string separator(1, GetParam());
    EXPECT_EQ(FWindow->windowTitle(),
              QStringLiteral("Vesk: Cálculo del consumo máximo de materia seca (Rev. 2132)"));
    EXPECT_EQ(Find<TRadioGroup>("rgTipo")->ItemIndex(), 0);
    EXPECT_FALSE(Find<QGroupBox>("gbProd")->isHidden());
    EXPECT_FALSE(Find<QGroupBox>("gbTemp")->isHidden());
    EXPECT_FALSE(Find<TRadioGroup>("rgLact")->isHidden());
    EXPECT_TRUE(Find<QGroupBox>("gbPF")->isHidden());
    EXPECT_TRUE(Input("ilGDP")->isEnabled());
    EXPECT_FALSE(Input("ilADG")->isEnabled());
    EXPECT_EQ(Text("ilPeso"), "450");
    const TRadioGroup* rgLact = Find<TRadioGroup>("rgLact");
    ASSERT_EQ(rgLact->ItemIndex(), 1);
    EXPECT_TRUE(rgLact->Item(1)->isChecked());
    EXPECT_EQ(rgLact->Item(1)->text(), QStringLiteral("Segunda lactación"));
    // The default 60 days in milk lie above the input's maximum.
    EXPECT_EQ(Text("ilSem"), "52");
    EXPECT_EQ(Dairy().DIM, 52);
    EXPECT_EQ(Estimate(), "10" + separator + "99");
    EXPECT_EQ(Text("ilCons"), "10" + separator + "00");
    EXPECT_EQ(OfferedColor(), QColor(0, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Separators, TfrmVeskInStartUp, testing::Values('.', ','));

TEST_F(TfrmVeskInTest, ClientAreaBelowTheMenuWithItsBars) {
    Show();
    EXPECT_EQ(FWindow->width(), 749);
    EXPECT_EQ(FWindow->height() - FWindow->menuBar()->height(), 489);
    EXPECT_EQ(FWindow->minimumSize(), FWindow->maximumSize());
    EXPECT_EQ(Find<QToolBar>("tb")->height(), 42);
    EXPECT_EQ(Find<QToolBar>("tbTipo")->width(), 130);
    EXPECT_EQ(Find<QStatusBar>("sb")->height(), 20);
    EXPECT_EQ(Find<QStatusBar>("sb")->geometry().bottom(), FWindow->height() - 1);
    EXPECT_EQ(Find<QTabWidget>("pc")->currentWidget(), Find<QWidget>("tsTipo"));
}

struct TStateCase {
    int From;
    int To;
    bool Prod, Temp, PF, Lact, GDP, ADG;
    const char* Estimate;
};

void PrintTo(const TStateCase& c, std::ostream* os) {
    *os << c.From << " -> " << c.To;
}

class TfrmVeskInStates : public TfrmVeskInTest, public testing::WithParamInterface<TStateCase> {};

TEST_P(TfrmVeskInStates, ClickAppliesTheLayoutAndEstimates) {
    const TStateCase& c = GetParam();
    Show();
    auto* rgTipo = Find<TRadioGroup>("rgTipo");
    ClickItem("rgTipo", c.From);
    ClickItem("rgTipo", c.To);
    EXPECT_EQ(rgTipo->ItemIndex(), c.To);
    EXPECT_EQ(Find<QGroupBox>("gbProd")->isVisible(), c.Prod);
    EXPECT_EQ(Find<QGroupBox>("gbTemp")->isVisible(), c.Temp);
    EXPECT_EQ(Find<QGroupBox>("gbPF")->isVisible(), c.PF);
    EXPECT_EQ(Find<TRadioGroup>("rgLact")->isVisible(), c.Lact);
    EXPECT_EQ(Input("ilGDP")->isEnabled(), c.GDP);
    EXPECT_EQ(Input("ilADG")->isEnabled(), c.ADG);
    for (const char* always : {"gbCrec", "GroupBox1", "ilPeso", "rgTipo"}) {
        EXPECT_TRUE(Find<QWidget>(always)->isVisible()) << always;
        EXPECT_TRUE(Find<QWidget>(always)->isEnabled()) << always;
    }
    EXPECT_EQ(Estimate(), c.Estimate);
}

// Estimates of the default animal: a dry cow of 450 kg close to calving, a heifer of 450 kg
// without gain, the cow at 52 days in milk.
INSTANTIATE_TEST_SUITE_P(
    Layout, TfrmVeskInStates,
    testing::Values(TStateCase{1, 0, true, true, false, true, true, false, "10.99"},
                    TStateCase{0, 1, false, false, true, true, true, false, "6.92"},
                    TStateCase{2, 1, false, false, true, true, true, false, "6.92"},
                    TStateCase{0, 2, false, false, false, false, false, true, "8.60"}));

TEST_F(TfrmVeskInTest, DryCowAndBackKeepsTheMilkInputs) {
    Show();
    Type("ilLeche", "25");
    ClickItem("rgTipo", 1);
    ClickItem("rgTipo", 0);
    EXPECT_EQ(Text("ilLeche"), "25");
    EXPECT_EQ(Dairy().Leche, 25.0f);
    EXPECT_EQ(Dairy().DIM, 52);
}

struct TColorCase {
    const char* Offered;
    QColor Color;
};

void PrintTo(const TColorCase& c, std::ostream* os) {
    *os << c.Offered;
}

class TfrmVeskInOffered : public TfrmVeskInTest, public testing::WithParamInterface<TColorCase> {};

TEST_P(TfrmVeskInOffered, RedOutsideTheLimitsOfTheEstimate) {
    Dairy().ConsumoEstimado = 10;
    SetOfferedColor(Qt::blue);
    Type("ilCons", GetParam().Offered);
    EXPECT_EQ(OfferedColor(), GetParam().Color);
}

// At 8.5 and 10.5 the single-precision deviation lies just beyond 0.15 and -0.05.
INSTANTIATE_TEST_SUITE_P(
    Thresholds, TfrmVeskInOffered,
    testing::Values(TColorCase{"8.5", QColor(255, 0, 0)}, TColorCase{"8.55", QColor(0, 0, 0)},
                    TColorCase{"10", QColor(0, 0, 0)}, TColorCase{"10.49", QColor(0, 0, 0)},
                    TColorCase{"10.5", QColor(255, 0, 0)}, TColorCase{"0", QColor(255, 0, 0)}));

TEST_F(TfrmVeskInTest, EstimateOfZeroLeavesTheColour) {
    Dairy().ConsumoEstimado = 0;
    SetOfferedColor(Qt::blue);
    Type("ilCons", "30");
    EXPECT_EQ(OfferedColor(), QColor(Qt::blue));
}

struct TEqualsCase {
    float Estimate;
    const char* Label;
    const char* Offered;
    QColor Color;
};

void PrintTo(const TEqualsCase& c, std::ostream* os) {
    *os << c.Estimate;
}

class TfrmVeskInEquals : public TfrmVeskInTest, public testing::WithParamInterface<TEqualsCase> {};

TEST_P(TfrmVeskInEquals, TruncatesWhereTheLabelRounds) {
    const TEqualsCase& c = GetParam();
    Dairy().ConsumoEstimado = c.Estimate;
    ShowEstimate();
    EXPECT_EQ(Estimate(), c.Label);
    QTest::mouseClick(Find<QToolButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(Text("ilCons"), c.Offered);
    EXPECT_EQ(OfferedColor(), c.Color);
    EXPECT_EQ(Dairy().Consumo, 10.0f);
}

INSTANTIATE_TEST_SUITE_P(Button, TfrmVeskInEquals,
                         testing::Values(TEqualsCase{12.345f, "12.35", "12.34", QColor(0, 0, 0)},
                                         TEqualsCase{0.29f, "0.29", "0.28", QColor(0, 0, 0)},
                                         TEqualsCase{50.0f, "50.00", "45.00", QColor(0, 0, 0)},
                                         TEqualsCase{-1.0f, "-1.00", "0.00", QColor(255, 0, 0)}));

// Every input must show the new model: an estimate before the last write would read the old
// inputs back into the model.
TEST_F(TfrmVeskInTest, ShowInputsWritesEverythingBeforeItsOneEstimate) {
    Show();
    ClickItem("rgTipo", 2);
    TVeskDairy& model = Dairy();
    model.Tipo = 0;
    model.Lactacion = 2;
    model.Leche = 30;
    model.Grasa = 4;
    model.Proteina = 3.5f;
    model.DIM = 40;
    model.Temperatura = 25;
    model.GDP = 0.5f;
    model.ADG = 0.7f;
    model.Consumo = 20;
    model.Peso = 600;
    model.Freshenning = 30;
    TVeskDairy expected = model;
    expected.EstimateIntake();
    FWindow->ShowInputs();

    EXPECT_EQ(Find<TRadioGroup>("rgTipo")->ItemIndex(), 0);
    EXPECT_FALSE(Find<QGroupBox>("gbProd")->isHidden());
    EXPECT_EQ(Find<TRadioGroup>("rgLact")->ItemIndex(), 2);
    const std::pair<const char*, const char*> shown[] = {
        {"ilLeche", "30.00"}, {"ilGrasa", "4.00"}, {"ilProt", "3.50"}, {"ilSem", "40"},
        {"ilTemp", "25.00"},  {"ilGDP", "0.50"},   {"ilADG", "0.70"},  {"ilCons", "20.00"},
        {"ilPeso", "600"},    {"sePF", "30"}};
    for (const auto& [name, text] : shown)
        EXPECT_EQ(Text(name), text) << name;
    EXPECT_EQ(model.Leche, 30.0f);
    EXPECT_EQ(model.Peso, 600.0f);
    EXPECT_EQ(model.ADG, 0.7f);
    EXPECT_EQ(model.ConsumoEstimado, expected.ConsumoEstimado);
    EXPECT_EQ(Estimate(), FormatFixed(expected.ConsumoEstimado, 2, '.'));
}

class TfrmVeskInEarlyLactation : public TfrmVeskInTest, public testing::WithParamInterface<int> {};

TEST_P(TfrmVeskInEarlyLactation, EstimateFailureReachesTheErrorReport) {
    Show();
    TModalAnswer answer;
    const std::string days = std::to_string(GetParam());
    Type("ilSem", days.c_str());
    ASSERT_EQ(answer.Boxes().size(), 1u);
    const TModalAnswer::TBox& box = answer.Boxes().front();
    EXPECT_EQ(box.Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(box.Text, QStringLiteral("Floating point division by zero."));
    EXPECT_EQ(box.Icon, QMessageBox::Critical);
    EXPECT_EQ(box.Buttons, QMessageBox::Ok);
    EXPECT_EQ(Estimate(), "10.99");
    EXPECT_EQ(Dairy().DIM, GetParam());
    // The program goes on: the next keystroke estimates again.
    Type("ilSem", "8");
    EXPECT_EQ(answer.Boxes().size(), 1u);
    EXPECT_NE(Estimate(), "10.99");
}

INSTANTIATE_TEST_SUITE_P(Days, TfrmVeskInEarlyLactation, testing::Range(1, 7));

TEST_F(TfrmVeskInTest, ConversionErrorHasItsOwnBoxAndTheEstimateFollows) {
    Show();
    TModalAnswer answer;
    Type("ilSem", "9999999999");
    ASSERT_EQ(answer.Boxes().size(), 1u);
    const TModalAnswer::TBox& box = answer.Boxes().front();
    EXPECT_EQ(box.Title, QStringLiteral("Error en entrada de datos"));
    EXPECT_EQ(
        box.Text,
        QStringLiteral("Se encontró un cantidad no válida  en\nalguno de los datos numéricos."));
    EXPECT_EQ(box.Icon, QMessageBox::Critical);
    EXPECT_EQ(box.Buttons, QMessageBox::Ok);
    EXPECT_EQ(Dairy().DIM, 999999999);
    EXPECT_NE(Estimate(), "10.99");
}

struct TPageCase {
    const char* Page;
    const char* Bar;
    const char* View;
};

void PrintTo(const TPageCase& c, std::ostream* os) {
    *os << c.Page;
}

class TfrmVeskInPages : public TfrmVeskInTest, public testing::WithParamInterface<TPageCase> {};

// The window starts without the report and the restrictions; a page's contents appear, laid out,
// as soon as its tab is chosen, without waiting for the event loop.
TEST_P(TfrmVeskInPages, ContentsAreBuiltWhenThePageIsFirstShown) {
    const TPageCase& c = GetParam();
    Show();
    EXPECT_EQ(FWindow->findChild<QWidget*>(QLatin1String(c.View)), nullptr);
    auto* page = Find<QWidget>(c.Page);
    Find<QTabWidget>("pc")->setCurrentWidget(page);
    auto* bar = Find<QToolBar>(c.Bar);
    auto* view = Find<QWidget>(c.View);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(bar->geometry().united(view->geometry()), page->rect());
    EXPECT_FALSE(bar->geometry().intersects(view->geometry()));
}

INSTANTIATE_TEST_SUITE_P(Pages, TfrmVeskInPages,
                         testing::Values(TPageCase{"tsRes", "ToolBar1", "M"},
                                         TPageCase{"tsGird", "ToolBar2", "DBGrid1"}));

TEST_F(TfrmVeskInTest, ShowingTheModelPageEstimatesAgain) {
    Show();
    auto* pc = Find<QTabWidget>("pc");
    pc->setCurrentWidget(Find<QWidget>("tsRes"));
    Find<QLabel>("ilEst")->clear();
    pc->setCurrentWidget(Find<QWidget>("tsTipo"));
    EXPECT_EQ(Estimate(), "10.99");
}

TEST_F(TfrmVeskInTest, F9CalculatesFromEveryPage) {
    Show();
    auto* acCalc = Find<QAction>("acCalc");
    EXPECT_EQ(acCalc->shortcut(), QKeySequence(Qt::Key_F9));
    QSignalSpy calculations(acCalc, &QAction::triggered);
    auto* pc = Find<QTabWidget>("pc");
    for (int page = 0; page < pc->count(); ++page) {
        pc->setCurrentIndex(page);
        QTest::keyClick(pc->currentWidget(), Qt::Key_F9);
        EXPECT_EQ(calculations.count(), page + 1) << "page " << page;
    }
}

TEST_F(TfrmVeskInTest, CtrlSExits) {
    Show();
    EXPECT_EQ(Find<QAction>("FileExit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QTest::keyClick(Input("ilPeso"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(FWindow->isVisible());
}

struct TAccessCase {
    Qt::Key Key;
    const char* Target; // nullptr: the focus stays where it was
};

void PrintTo(const TAccessCase& c, std::ostream* os) {
    *os << QKeySequence(c.Key).toString().toStdString();
}

class TfrmVeskInAccess : public TfrmVeskInTest, public testing::WithParamInterface<TAccessCase> {};

TEST_P(TfrmVeskInAccess, AltLetterMovesTheFocus) {
    Show();
    TNumericEdit* start = Input("ilLeche");
    start->setFocus();
    QTest::keyClick(start, GetParam().Key, Qt::AltModifier);
    QWidget* focus = QApplication::focusWidget();
    if (!GetParam().Target) {
        EXPECT_EQ(focus, start);
        return;
    }
    QWidget* target = Find<QWidget>(GetParam().Target);
    EXPECT_TRUE(focus == target || target->isAncestorOf(focus)) << GetParam().Target;
}

INSTANTIATE_TEST_SUITE_P(Labels, TfrmVeskInAccess,
                         testing::Values(TAccessCase{Qt::Key_C, "ilCons"},
                                         TAccessCase{Qt::Key_L, "rgLact"},
                                         TAccessCase{Qt::Key_P, nullptr},
                                         TAccessCase{Qt::Key_G, nullptr},
                                         TAccessCase{Qt::Key_D, nullptr}));

TEST_F(TfrmVeskInTest, CommandsFollowTheirStateWhenIdle) {
    Show();
    auto* acPrt = Find<QAction>("acPrt");
    auto* acShare = Find<QAction>("acShare");
    auto* acExcel = Find<QAction>("acExcel");
    auto* bold = Find<QAction>("RichEditBold1");
    Idle();
    EXPECT_FALSE(acPrt->isEnabled());
    EXPECT_FALSE(acShare->isEnabled());
    EXPECT_FALSE(acExcel->isEnabled());
    SetCalculado();
    Idle();
    EXPECT_TRUE(acExcel->isEnabled());
    EXPECT_FALSE(acShare->isEnabled());
    SetHostLinked();
    Idle();
    EXPECT_TRUE(acShare->isEnabled());

    EXPECT_FALSE(bold->isEnabled());
    Find<QTabWidget>("pc")->setCurrentWidget(Find<QWidget>("tsRes"));
    auto* M = Find<QTextEdit>("M");
    Idle();
    EXPECT_FALSE(acPrt->isEnabled());
    M->setPlainText(QStringLiteral("Reporte"));
    Idle();
    EXPECT_TRUE(acPrt->isEnabled());
    M->clear();
    Idle();
    EXPECT_FALSE(acPrt->isEnabled());

    EXPECT_FALSE(bold->isEnabled());
    M->setFocus();
    Idle();
    EXPECT_TRUE(bold->isEnabled());
    EXPECT_TRUE(Find<QAction>("RichEditItalic1")->isEnabled());
}

TEST_F(TfrmVeskInTest, HintsSplitIntoTooltipAndStatusText) {
    auto* exit = Find<QAction>("FileExit1");
    EXPECT_EQ(exit->toolTip(), QStringLiteral("Salir"));
    EXPECT_EQ(exit->statusTip(), QStringLiteral("Termina la aplicación"));
    auto* edit = Find<QAction>("DataSetEdit1");
    EXPECT_EQ(edit->toolTip(), edit->statusTip());
    for (QAction* action : Find<QActionGroup>("al")->actions())
        EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
}

} // namespace
