#include "ui/TfrmVeskIn.h"

#include "grid_typing.h"
#include "modal_answer.h"
#include "platform/regional.h"
#include "temp_folder.h"
#include "xlsx_readback.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// The window with its spreadsheet files in a folder of the test and an opener that only records
// what it was given to show, and what the window looked like meanwhile.
class TfrmVeskInExportTest : public testing::Test {
protected:
    struct TOpened {
        std::string Path;
        bool EnviarVisible;
        bool Hourglass;
        int GridPaints;
    };

    // Counts what the grid paints.
    class TPaintCounter : public QObject {
    public:
        int Paints = 0;

    protected:
        bool eventFilter(QObject*, QEvent* event) override {
            Paints += event->type() == QEvent::Paint;
            return false;
        }
    };

    void SetUp() override {
        SetRegional({'.', ","});
        setenv("TMPDIR", FTemp.Path().c_str(), 1);
        FWindow = std::make_unique<TfrmVeskIn>();
        FWindow->FSheetOpener = [this](const std::string& path) {
            const QCursor* cursor = QApplication::overrideCursor();
            FOpened.push_back({path, FWindow->mtEnviar->Visible,
                               cursor && cursor->shape() == Qt::WaitCursor, FGridPaints.Paints});
            return FOpens;
        };
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    void TearDown() override {
        FWindow.reset();
        unsetenv("TMPDIR");
    }

    void Idle() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }
    void Calculate() { QTest::keyClick(FWindow.get(), Qt::Key_F9); }
    QAction& Excel() { return *FWindow->acExcel; }
    // Runs the command from the event queue, where a failure reaches the default error report.
    void Export() {
        Idle();
        QMetaObject::invokeMethod(&Excel(), &QAction::trigger, Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }
    TTableModel& Table() { return FWindow->mt; }
    bool EnviarVisible() { return FWindow->mtEnviar->Visible; }
    void SetCalculado() { FWindow->FCalculado = true; }

    TTempFolder FTemp{"export"};
    std::unique_ptr<TfrmVeskIn> FWindow;
    std::vector<TOpened> FOpened;
    TPaintCounter FGridPaints;
    bool FOpens = true;
};

namespace {

// A text as Python's repr shows it.
std::string Quoted(std::string text) {
    text.insert(text.begin(), '\'');
    text.push_back('\'');
    return text;
}

} // namespace

TEST_F(TfrmVeskInExportTest, EnabledFromTheFirstCalculationOn) {
    Idle();
    EXPECT_FALSE(Excel().isEnabled());
    Calculate();
    Idle();
    EXPECT_TRUE(Excel().isEnabled());
}

TEST_F(TfrmVeskInExportTest, WritesTheTableWithAnEditInProgressStoredFirst) {
    Calculate();
    Table().SetText(Table().index(0, 3), "0.0025");
    TModalAnswer answer;
    Export();
    EXPECT_TRUE(answer.Boxes().empty());
    ASSERT_EQ(FOpened.size(), 1u);
    EXPECT_FALSE(FOpened.front().EnviarVisible);
    EXPECT_TRUE(FOpened.front().Hourglass);
    EXPECT_TRUE(EnviarVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Table().State(), TTableState::Browse);

    const TReadSheet sheet = ReadXlsx(FOpened.front().Path);
    EXPECT_EQ(sheet.Name, "SolucionVesk");
    const char* const titles[] = {"Codigo", "Nombre", "Unidad", "Mínimo", "Máximo"};
    for (int column = 0; column < 5; ++column) {
        const TReadCell& title = sheet.Cells.at(std::string(1, char('A' + column)) + "1");
        EXPECT_EQ(title.Value, Quoted(titles[column]));
        EXPECT_TRUE(title.Bold);
        EXPECT_EQ(title.Fill, "FFC0C0C0");
    }
    // Codes and names as the table holds them, in its order.
    for (int row = 0; row < 7; ++row) {
        const std::string sheetRow = std::to_string(row + 2);
        for (const char* field : {"Codigo", "Nombre"}) {
            const TTableField& column = Table().Field(field[0] == 'C' ? 0 : 1);
            const std::string text = column.DisplayText(Table().Cell(row, column));
            const std::string& value =
                sheet.Cells.at((field[0] == 'C' ? "A" : "B") + sheetRow).Value;
            EXPECT_EQ(value, field[0] == 'C' ? text : Quoted(text)) << field << row;
        }
    }
    EXPECT_EQ(sheet.Cells.count("A9"), 0u);
    EXPECT_EQ(sheet.Cells.count("F1"), 0u);
    EXPECT_EQ(sheet.Cells.at("D2").Type, "n");
    EXPECT_EQ(sheet.Cells.at("D2").Value, "0.0025");
    EXPECT_EQ(sheet.Cells.at("D2").NumberFormat, "0.0000");
    for (const char* empty : {"E4", "E8"})
        EXPECT_TRUE(!sheet.Cells.count(empty) || sheet.Cells.at(empty).Type == "None") << empty;
}

TEST_F(TfrmVeskInExportTest, TextInAnOpenCellEditorIsExported) {
    Calculate();
    TypeIntoGridCell(*FWindow, 0, 3, QStringLiteral("0.5"));
    Export();
    ASSERT_EQ(FOpened.size(), 1u);
    EXPECT_EQ(ReadXlsx(FOpened.front().Path).Cells.at("D2").Value, "0.5");
}

// The walk over the rows moves the table but not what the user sees: the grid does not redraw
// meanwhile, and the row that was current comes back.
TEST_F(TfrmVeskInExportTest, TheCurrentRowComesBackAndTheGridDoesNotRedrawMeanwhile) {
    Calculate();
    TypeIntoGridCell(*FWindow, 3, 4, QStringLiteral("1.25"));
    auto* grid = FWindow->findChild<QAbstractItemView*>(QStringLiteral("DBGrid1"));
    grid->viewport()->installEventFilter(&FGridPaints);
    QTest::qWait(50);
    const int paintsBefore = FGridPaints.Paints;
    Export();
    ASSERT_EQ(FOpened.size(), 1u);
    EXPECT_EQ(FOpened.front().GridPaints, paintsBefore);
    EXPECT_EQ(ReadXlsx(FOpened.front().Path).Cells.at("E5").Value, "1.25");
    EXPECT_EQ(Table().CurrentRow(), 3);
    EXPECT_EQ(Table().State(), TTableState::Browse);
    EXPECT_EQ(grid->currentIndex().row(), 3);
}

TEST_F(TfrmVeskInExportTest, FailureIsReportedAndTheWindowComesBack) {
    Calculate();
    FOpens = false;
    TModalAnswer answer;
    Export();
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(answer.Boxes().front().Icon, QMessageBox::Critical);
    EXPECT_TRUE(EnviarVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The next export tries again with the same file.
    FOpens = true;
    Export();
    EXPECT_EQ(answer.Boxes().size(), 1u);
    ASSERT_EQ(FOpened.size(), 2u);
    EXPECT_EQ(FOpened[1].Path, FOpened[0].Path);
}

TEST_F(TfrmVeskInExportTest, ClosedTableIsNotActive) {
    Table().Close();
    SetCalculado();
    TModalAnswer answer;
    Export();
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Text, QStringLiteral("Dataset is not active."));
    EXPECT_TRUE(FOpened.empty());
    EXPECT_TRUE(EnviarVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
