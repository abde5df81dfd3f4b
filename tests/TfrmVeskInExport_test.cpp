#include "ui/TfrmVeskIn.h"

#include "grid_typing.h"
#include "modal_answer.h"
#include "platform/regional.h"
#include "temp_folder.h"
#include "ui/TNumericEdit.h"
#include "xlsx_readback.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// The window with its workbook folders in a folder of the test and an opener that only records
// what it was given to show, whether the hourglass was up meanwhile and how often the grid had
// been painted.
class TfrmVeskInExportTest : public testing::Test {
protected:
    struct TOpened {
        std::string Path;
        bool Hourglass;
        int GridPaints;
    };
    class TPaintCounter : public QObject {
    public:
        int Paints = 0;

    protected:
        bool eventFilter(QObject*, QEvent* event) override {
            Paints += event->type() == QEvent::Paint;
            return false;
        }
    };

    void SetUp() override { Create('.'); }
    void Create(char separator) {
        SetRegional({separator, separator == '.' ? "," : "."});
        setenv("TMPDIR", FTemp.Path().c_str(), 1);
        FWindow = std::make_unique<TfrmVeskIn>();
        FWindow->SetSheetOpener([this](const std::string& path) {
            const QCursor* cursor = QApplication::overrideCursor();
            FOpened.push_back(
                {path, cursor && cursor->shape() == Qt::WaitCursor, FGridPaints.Paints});
            return FOpens;
        });
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    void TearDown() override {
        FWindow.reset();
        unsetenv("TMPDIR");
        SetRegional({'.', ","});
    }

    template <class T> T& Find(const char* name) {
        T* child = FWindow->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return *child;
    }
    void Idle() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }
    // F9 reaches the window once it is active again after a message box.
    void Calculate() {
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
        QTest::keyClick(FWindow.get(), Qt::Key_F9);
    }
    // Runs the command from the event queue, where a failure reaches the default error report.
    void Export() {
        Idle();
        QMetaObject::invokeMethod(&Find<QAction>("acExcel"), &QAction::trigger,
                                  Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }
    // The only workbook the export showed.
    TReadSheet Exported() {
        EXPECT_EQ(FOpened.size(), 1u);
        return FOpened.empty() ? TReadSheet() : ReadXlsx(FOpened.back().Path);
    }
    // Down on the last row of the grid begins a new row; its minimum is typed in.
    void AddRowWithMinimumTwo() {
        TypeIntoGridCell(*FWindow, 6, 3, QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2"));
    }
    void ExpectNothingLeftOver() {
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the cursor is back";
        Idle();
        EXPECT_FALSE(Find<QAction>("DataSetPost1").isEnabled()) << "the table is browsing";
    }

    TTempFolder FTemp{"export"};
    std::unique_ptr<TfrmVeskIn> FWindow;
    std::vector<TOpened> FOpened;
    TPaintCounter FGridPaints;
    bool FOpens = true;
};

double Number(const TReadSheet& sheet, const std::string& cell) {
    const TReadCell& read = sheet.Cells.at(cell);
    EXPECT_EQ(read.Type, "n") << cell;
    return read.Type == "n" ? std::stod(read.Value) : 0;
}

bool Empty(const TReadSheet& sheet, const std::string& cell) {
    const auto found = sheet.Cells.find(cell);
    return found == sheet.Cells.end() || found->second.Type == "None";
}

// A text as Python's repr shows it.
std::string Quoted(const std::string& text) {
    return std::string("'") + text + "'";
}

TEST_F(TfrmVeskInExportTest, EnabledFromTheFirstCalculationOn) {
    Idle();
    EXPECT_FALSE(Find<QAction>("acExcel").isEnabled());
    Calculate();
    Idle();
    EXPECT_TRUE(Find<QAction>("acExcel").isEnabled());
}

class TfrmVeskInExportNotation : public TfrmVeskInExportTest,
                                 public testing::WithParamInterface<char> {
protected:
    void SetUp() override { Create(GetParam()); }
};

// Whatever the user's decimal separator, the file holds numbers and the format code "0.0000".
TEST_P(TfrmVeskInExportNotation, WritesTheCalculatedRestrictions) {
    Calculate();
    TModalAnswer answer;
    Export();
    EXPECT_TRUE(answer.Boxes().empty());
    ASSERT_EQ(FOpened.size(), 1u);
    EXPECT_TRUE(FOpened.front().Hourglass);
    ExpectNothingLeftOver();

    const TReadSheet sheet = Exported();
    EXPECT_EQ(sheet.Name, "SolucionVesk");
    ExpectTitles(sheet, {"Codigo", "Nombre", "Unidad", "Mínimo", "Máximo"}, "8.0");
    for (size_t i = 0; i < RestrictionOrder.size(); ++i) {
        const TRestriccion& record = FWindow->Dairy().*RestrictionOrder[i].Record;
        const std::string row = std::to_string(i + 2);
        EXPECT_EQ(Number(sheet, "A" + row), record.Codigo) << row;
        EXPECT_EQ(sheet.Cells.at("B" + row).Value, Quoted(record.Nombre)) << row;
        EXPECT_EQ(sheet.Cells.at("C" + row).Value, Quoted(record.Unidad)) << row;
        EXPECT_EQ(sheet.Cells.at("B" + row).NumberFormat, "@") << row;
        EXPECT_EQ(Number(sheet, "D" + row), record.Min.Count / 10000.0) << row;
        EXPECT_EQ(sheet.Cells.at("D" + row).NumberFormat, "0.0000") << row;
        EXPECT_EQ(sheet.Cells.at("E" + row).NumberFormat, "0.0000") << row;
        if (RestrictionOrder[i].HasMax)
            EXPECT_EQ(Number(sheet, "E" + row), record.Max.Count / 10000.0) << row;
        else
            EXPECT_TRUE(Empty(sheet, "E" + row)) << row;
        EXPECT_EQ(sheet.Cells.at("A" + row).Size, "8.0") << row;
    }
    EXPECT_TRUE(Empty(sheet, "E4"));
    EXPECT_TRUE(Empty(sheet, "E8"));
    EXPECT_FALSE(sheet.Cells.count("A9"));
    EXPECT_FALSE(sheet.Cells.count("F1")) << "the send flags appear nowhere";
}

INSTANTIATE_TEST_SUITE_P(Separators, TfrmVeskInExportNotation, testing::Values('.', ','));

class TfrmVeskInExportEdit : public TfrmVeskInExportTest,
                             public testing::WithParamInterface<bool> {};

// The edit goes into the file whether its cell editor is still open or was closed with Enter,
// and the table is browsing afterwards.
TEST_P(TfrmVeskInExportEdit, AnEditInTheGridIsStoredAndExported) {
    Calculate();
    TypeIntoGridCell(*FWindow, 0, 3, QStringLiteral("0.0025"));
    if (GetParam())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Export();
    EXPECT_EQ(Number(Exported(), "D2"), 0.0025);
    ExpectNothingLeftOver();
    const auto& grid = Find<QAbstractItemView>("DBGrid1");
    EXPECT_EQ(grid.model()->index(0, 3).data().toString(), QStringLiteral("0.0025"));
}

INSTANTIATE_TEST_SUITE_P(EditorClosed, TfrmVeskInExportEdit, testing::Bool());

// The walk over the rows moves the table but not what the user sees: the grid does not redraw
// meanwhile, and the row that was current comes back.
TEST_F(TfrmVeskInExportTest, TheCurrentRowComesBackAndTheGridDoesNotRedrawMeanwhile) {
    Calculate();
    TypeIntoGridCell(*FWindow, 3, 4, QStringLiteral("1.25"));
    auto& grid = Find<QAbstractItemView>("DBGrid1");
    grid.viewport()->installEventFilter(&FGridPaints);
    QTest::qWait(50);
    const int paintsBefore = FGridPaints.Paints;
    Export();
    EXPECT_EQ(Number(Exported(), "E5"), 1.25);
    EXPECT_EQ(FOpened.front().GridPaints, paintsBefore);
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(3, 4));
    EXPECT_EQ(grid.model()->headerData(3, Qt::Vertical).toString(), QStringLiteral("▶"));
    ExpectNothingLeftOver();
}

TEST_F(TfrmVeskInExportTest, RowsTheUserAddedFollowTheSeven) {
    Calculate();
    AddRowWithMinimumTwo();
    Export();
    const TReadSheet sheet = Exported();
    EXPECT_TRUE(Empty(sheet, "A9"));
    EXPECT_TRUE(Empty(sheet, "B9"));
    EXPECT_EQ(Number(sheet, "D9"), 2);
    EXPECT_FALSE(sheet.Cells.count("A10"));
    ExpectNothingLeftOver();
}

// A later export writes the present table into the same file; the row of the earlier, longer
// table stays below it, as in a worksheet written over.
TEST_F(TfrmVeskInExportTest, ALaterExportRewritesTheSameWorkbook) {
    Calculate();
    AddRowWithMinimumTwo();
    Export();
    Calculate();
    TypeIntoGridCell(*FWindow, 0, 3, QStringLiteral("0.5"));
    Export();
    ASSERT_EQ(FOpened.size(), 2u);
    EXPECT_EQ(FOpened[1].Path, FOpened[0].Path);
    const TReadSheet sheet = ReadXlsx(FOpened[1].Path);
    EXPECT_EQ(Number(sheet, "D2"), 0.5);
    EXPECT_EQ(Number(sheet, "D9"), 2);
    const std::filesystem::path folder = std::filesystem::path(FOpened[1].Path).parent_path();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(TfrmVeskInExportTest, AFailedOpenIsReportedAndTheNextExportTriesAgain) {
    Calculate();
    FOpens = false;
    TModalAnswer answer;
    Export();
    ASSERT_EQ(answer.Boxes().size(), 1u);
    ASSERT_EQ(FOpened.size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(answer.Boxes().front().Icon, QMessageBox::Critical);
    EXPECT_EQ(answer.Boxes().front().Text.toStdString(),
              "The workbook was saved as " + FOpened[0].Path +
                  " but cannot be shown: no spreadsheet application is available to open it.");
    ExpectNothingLeftOver();

    FOpens = true;
    Export();
    EXPECT_EQ(answer.Boxes().size(), 1u);
    ASSERT_EQ(FOpened.size(), 2u);
    EXPECT_EQ(FOpened[1].Path, FOpened[0].Path);
}

// Days in milk of 3 make the first calculation fail before the table is filled.
TEST_F(TfrmVeskInExportTest, TheTableOfAFailedFirstCalculationIsNotActive) {
    TModalAnswer answer;
    auto& days = Find<TNumericEdit>("ilSem");
    QTest::keyClick(&days, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&days, QStringLiteral("3"));
    Calculate();
    const size_t failures = answer.Boxes().size();
    ASSERT_GE(failures, 1u);
    Export();
    ASSERT_EQ(answer.Boxes().size(), failures + 1);
    EXPECT_EQ(answer.Boxes().back().Text, QStringLiteral("Dataset is not active."));
    EXPECT_TRUE(FOpened.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
