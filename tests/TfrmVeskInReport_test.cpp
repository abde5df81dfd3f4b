#include "ui/TfrmVeskIn.h"

#include "grid_typing.h"
#include "modal_answer.h"
#include "report_lines.h"
#include "window_test.h"

#include <QAbstractItemView>
#include <QAction>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <cctype>
#include <memory>

// The window after start, calculated with F9 as a user would. The restrictions page was shown
// once, so that its grid shows the table.
class TfrmVeskInReportTest : public TWindowTest {
protected:
    void Create(char separator) {
        TWindowTest::Create(separator);
        Show();
        ClickTab("tsGird");
        ClickTab("tsTipo");
    }
    void SetUp() override { Create('.'); }

    // The paragraphs of the report view; none while the view has not been built.
    std::vector<std::string> Report() const {
        std::vector<std::string> lines;
        const auto* view = FWindow->findChild<QTextEdit*>(QStringLiteral("M"));
        if (view == nullptr)
            return lines;
        const QTextDocument* document = view->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            lines.push_back(block.text().toStdString());
        return lines;
    }
    // The cells of the restrictions grid, row by row, as it shows them.
    std::vector<std::string> TableTexts() const {
        std::vector<std::string> texts;
        const QAbstractItemModel* table = Find<QAbstractItemView>("DBGrid1")->model();
        for (int row = 0; row < table->rowCount(); ++row)
            for (int column = 0; column < table->columnCount(); ++column)
                texts.push_back(table->index(row, column).data().toString().toStdString());
        return texts;
    }
    // Whether the table's edit, post and cancel commands are enabled: what its state allows.
    std::vector<bool> TableCommands() {
        Idle();
        return {Find<QAction>("DataSetEdit1")->isEnabled(),
                Find<QAction>("DataSetPost1")->isEnabled(),
                Find<QAction>("DataSetCancel1")->isEnabled()};
    }
};

namespace {

// The lines with the decimal point of every number replaced by separator.
std::vector<std::string> WithSeparator(std::vector<std::string> lines, char separator) {
    for (std::string& line : lines)
        for (size_t i = 1; i + 1 < line.size(); ++i)
            if (line[i] == '.' && std::isdigit(static_cast<unsigned char>(line[i - 1])) &&
                std::isdigit(static_cast<unsigned char>(line[i + 1])))
                line[i] = separator;
    return lines;
}

class TfrmVeskInStartUpReport : public TfrmVeskInReportTest,
                                public testing::WithParamInterface<char> {
protected:
    void SetUp() override { Create(GetParam()); }
};

TEST_P(TfrmVeskInStartUpReport, DefaultCowInThirtyOneLines) {
    Calculate();
    const std::vector<std::string> expected =
        ExpectedReport(WithSeparator(DefaultAnimalData("52"), GetParam()),
                       WithSeparator({"Proteína cruda     %           15.1320   18.1584",
                                      "Energía Neta Lact  MCal/Kg      1.6080    1.6080",
                                      "Fibra Det. Neutra  %           30.7785",
                                      "Calcio             %            0.5460    0.7800",
                                      "Fósforo            %            0.3120    0.4044",
                                      "Magnesio           %            0.2750    0.4125",
                                      "Potasio            %            1.0990"},
                                     GetParam()));
    EXPECT_EQ(Report(), expected);
    EXPECT_EQ(Report().size(), 31u);
    EXPECT_EQ(CurrentPage(), Find<QWidget>("tsRes"));
    Idle();
    EXPECT_TRUE(Find<QAction>("acExcel")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Separators, TfrmVeskInStartUpReport, testing::Values('.', ','));

struct TStateReport {
    int State;
    size_t Lines;
    std::vector<std::string> Labels; // the data labels after "Etapa productiva:"
};

void PrintTo(const TStateReport& c, std::ostream* os) {
    *os << "state " << c.State;
}

class TfrmVeskInStateReport : public TfrmVeskInReportTest,
                              public testing::WithParamInterface<TStateReport> {};

TEST_P(TfrmVeskInStateReport, ShowsTheLinesOfTheState) {
    ClickItem("rgTipo", GetParam().State);
    Calculate();
    const std::vector<std::string> lines = Report();
    EXPECT_EQ(lines.size(), GetParam().Lines);
    // The lines between the state's name and the two empty lines before the table.
    std::vector<std::string> labels;
    for (size_t i = 12; i + 13 < lines.size(); ++i)
        labels.push_back(lines[i].substr(0, lines[i].find(':') + 1));
    EXPECT_EQ(labels, GetParam().Labels);
}

INSTANTIATE_TEST_SUITE_P(
    States, TfrmVeskInStateReport,
    testing::Values(TStateReport{0,
                                 31,
                                 {"Número de lactación:", "Producción diaria de leche:",
                                  "Porcentaje de grasa:", "Porcentaje de proteina:",
                                  "Días de lactación:", "Temperatura ambiente:"}},
                    TStateReport{1, 27, {"Número de lactación:", "Ganancia diaria de peso:"}},
                    TStateReport{2, 27, {"Ganancia diaria de peso:", "ADG:"}}));

TEST_F(TfrmVeskInReportTest, SecondCalculationFromAnotherPageReplacesTheReport) {
    Calculate();
    ClickTab("tsTipo");
    Type("ilPeso", "600");
    Calculate();
    const std::vector<std::string> lines = Report();
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[9], "Peso de la vaca:            600.0 Kg.");
    EXPECT_EQ(CurrentPage(), Find<QWidget>("tsRes"));
}

class TfrmVeskInFailingCalculation : public TfrmVeskInReportTest,
                                     public testing::WithParamInterface<bool> {};

// Days in milk of 3 divide by zero in the intake estimate, so the live estimate fails too.
TEST_P(TfrmVeskInFailingCalculation, ChangesNothingButTheCalculatedMark) {
    const bool calculatedBefore = GetParam();
    if (calculatedBefore) {
        Calculate();
        TypeIntoGridCell(*FWindow, 0, 2, QStringLiteral("g"));
        Press("ToolBar2", "DataSetPost1");
        Press("ToolBar2", "DataSetEdit1");
        ASSERT_EQ(TableTexts().at(2), "g");
    }
    const std::vector<std::string> report = Report();
    const std::vector<std::string> table = TableTexts();
    const std::vector<bool> state = TableCommands();
    ClickTab("tsTipo");
    TModalAnswer answer;
    Type("ilSem", "3");
    const size_t estimateBoxes = answer.Boxes().size();
    Calculate();
    ASSERT_EQ(answer.Boxes().size(), estimateBoxes + 1);
    EXPECT_EQ(answer.Boxes().back().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(answer.Boxes().back().Text, QStringLiteral("Floating point division by zero."));
    EXPECT_EQ(Report(), report);
    EXPECT_EQ(TableTexts(), table);
    EXPECT_EQ(TableCommands(), state);
    EXPECT_EQ(CurrentPage(), Find<QWidget>("tsTipo"));
    Idle();
    EXPECT_TRUE(Find<QAction>("acExcel")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Before, TfrmVeskInFailingCalculation, testing::Bool());

TEST_F(TfrmVeskInReportTest, CalculationFillsTheSevenRestrictions) {
    Calculate();
    // Browsing: the rows may be edited, there is nothing to post or cancel.
    EXPECT_EQ(TableCommands(), std::vector<bool>({true, false, false}));
    const std::vector<std::string> expected = {"101",     "Proteína cruda",
                                               "%",       "15.1320",
                                               "18.1584", "Sí",
                                               "102",     "Energía neta de lactación",
                                               "Mcal/kg", "1.6080",
                                               "1.6080",  "Sí",
                                               "103",     "Fibra detergente neutra",
                                               "%",       "30.7785",
                                               "",        "Sí",
                                               "104",     "Calcio",
                                               "%",       "0.5460",
                                               "0.7800",  "Sí",
                                               "105",     "Fósforo",
                                               "%",       "0.3120",
                                               "0.4044",  "Sí",
                                               "106",     "Magnesio",
                                               "%",       "0.2750",
                                               "0.4125",  "Sí",
                                               "107",     "Potasio",
                                               "%",       "1.0990",
                                               "",        "Sí"};
    EXPECT_EQ(TableTexts(), expected);
}

} // namespace
