#include "ui/TfrmVeskIn.h"

#include "exchange/ModelFile.h"
#include "modal_answer.h"
#include "model_inputs.h"
#include "platform/number_text.h"
#include "temp_folder.h"
#include "window_test.h"

#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QFileDialog>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// The window as the user meets it after start.
class TfrmVeskInTest : public TWindowTest {
protected:
    void SetUp() override {
        Create();
        Show();
    }

    QColor OfferedColor() const { return Input("ilCons")->palette().color(QPalette::Text); }
    void ClickEquals() { QTest::mouseClick(Find<QToolButton>("SpeedButton1"), Qt::LeftButton); }
};

namespace {

const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);

class TfrmVeskInStartUp : public TWindowTest, public testing::WithParamInterface<char> {
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
    EXPECT_EQ(Input("ilCons")->palette().color(QPalette::Text), Black);
}

INSTANTIATE_TEST_SUITE_P(Separators, TfrmVeskInStartUp, testing::Values('.', ','));

TEST_F(TfrmVeskInTest, ClientAreaBelowTheMenuWithItsBars) {
    EXPECT_EQ(FWindow->width(), 749);
    EXPECT_EQ(FWindow->height() - FWindow->menuBar()->height(), 489);
    EXPECT_EQ(FWindow->minimumSize(), FWindow->maximumSize());
    EXPECT_EQ(Find<QToolBar>("tb")->height(), 42);
    EXPECT_EQ(Find<QToolBar>("tbTipo")->width(), 130);
    EXPECT_EQ(Find<QStatusBar>("sb")->height(), 20);
    EXPECT_EQ(Find<QStatusBar>("sb")->geometry().bottom(), FWindow->height() - 1);
    EXPECT_EQ(CurrentPage(), Find<QWidget>("tsTipo"));
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
    Type("ilLeche", "25");
    ClickItem("rgTipo", 1);
    ClickItem("rgTipo", 0);
    EXPECT_EQ(Text("ilLeche"), "25.00");
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
    // A cow giving 9.27 kg of milk at 32.18 degrees is estimated at exactly 10 kg.
    Type("ilLeche", "9.27");
    Type("ilTemp", "32.18");
    ASSERT_EQ(Dairy().ConsumoEstimado, 10.0f);
    // The offered intake starts in the other colour, so that the case must recolour it.
    const bool red = GetParam().Color == Red;
    Type("ilCons", red ? "10" : "0");
    ASSERT_EQ(OfferedColor(), red ? Black : Red);
    Type("ilCons", GetParam().Offered);
    EXPECT_EQ(OfferedColor(), GetParam().Color);
}

// At 8.5 and 10.5 the single-precision deviation lies just beyond 0.15 and -0.05.
INSTANTIATE_TEST_SUITE_P(Thresholds, TfrmVeskInOffered,
                         testing::Values(TColorCase{"8.5", Red}, TColorCase{"8.55", Black},
                                         TColorCase{"10", Black}, TColorCase{"10.49", Black},
                                         TColorCase{"10.5", Red}, TColorCase{"0", Red}));

// A cow of no weight giving no milk is estimated at 0: the offered intake keeps its colour, where
// a deviation from 0 would count as red.
TEST_F(TfrmVeskInTest, EstimateOfZeroLeavesTheOfferedColour) {
    Type("ilLeche", "0");
    ClickEquals();
    ASSERT_EQ(OfferedColor(), Black);
    Type("ilPeso", "0");
    ASSERT_EQ(Dairy().ConsumoEstimado, 0.0f);
    EXPECT_EQ(Estimate(), "0.00");
    EXPECT_EQ(OfferedColor(), Black);
    ClickEquals();
    EXPECT_EQ(Text("ilCons"), "0.00");
    EXPECT_EQ(OfferedColor(), Black);
}

struct TEqualsCase {
    const char* Name;
    int State;
    std::vector<std::pair<const char*, const char*>> Typed;
    const char* Label;
    const char* Offered;
    QColor Color;
};

void PrintTo(const TEqualsCase& c, std::ostream* os) {
    *os << c.Name;
}

class TfrmVeskInEquals : public TfrmVeskInTest, public testing::WithParamInterface<TEqualsCase> {};

// The focus stays in the last input typed, whose text may lie beyond its limits.
TEST_P(TfrmVeskInEquals, TruncatesWhereTheLabelRounds) {
    const TEqualsCase& c = GetParam();
    ClickItem("rgTipo", c.State);
    for (const auto& [name, text] : c.Typed)
        Type(name, text);
    EXPECT_EQ(Estimate(), c.Label);
    ClickEquals();
    EXPECT_EQ(Text("ilCons"), c.Offered);
    EXPECT_EQ(OfferedColor(), c.Color);
    // The button writes the input only; the model takes it at the next reading.
    EXPECT_EQ(Dairy().Consumo, 10.0f);
}

// Heifers of 365 and 268 kg with these gains are estimated at the single-precision values of
// 12.345 (slightly above it) and 0.29 (slightly below it).
INSTANTIATE_TEST_SUITE_P(
    Button, TfrmVeskInEquals,
    testing::Values(
        TEqualsCase{
            "SlightlyAbove", 2, {{"ilPeso", "365"}, {"ilADG", "1.93374"}}, "12.35", "12.34", Black},
        TEqualsCase{
            "SlightlyBelow", 2, {{"ilPeso", "268"}, {"ilADG", "-0.94898"}}, "0.29", "0.28", Black},
        TEqualsCase{"AboveTheMaximum", 0, {{"ilLeche", "130"}}, "46.33", "45.00", Black},
        TEqualsCase{"Negative", 2, {{"ilPeso", "100"}, {"ilADG", "-1"}}, "-3.06", "0.00", Red}),
    [](const auto& info) { return std::string(info.param.Name); });

// Every input must show the loaded model: an estimate before the last write would read the old
// inputs back into the model.
TEST_F(TfrmVeskInTest, LoadingWritesEveryInputBeforeItsOneEstimate) {
    ClickItem("rgTipo", 2);
    TVeskDairy model;
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
    TTempFolder folder("load");
    const std::string file = folder.Path() + "/Vaca.VM2";
    SaveModel(file, model, '.');
    model.EstimateIntake();

    const bool answered = AnswerDialog<QFileDialog>(
        [&] { QTest::keyClick(Input("ilPeso"), Qt::Key_O, Qt::ControlModifier); },
        [&](QFileDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QString::fromStdString(file));
            static_cast<QDialog&>(dialog).accept();
        });
    ASSERT_TRUE(answered);

    EXPECT_EQ(Find<TRadioGroup>("rgTipo")->ItemIndex(), 0);
    EXPECT_FALSE(Find<QGroupBox>("gbProd")->isHidden());
    EXPECT_EQ(Find<TRadioGroup>("rgLact")->ItemIndex(), 2);
    const std::pair<const char*, const char*> shown[] = {
        {"ilLeche", "30.00"}, {"ilGrasa", "4.00"}, {"ilProt", "3.50"}, {"ilSem", "40"},
        {"ilTemp", "25.00"},  {"ilGDP", "0.50"},   {"ilADG", "0.70"},  {"ilCons", "20.00"},
        {"ilPeso", "600"},    {"sePF", "30"}};
    for (const auto& [name, text] : shown)
        EXPECT_EQ(Text(name), text) << name;
    ExpectInputs(Dairy(), model);
    EXPECT_EQ(Dairy().ConsumoEstimado, model.ConsumoEstimado);
    EXPECT_EQ(Estimate(), FormatFixed(model.ConsumoEstimado, 2, '.'));
}

class TfrmVeskInEarlyLactation : public TfrmVeskInTest, public testing::WithParamInterface<int> {};

TEST_P(TfrmVeskInEarlyLactation, EstimateFailureReachesTheErrorReport) {
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
    EXPECT_EQ(FWindow->findChild<QWidget*>(QLatin1String(c.View)), nullptr);
    ClickTab(c.Page);
    auto* bar = Find<QToolBar>(c.Bar);
    auto* view = Find<QWidget>(c.View);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(bar->geometry().united(view->geometry()), Find<QWidget>(c.Page)->rect());
    EXPECT_FALSE(bar->geometry().intersects(view->geometry()));
}

INSTANTIATE_TEST_SUITE_P(Pages, TfrmVeskInPages,
                         testing::Values(TPageCase{"tsRes", "ToolBar1", "M"},
                                         TPageCase{"tsGird", "ToolBar2", "DBGrid1"}));

// Days in milk of 3 make every estimate fail, so each one shows in its own error report.
TEST_F(TfrmVeskInTest, ShowingTheModelPageEstimatesAgain) {
    TModalAnswer answer;
    Type("ilSem", "3");
    ASSERT_EQ(answer.Boxes().size(), 1u);
    ClickTab("tsRes");
    EXPECT_EQ(answer.Boxes().size(), 1u);
    ClickTab("tsTipo");
    ASSERT_EQ(answer.Boxes().size(), 2u);
    EXPECT_EQ(answer.Boxes().back().Text, QStringLiteral("Floating point division by zero."));
}

TEST_F(TfrmVeskInTest, F9CalculatesFromEveryPage) {
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
    EXPECT_EQ(Find<QAction>("FileExit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QTest::keyClick(Input("ilPeso"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(FWindow->isVisible());
}

struct TAccessCase {
    int State;
    const char* Start;
    Qt::Key Key;
    const char* Target; // nullptr: the focus stays where it was
};

void PrintTo(const TAccessCase& c, std::ostream* os) {
    *os << c.Start << " " << QKeySequence(Qt::ALT | c.Key).toString().toStdString();
}

class TfrmVeskInAccess : public TfrmVeskInTest, public testing::WithParamInterface<TAccessCase> {};

// The key goes where the focus is, through the window, so that shortcuts see it first.
TEST_P(TfrmVeskInAccess, AltLetterMovesTheFocusOrNothing) {
    const TAccessCase& c = GetParam();
    ClickItem("rgTipo", c.State);
    ClickInto(c.Start);
    QTest::keyClick(Input(c.Start), Qt::Key_End);
    const std::string text = Text(c.Start);
    const std::string estimate = Estimate();
    const TVeskDairy model = Dairy();

    QTest::keyClick(QApplication::focusWidget(), c.Key, Qt::AltModifier);
    QWidget* focus = QApplication::focusWidget();
    if (c.Target) {
        QWidget* target = Find<QWidget>(c.Target);
        EXPECT_TRUE(focus == target || target->isAncestorOf(focus)) << c.Target;
    } else {
        EXPECT_EQ(focus, Input(c.Start));
    }
    EXPECT_EQ(Text(c.Start), text);
    EXPECT_EQ(Estimate(), estimate);
    ExpectInputs(Dairy(), model);
}

// Only "&Consumo ofrecido, Kgs" and "Número de &Lactación" are bound; the letters of the other
// labels, and L while the lactation group is hidden, must not type into the input.
INSTANTIATE_TEST_SUITE_P(Labels, TfrmVeskInAccess,
                         testing::Values(TAccessCase{0, "ilLeche", Qt::Key_C, "ilCons"},
                                         TAccessCase{0, "ilTemp", Qt::Key_L, "rgLact"},
                                         TAccessCase{2, "ilPeso", Qt::Key_C, "ilCons"},
                                         TAccessCase{0, "ilTemp", Qt::Key_P, nullptr},
                                         TAccessCase{0, "ilTemp", Qt::Key_G, nullptr},
                                         TAccessCase{0, "ilTemp", Qt::Key_D, nullptr},
                                         TAccessCase{0, "ilCons", Qt::Key_E, nullptr},
                                         TAccessCase{0, "ilSem", Qt::Key_5, nullptr},
                                         TAccessCase{2, "ilPeso", Qt::Key_L, nullptr}));

struct TMenuCase {
    const char* Start;
    Qt::Key Key;
    const char* Title;
};

void PrintTo(const TMenuCase& c, std::ostream* os) {
    *os << c.Start << " " << c.Title;
}

class TfrmVeskInMenus : public TfrmVeskInTest, public testing::WithParamInterface<TMenuCase> {};

TEST_P(TfrmVeskInMenus, AltLetterOpensItsMenuFromAnyInput) {
    const TMenuCase& c = GetParam();
    if (std::string(c.Start) == "M") {
        ClickTab("tsRes");
        QTest::mouseClick(Find<QTextEdit>("M")->viewport(), Qt::LeftButton);
    } else {
        QTest::mouseClick(Find<QWidget>(c.Start), Qt::LeftButton, {}, QPoint(8, 8));
    }
    QWidget* start = QApplication::focusWidget();
    ASSERT_TRUE(start == Find<QWidget>(c.Start) || Find<QWidget>(c.Start)->isAncestorOf(start));
    QTest::keyClick(start, c.Key, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QString::fromUtf8(c.Title));
    menu->close();
}

INSTANTIATE_TEST_SUITE_P(Menus, TfrmVeskInMenus,
                         testing::Values(TMenuCase{"ilTemp", Qt::Key_S, "&Sistema"},
                                         TMenuCase{"ilPeso", Qt::Key_A, "&Acciones"},
                                         TMenuCase{"Modelo", Qt::Key_S, "&Sistema"},
                                         TMenuCase{"M", Qt::Key_A, "&Acciones"}));

struct TTextCase {
    const char* Edit;
    const char* Page;
};

void PrintTo(const TTextCase& c, std::ostream* os) {
    *os << c.Edit;
}

class TfrmVeskInFreeText : public TfrmVeskInTest, public testing::WithParamInterface<TTextCase> {};

// The model name and the report take any text, but an Alt chord is a command, not a character.
TEST_P(TfrmVeskInFreeText, AltLetterTypesNothing) {
    ClickTab(GetParam().Page);
    auto* edit = Find<QWidget>(GetParam().Edit);
    auto* text = qobject_cast<QTextEdit*>(edit);
    QTest::mouseClick(text ? text->viewport() : edit, Qt::LeftButton, {}, QPoint(8, 8));
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClicks(edit, QStringLiteral("ab"));
    for (const Qt::Key key : {Qt::Key_P, Qt::Key_G, Qt::Key_D, Qt::Key_Q, Qt::Key_L})
        QTest::keyClick(edit, key, Qt::AltModifier);
    QTest::keyClicks(edit, QStringLiteral("c"));
    const QString typed = text ? text->toPlainText() : qobject_cast<QLineEdit*>(edit)->text();
    EXPECT_EQ(typed, QStringLiteral("abc"));
}

INSTANTIATE_TEST_SUITE_P(Edits, TfrmVeskInFreeText,
                         testing::Values(TTextCase{"Modelo", "tsTipo"}, TTextCase{"M", "tsRes"}));

TEST_F(TfrmVeskInTest, CommandsFollowTheirStateWhenIdle) {
    auto* acPrt = Find<QAction>("acPrt");
    auto* acShare = Find<QAction>("acShare");
    auto* acExcel = Find<QAction>("acExcel");
    auto* bold = Find<QAction>("RichEditBold1");
    Idle();
    EXPECT_FALSE(acPrt->isEnabled());
    EXPECT_FALSE(acShare->isEnabled());
    EXPECT_FALSE(acExcel->isEnabled());
    EXPECT_FALSE(bold->isEnabled());

    Calculate();
    ASSERT_EQ(CurrentPage(), Find<QWidget>("tsRes"));
    Idle();
    EXPECT_TRUE(acExcel->isEnabled());
    // Without the host there is nobody to send to.
    EXPECT_FALSE(acShare->isEnabled());
    EXPECT_TRUE(acPrt->isEnabled());

    auto* M = Find<QTextEdit>("M");
    QTest::mouseClick(M->viewport(), Qt::LeftButton);
    Idle();
    EXPECT_TRUE(bold->isEnabled());
    EXPECT_TRUE(Find<QAction>("RichEditItalic1")->isEnabled());
    QTest::keyClick(M, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(M, Qt::Key_Delete);
    Idle();
    EXPECT_FALSE(acPrt->isEnabled());
    EXPECT_TRUE(acExcel->isEnabled());
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

// What the mouse resting on the action's button of the right toolbar shows as its tooltip.
QString ToolTipOver(QToolBar& bar, QAction& action) {
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    QWidget* button = bar.widgetForAction(&action);
    const QPoint at = button->rect().center();
    QHelpEvent event(QEvent::ToolTip, at, button->mapToGlobal(at));
    QApplication::sendEvent(button, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// The export has no hint, so neither a tooltip nor a status-bar text; Qt would show the caption.
TEST_F(TfrmVeskInTest, ExportShowsNoTooltip) {
    auto* bar = Find<QToolBar>("tbTipo");
    EXPECT_EQ(ToolTipOver(*bar, *Find<QAction>("acSave")), QStringLiteral("Guardar"));
    Calculate();
    Idle();
    auto* acExcel = Find<QAction>("acExcel");
    ASSERT_TRUE(acExcel->isEnabled());
    EXPECT_EQ(ToolTipOver(*bar, *acExcel), QString());
    EXPECT_EQ(acExcel->statusTip(), QString());
}

struct TNameCase {
    const char* Input;
    const char* Label;
    const char* Unit; // "" when the input has none
};

void PrintTo(const TNameCase& c, std::ostream* os) {
    *os << c.Input;
}

// A label's text as the window shows it: without markup and access letter, blanks trimmed.
QString Shown(const QLabel& label) {
    return QTextDocumentFragment::fromHtml(label.text()).toPlainText().remove(u'&').trimmed();
}

// The label beside the input, to the given side, that shows the text.
const QLabel* LabelBeside(const QWidget& input, const QString& text, bool left) {
    for (const QLabel* label : input.parentWidget()->findChildren<QLabel*>()) {
        const QRect box = label->geometry();
        const bool side = left ? box.right() < input.x() : box.left() > input.geometry().right();
        const bool row = box.bottom() >= input.y() && box.top() <= input.geometry().bottom();
        if (side && row && Shown(*label) == text)
            return label;
    }
    return nullptr;
}

class TfrmVeskInNames : public TfrmVeskInTest, public testing::WithParamInterface<TNameCase> {};

// A screen reader names each input after its label and reads its unit as its description.
TEST_P(TfrmVeskInNames, InputIsNamedAfterItsLabel) {
    const TNameCase& c = GetParam();
    auto* input = Find<QWidget>(c.Input);
    const QString label = QString::fromUtf8(c.Label);
    const QString unit = QString::fromUtf8(c.Unit);
    EXPECT_NE(LabelBeside(*input, label, true), nullptr);
    if (!unit.isEmpty()) {
        EXPECT_NE(LabelBeside(*input, unit, false), nullptr);
    }
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(input);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->text(QAccessible::Name), label);
    EXPECT_EQ(read->text(QAccessible::Description), unit);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, TfrmVeskInNames,
    testing::Values(TNameCase{"ilPeso", "Peso de la vaca:", "Kgs."},
                    TNameCase{"ilCons", "Consumo ofrecido, Kgs", ""},
                    TNameCase{"ilLeche", "Producción diaria de leche", "Kg."},
                    TNameCase{"ilGrasa", "Porcentaje de grasa en la leche:", "%"},
                    TNameCase{"ilProt", "Porcentaje de proteina en la leche:", "%"},
                    TNameCase{"ilSem", "Días de lactación", ""},
                    TNameCase{"ilGDP", "Ganancia de peso deseada", "Kg./día"},
                    TNameCase{"ilADG", "Ganancia diaria promedio", "Kg/día."},
                    TNameCase{"ilTemp", "Temperatura del medio ambiente", "°C"},
                    TNameCase{"sePF", "Días para el parto", "días"},
                    TNameCase{"Modelo", "MODELO:", ""}));

} // namespace
