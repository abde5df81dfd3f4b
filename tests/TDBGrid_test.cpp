#include "ui/TDBGrid.h"

#include "modal_answer.h"
#include "platform/regional.h"
#include "ui/TTableModel.h"
#include "ui/TfrmVeskIn.h"
#include "window_calculation.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

// The restrictions page after a calculation, the grid driven with keys as a user would.
class TDBGridTest : public testing::Test {
protected:
    void Create(char separator) {
        SetRegional({separator, ""});
        FGrid = nullptr;
        FWindow = std::make_unique<TfrmVeskIn>();
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    void SetUp() override {
        Create('.');
        Calculate();
    }
    void TearDown() override { SetRegional({'.', ","}); }

    void Calculate() {
        EXPECT_TRUE(PressF9(*FWindow).empty());
        ShowGrid();
    }
    // The restrictions page, as the user opens it to work in the grid.
    void ShowGrid() {
        auto* pc = FWindow->findChild<QTabWidget*>(QStringLiteral("pc"));
        pc->setCurrentWidget(FWindow->findChild<QWidget*>(QStringLiteral("tsGird")));
        FGrid = FWindow->findChild<TDBGrid*>(QStringLiteral("DBGrid1"));
        ASSERT_NE(FGrid, nullptr);
        FGrid->setFocus();
    }
    TTableModel& Table() const { return *qobject_cast<TTableModel*>(FGrid->model()); }
    QAbstractItemModel* Model() const { return FGrid->model(); }
    QString Cell(int row, int column) const {
        return Model()->index(row, column).data().toString();
    }
    QString Indicator(int row) const { return Model()->headerData(row, Qt::Vertical).toString(); }
    // Clicks a cell as the mouse does.
    void Click(int row, int column) {
        const QRect cell = FGrid->visualRect(Model()->index(row, column));
        QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // Keys go where the focus is: the grid, or the cell editor once it is open.
    // After a message box the offscreen platform may leave no focus widget: then the grid.
    QWidget* KeyTarget() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : FGrid;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(KeyTarget(), key, modifiers);
    }
    void Type(const QString& text) {
        for (const QChar c : text)
            QTest::keyClicks(KeyTarget(), QString(c));
    }
    QString EditorText() const {
        QWidget* focus = QApplication::focusWidget();
        if (auto* line = qobject_cast<QLineEdit*>(focus))
            return line->text();
        return QString();
    }
    void Idle() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }
    QAction* Action(const char* name) const {
        return FWindow->findChild<QAction*>(QLatin1String(name));
    }
    void Press(const char* action) {
        QToolBar* bar = FWindow->findChild<QToolBar*>(QStringLiteral("ToolBar2"));
        // The commands are enabled when the application is idle, as it is before any click.
        Idle();
        QTest::mouseClick(bar->widgetForAction(Action(action)), Qt::LeftButton);
    }

    std::unique_ptr<TfrmVeskIn> FWindow;
    TDBGrid* FGrid = nullptr;
};

namespace {

constexpr int Unidad = 2, Minimo = 3, Maximo = 4, Enviar = 5;

TEST_F(TDBGridTest, ColumnsWithTitlesWidthsAndFonts) {
    const QHeaderView* titles = FGrid->horizontalHeader();
    const char* const names[] = {"Codigo", "Nombre", "Unidad", "Mínimo", "Máximo", "Enviar"};
    const int widths[] = {50, 163, 52, 55, 55, 48};
    ASSERT_EQ(Model()->columnCount(), 6);
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(Model()->headerData(column, Qt::Horizontal).toString(),
                  QString::fromUtf8(names[column]));
        EXPECT_EQ(titles->sectionSize(column), widths[column]) << column;
        EXPECT_EQ(Model()->flags(Model()->index(0, column)).testFlag(Qt::ItemIsEditable),
                  column >= Unidad)
            << column;
    }
    EXPECT_EQ(titles->font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_TRUE(titles->font().bold());
    EXPECT_EQ(titles->font().pointSize(), 8);
    EXPECT_FALSE(FGrid->font().bold());
    EXPECT_EQ(FGrid->font().pointSize(), 8);
    EXPECT_TRUE(titles->sectionsMovable());
    EXPECT_EQ(titles->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_TRUE(FGrid->showGrid());
    EXPECT_EQ(Model()->index(0, Minimo).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(Model()->index(0, Enviar).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    // The widths stay when a calculation rebuilds the rows.
    Calculate();
    EXPECT_EQ(titles->sectionSize(1), 163);
}

TEST_F(TDBGridTest, AmountsInTheRegionalNotation) {
    Create(',');
    Calculate();
    EXPECT_EQ(Cell(0, Minimo), QStringLiteral("15,1320"));
    EXPECT_EQ(Cell(3, Minimo), QStringLiteral("0,5460"));
    EXPECT_EQ(Cell(2, Maximo), QString());
    EXPECT_EQ(Cell(6, Maximo), QString());
    EXPECT_EQ(Cell(6, Enviar), QStringLiteral("Sí"));
}

struct TEditCase {
    int Column;
    const char* Typed;
    const char* Shown;   // after leaving the row
    const char* Message; // nullptr when the field takes the text
};

void PrintTo(const TEditCase& c, std::ostream* os) {
    *os << c.Column << " '" << c.Typed << "'";
}

class TDBGridEdit : public TDBGridTest, public testing::WithParamInterface<TEditCase> {};

// Leaving the row with the down arrow gives the text to the field and stores the row.
TEST_P(TDBGridEdit, TypedTextGoesToTheFieldWhenTheRowIsLeft) {
    const TEditCase& c = GetParam();
    const QString before = Cell(0, c.Column);
    Click(0, c.Column);
    Type(QString::fromUtf8(c.Typed));
    EXPECT_EQ(Table().State(), TTableState::Edit);
    EXPECT_EQ(Indicator(0), QStringLiteral("I"));
    TModalAnswer answer;
    Key(Qt::Key_Down);
    if (!c.Message) {
        EXPECT_TRUE(answer.Boxes().empty());
        EXPECT_EQ(Cell(0, c.Column), QString::fromUtf8(c.Shown));
        EXPECT_EQ(Table().State(), TTableState::Browse);
        EXPECT_EQ(Table().CurrentRow(), 1);
        return;
    }
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(answer.Boxes().front().Text, QString::fromUtf8(c.Message));
    EXPECT_EQ(answer.Boxes().front().Icon, QMessageBox::Critical);
    // The field keeps its value and the row stays in editing with the typed text.
    EXPECT_EQ(Cell(0, c.Column), before);
    EXPECT_EQ(Table().State(), TTableState::Edit);
    EXPECT_EQ(Table().CurrentRow(), 0);
    EXPECT_EQ(FGrid->currentIndex().row(), 0);
    EXPECT_EQ(FGrid->selectionModel()->selectedIndexes(), QModelIndexList{FGrid->currentIndex()});
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TDBGridEdit,
    testing::Values(TEditCase{Unidad, "g/kg", "g/kg", nullptr},
                    TEditCase{Unidad, "abcdefghijkl", "abcdefghij", nullptr},
                    TEditCase{Minimo, "0.5", "0.5000", nullptr},
                    TEditCase{Minimo, "abc", "",
                              "'abc' is not a valid floating point value for field 'Mínimo'"},
                    TEditCase{Maximo, "1e1", "10.0000", nullptr},
                    TEditCase{Enviar, "n", "No", nullptr}, TEditCase{Enviar, "NO", "No", nullptr},
                    TEditCase{Enviar, "x", "",
                              "'x' is not a valid boolean value for field 'Enviar'"}));

// Clicking another cell, or tabbing to it, with a text the field refuses: one message, and the
// cell with its text stays the current and the only selected one.
TEST_F(TDBGridTest, ARefusedTextKeepsItsCellWhenAnotherIsClickedOrTabbedTo) {
    Click(1, Minimo);
    Type("abc");
    for (const bool click : {true, false}) {
        TModalAnswer answer;
        if (click)
            Click(4, Unidad);
        else
            Key(Qt::Key_Tab);
        EXPECT_EQ(answer.Boxes().size(), 1u) << click;
        EXPECT_EQ(FGrid->currentIndex(), Model()->index(1, Minimo)) << click;
        EXPECT_EQ(FGrid->selectionModel()->selectedIndexes(),
                  QModelIndexList{Model()->index(1, Minimo)});
        auto* editor = qobject_cast<QLineEdit*>(FGrid->indexWidget(FGrid->currentIndex()));
        ASSERT_NE(editor, nullptr) << click;
        EXPECT_EQ(editor->text(), QStringLiteral("abc")) << click;
        EXPECT_EQ(Table().CurrentRow(), 1);
    }
    FGrid->indexWidget(FGrid->currentIndex())->setFocus();
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Table().State(), TTableState::Browse);
    EXPECT_EQ(Cell(1, Minimo), QStringLiteral("1.6080"));
}

// Typing right after a click on the current cell goes into its editor, and typing into a
// read-only cell moves nowhere.
TEST_F(TDBGridTest, TypingAfterAClickOnTheCurrentCellEditsIt) {
    Click(2, Unidad);
    Click(2, Unidad);
    Type("kg");
    EXPECT_EQ(EditorText(), QStringLiteral("kg"));
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
    Click(3, 1);
    Type("C");
    Type("0.3");
    EXPECT_EQ(FGrid->currentIndex(), Model()->index(3, 1));
    EXPECT_EQ(Table().State(), TTableState::Browse);
}

TEST_F(TDBGridTest, ClearingAnAmountMakesItNullAndSWritesTrue) {
    Click(0, Minimo);
    Key(Qt::Key_F2);
    EXPECT_EQ(EditorText(), QStringLiteral("15.1320"));
    EXPECT_EQ(Table().State(), TTableState::Browse);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Table().State(), TTableState::Edit);
    Press("DataSetPost1");
    EXPECT_EQ(Table().State(), TTableState::Browse);
    EXPECT_EQ(Table().Cell(0, Table().Field(Minimo)), TFieldValue());

    Click(1, Enviar);
    Type("n");
    Press("DataSetPost1");
    EXPECT_EQ(Table().Cell(1, Table().Field(Enviar)), TFieldValue(false));
    Click(1, Enviar);
    Type("s");
    Press("DataSetPost1");
    EXPECT_EQ(Table().Cell(1, Table().Field(Enviar)), TFieldValue(true));
}

TEST_F(TDBGridTest, EnviarEditorIsAPickListThatTakesTyping) {
    Click(0, Enviar);
    Key(Qt::Key_F2);
    auto* box = FGrid->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isEditable());
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), QStringLiteral("Sí"));
    EXPECT_EQ(box->itemText(1), QStringLiteral("No"));
    // Alt+Down opens the list; choosing from it is a change of the cell.
    Key(Qt::Key_Down, Qt::AltModifier);
    QWidget* list = QApplication::activePopupWidget();
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list->focusWidget(), Qt::Key_Down);
    QTest::keyClick(list->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(box->currentText(), QStringLiteral("No"));
    EXPECT_EQ(Table().State(), TTableState::Edit);
    Press("DataSetPost1");
    EXPECT_EQ(Cell(0, Enviar), QStringLiteral("No"));
}

class TDBGridAltChord : public TDBGridTest, public testing::WithParamInterface<int> {};

// Alt with a letter is a command: it types nothing into a cell editor, opens none, and the
// letters that are bound still reach their menus.
TEST_P(TDBGridAltChord, TypesNothingAndTheMenusStillOpen) {
    const int column = GetParam();
    const std::string before = Cell(0, column).toStdString();
    TModalAnswer answer;
    Click(0, column);
    Key(Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), FGrid) << "an editor opened";
    Key(Qt::Key_F2);
    Key(Qt::Key_End);
    for (const Qt::Key letter : {Qt::Key_P, Qt::Key_G, Qt::Key_D, Qt::Key_C, Qt::Key_L})
        Key(letter, Qt::AltModifier);
    const auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
    EXPECT_EQ((box ? box->currentText() : EditorText()).toStdString(), before);
    EXPECT_EQ(Table().State(), TTableState::Browse);
    for (const auto& [letter, menu] :
         {std::pair{Qt::Key_S, "&Sistema"}, {Qt::Key_A, "&Acciones"}}) {
        Key(letter, Qt::AltModifier);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr) << menu;
        EXPECT_EQ(popup->title(), QString::fromLatin1(menu));
        popup->close();
        EXPECT_NE(FGrid->indexWidget(FGrid->currentIndex()), nullptr) << "the menu ended the edit";
    }
    Key(Qt::Key_Down);
    EXPECT_EQ(Cell(0, column).toStdString(), before);
    EXPECT_TRUE(answer.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Editors, TDBGridAltChord, testing::Values(Unidad, Minimo, Enviar));

TEST_F(TDBGridTest, EscRestoresTheCellThenDiscardsTheRow) {
    Click(0, Unidad);
    Type("g");
    Key(Qt::Key_Tab);
    EXPECT_EQ(FGrid->currentIndex().column(), Minimo);
    EXPECT_EQ(Cell(0, Unidad), QStringLiteral("g"));
    Type("7");
    Key(Qt::Key_Escape);
    EXPECT_EQ(EditorText(), QStringLiteral("15.1320"));
    EXPECT_EQ(Table().State(), TTableState::Edit);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Table().State(), TTableState::Browse);
    EXPECT_EQ(Cell(0, Unidad), QStringLiteral("%"));
    EXPECT_EQ(Cell(0, Minimo), QStringLiteral("15.1320"));
}

TEST_F(TDBGridTest, TabSkipsTheReadOnlyColumns) {
    Click(0, Enviar);
    Key(Qt::Key_Tab);
    EXPECT_EQ(FGrid->currentIndex(), Model()->index(1, Unidad));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FGrid->currentIndex(), Model()->index(0, Enviar));
}

struct TNewRowCase {
    int Row;     // the row clicked first
    Qt::Key Key; // the key that begins the new row
    int NewRow;  // where it appears
};

void PrintTo(const TNewRowCase& c, std::ostream* os) {
    *os << "row " << c.Row << " key " << c.Key;
}

class TDBGridNewRow : public TDBGridTest, public testing::WithParamInterface<TNewRowCase> {};

TEST_P(TDBGridNewRow, EmptyNewRowGoesWhenLeftAndATypedOneStays) {
    const TNewRowCase& c = GetParam();
    Click(c.Row, Unidad);
    Key(c.Key);
    EXPECT_EQ(Model()->rowCount(), 8);
    EXPECT_EQ(Table().State(), TTableState::Insert);
    EXPECT_EQ(Indicator(c.NewRow), QStringLiteral("*"));
    EXPECT_EQ(FGrid->currentIndex(), Model()->index(c.NewRow, Unidad));
    Key(Qt::Key_Up);
    EXPECT_EQ(Model()->rowCount(), 7);
    EXPECT_EQ(Table().State(), TTableState::Browse);

    Click(c.Row, Unidad);
    Key(c.Key);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Model()->rowCount(), 7);

    Click(c.Row, Unidad);
    Key(c.Key);
    Type("kg");
    Key(Qt::Key_Up);
    ASSERT_EQ(Model()->rowCount(), 8);
    EXPECT_EQ(Table().State(), TTableState::Browse);
    EXPECT_EQ(Cell(c.NewRow, Unidad), QStringLiteral("kg"));
    EXPECT_EQ(Cell(c.NewRow, 0), QString());
    EXPECT_EQ(Cell(c.NewRow, 1), QString());
}

INSTANTIATE_TEST_SUITE_P(Keys, TDBGridNewRow,
                         testing::Values(TNewRowCase{2, Qt::Key_Insert, 2},
                                         TNewRowCase{6, Qt::Key_Down, 7}));

TEST_F(TDBGridTest, EmptyNewRowGoesWhenTheFocusLeavesTheGrid) {
    Click(6, Unidad);
    Key(Qt::Key_Down);
    ASSERT_EQ(Model()->rowCount(), 8);
    FWindow->findChild<QWidget*>(QStringLiteral("Modelo"))->setFocus();
    EXPECT_EQ(Model()->rowCount(), 7);
}

TEST_F(TDBGridTest, CtrlDeleteAsksAndKeepsStoredRows) {
    Click(3, Unidad);
    {
        TModalAnswer cancel(QMessageBox::Cancel);
        Key(Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(cancel.Boxes().size(), 1u);
        EXPECT_EQ(cancel.Boxes().front().Text, QStringLiteral("Delete record?"));
        EXPECT_EQ(cancel.Boxes().front().Buttons, QMessageBox::Ok | QMessageBox::Cancel);
    }
    EXPECT_EQ(Model()->rowCount(), 7);
    {
        TModalAnswer ok;
        Key(Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(ok.Boxes().size(), 2u);
        EXPECT_EQ(ok.Boxes().back().Title, QStringLiteral("Rumiva - Vesk"));
        EXPECT_EQ(ok.Boxes().back().Icon, QMessageBox::Critical);
    }
    EXPECT_EQ(Model()->rowCount(), 7);
    EXPECT_EQ(Cell(3, 0), QStringLiteral("104"));

    Key(Qt::Key_Insert);
    ASSERT_EQ(Model()->rowCount(), 8);
    TModalAnswer ok;
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(ok.Boxes().size(), 1u);
    EXPECT_EQ(Model()->rowCount(), 7);
    EXPECT_EQ(Cell(3, 0), QStringLiteral("104"));
}

TEST_F(TDBGridTest, SecondCalculationDiscardsEditsAndAddedRows) {
    Click(0, Unidad);
    Type("g");
    Key(Qt::Key_Down);
    Click(6, Unidad);
    Key(Qt::Key_Down);
    Type("kg");
    Key(Qt::Key_Up);
    ASSERT_EQ(Model()->rowCount(), 8);
    Click(1, Unidad);
    Type("x");
    Calculate();
    EXPECT_EQ(Model()->rowCount(), 7);
    EXPECT_EQ(Table().State(), TTableState::Browse);
    EXPECT_EQ(Cell(0, Unidad), QStringLiteral("%"));
    EXPECT_EQ(Cell(1, Unidad), QStringLiteral("Mcal/kg"));
}

TEST_F(TDBGridTest, TableActionsFollowTheStateWhenIdle) {
    const auto enabled = [&] {
        Idle();
        return std::vector<bool>{Action("DataSetEdit1")->isEnabled(),
                                 Action("DataSetPost1")->isEnabled(),
                                 Action("DataSetCancel1")->isEnabled()};
    };
    const std::vector<bool> browsing = {true, false, false}, changing = {false, true, true};
    EXPECT_EQ(enabled(), browsing);
    Press("DataSetEdit1");
    EXPECT_EQ(Table().State(), TTableState::Edit);
    EXPECT_EQ(enabled(), changing);
    Press("DataSetCancel1");
    EXPECT_EQ(enabled(), browsing);
    Click(2, Unidad);
    Key(Qt::Key_Insert);
    EXPECT_EQ(enabled(), changing);
    Type("kg");
    Press("DataSetCancel1");
    EXPECT_EQ(Model()->rowCount(), 7);
    EXPECT_EQ(enabled(), browsing);

    Create('.');
    ShowGrid();
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_EQ(enabled(), std::vector<bool>(3, false));
}

} // namespace
