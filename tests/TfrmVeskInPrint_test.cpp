#include "ui/TfrmVeskIn.h"

#include "modal_answer.h"
#include "temp_folder.h"
#include "ui/TFontDialog.h"
#include "window_test.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

// The window on its page "Resultado", the report edited with the keyboard and the report's
// toolbar, printed into PDF files chosen in the printer set-up.
class TfrmVeskInPrintTest : public TWindowTest {
protected:
    // The machine's own printers stay out of the tests: the printing system is out of reach.
    static void SetUpTestSuite() {
        ::setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);
        ::unsetenv("PRINTER");
        ::unsetenv("LPDEST");
    }
    void SetUp() override {
        Create();
        Show();
        ClickTab("tsRes");
    }

    QTextEdit& M() { return *Find<QTextEdit>("M"); }
    QAction& Action(const char* name) { return *Find<QAction>(name); }
    // The report's own commands; a failing command meets the default error report.
    using TWindowTest::Press;
    void Press(const char* name) { Press("ToolBar1", name); }
    void Print() { Press("tb", "acPrt"); }
    // Replaces the report's whole text by pasting text into it.
    void SetReport(const QString& text) {
        Activate();
        QTest::mouseClick(M().viewport(), Qt::LeftButton);
        QTest::keyClick(&M(), Qt::Key_A, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(&M(), Qt::Key_V, Qt::ControlModifier);
    }
    // Selects the characters from..to with the keyboard, or puts the insertion point at from.
    void Select(int from, int to) {
        QTest::keyClick(&M(), Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < from; ++i)
            QTest::keyClick(&M(), Qt::Key_Right);
        for (int i = from; i < to; ++i)
            QTest::keyClick(&M(), Qt::Key_Right, Qt::ShiftModifier);
    }
    QTextCharFormat FormatAt(int position) {
        QTextCursor cursor(M().document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
    // Opens the font dialog of FontEdit1 and lets answer work in it while it is modal.
    void InFontDialog(const std::function<void(TFontDialog&)>& answer) {
        EXPECT_TRUE(AnswerDialog<TFontDialog>([&] { Press("FontEdit1"); }, answer))
            << "no font dialog";
    }
    void Click(TFontDialog& dialog, const char* button) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    // Chooses printing into the PDF file in the printer set-up, with the left margin in
    // millimetres when one is given.
    void ChoosePdf(const std::string& file, int leftMargin = 0) {
        TModalAnswer unexpected;
        const bool answered = AnswerDialog<QPrintDialog>(
            [&] { Action("FilePrintSetup1").trigger(); },
            [&](QPrintDialog& dialog) {
                auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
                printers->setCurrentIndex(
                    printers->findText(QStringLiteral("Print to File (PDF)")));
                auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
                name->setText(QString::fromStdString(file));
                if (leftMargin > 0) {
                    EXPECT_TRUE(AnswerDialog<QDialog>(
                        [&] {
                            QTest::mouseClick(
                                dialog.findChild<QPushButton*>(QStringLiteral("properties")),
                                Qt::LeftButton);
                        },
                        [&](QDialog& properties) {
                            auto* left =
                                properties.findChild<QDoubleSpinBox*>(QStringLiteral("leftMargin"));
                            QTest::keyClick(left, Qt::Key_A, Qt::ControlModifier);
                            QTest::keyClicks(left, QString::number(leftMargin));
                            ClickOk(properties);
                        }));
                }
                ClickOk(dialog);
            });
        EXPECT_TRUE(answered) << "no printer set-up";
        EXPECT_TRUE(unexpected.Boxes().empty()) << unexpected.Boxes().front().Text.toStdString();
    }
    static void ClickOk(QDialog& dialog) {
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
};

namespace {

// The output of a command line.
std::string Output(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, read);
        pclose(pipe);
    }
    return output;
}

// A field of what pdfinfo tells of the file, "Title" or "Pages".
std::string PdfInfo(const std::string& path, const std::string& field) {
    std::istringstream info(Output("pdfinfo '" + path + "'"));
    for (std::string line; std::getline(info, line);)
        if (line.starts_with(field + ":"))
            return line.substr(line.find_first_not_of(' ', field.size() + 1));
    return {};
}

QString ReportLines(int count) {
    QStringList lines;
    for (int line = 1; line <= count; ++line)
        lines << QStringLiteral("Línea %1 del informe").arg(line, 3, 10, QLatin1Char('0'));
    return lines.join(u'\n');
}

TEST_F(TfrmVeskInPrintTest, BoldAndItalicOnlyWhileTheReportHasTheFocus) {
    SetReport(QStringLiteral("Proteína cruda"));
    QTest::mouseClick(Find<QLineEdit>("Modelo"), Qt::LeftButton);
    Idle();
    EXPECT_FALSE(Action("RichEditBold1").isEnabled());
    EXPECT_FALSE(Action("RichEditItalic1").isEnabled());

    QTest::mouseClick(M().viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    Idle();
    EXPECT_TRUE(Action("RichEditBold1").isEnabled());
    EXPECT_TRUE(Action("RichEditItalic1").isEnabled());
    // The buttons leave the focus where it was.
    Press("RichEditBold1");
    Press("RichEditItalic1");
    EXPECT_TRUE(M().hasFocus());

    ClickTab("tsTipo");
    ClickInto("ilPeso");
    Idle();
    EXPECT_FALSE(Action("RichEditBold1").isEnabled());
    EXPECT_FALSE(Action("RichEditItalic1").isEnabled());
}

bool IsBold(const QTextCharFormat& format) {
    return format.fontWeight() >= QFont::Bold;
}

class TfrmVeskInStyles : public TfrmVeskInPrintTest, public testing::WithParamInterface<bool> {
protected:
    // Bold when the parameter says so, italic otherwise.
    static const char* Command(bool bold) { return bold ? "RichEditBold1" : "RichEditItalic1"; }
    const char* Command() const { return Command(GetParam()); }
    static bool Has(const QTextCharFormat& format, bool bold) {
        return bold ? IsBold(format) : format.fontItalic();
    }
};

TEST_P(TfrmVeskInStyles, ToggleOverTheOtherStyleKeepsIt) {
    const bool bold = GetParam();
    SetReport(QStringLiteral("Calcio Fósforo"));
    Select(0, 6);
    Press(Command(!bold));

    Press(Command());
    Idle();
    EXPECT_TRUE(Action(Command()).isChecked());
    for (int position = 0; position < 6; ++position) {
        EXPECT_TRUE(Has(FormatAt(position), bold)) << position;
        EXPECT_TRUE(Has(FormatAt(position), !bold)) << position;
    }
    EXPECT_FALSE(Has(FormatAt(7), bold));

    Press(Command());
    Idle();
    EXPECT_FALSE(Action(Command()).isChecked());
    for (int position = 0; position < 6; ++position) {
        EXPECT_FALSE(Has(FormatAt(position), bold)) << position;
        EXPECT_TRUE(Has(FormatAt(position), !bold)) << position;
    }
}

TEST_P(TfrmVeskInStyles, WithoutSelectionOnlyTheTextTypedNext) {
    const bool bold = GetParam();
    SetReport(QStringLiteral("Magnesio"));
    Select(4, 4);
    Press(Command());
    for (int position = 0; position < 8; ++position)
        EXPECT_FALSE(Has(FormatAt(position), bold)) << position;
    Idle();
    EXPECT_TRUE(Action(Command()).isChecked());
    QTest::keyClicks(&M(), QStringLiteral("X"));
    EXPECT_EQ(M().toPlainText(), QStringLiteral("MagnXesio"));
    EXPECT_TRUE(Has(FormatAt(4), bold));
    EXPECT_FALSE(Has(FormatAt(5), bold));
}

INSTANTIATE_TEST_SUITE_P(BoldAndItalic, TfrmVeskInStyles, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Bold" : "Italic");
                         });

TEST_F(TfrmVeskInPrintTest, FontDialogShowsTheSelectionAndAppliesColourNameAndSizeOnly) {
    SetReport(QStringLiteral("Potasio y Sodio"));
    Select(0, 7);
    InFontDialog([&](TFontDialog& dialog) {
        QFont start = dialog.Font();
        start.setPointSize(14);
        dialog.SetFont(start);
        dialog.SetColor(Qt::darkGreen);
        Click(dialog, "OK");
    });

    InFontDialog([&](TFontDialog& dialog) {
        EXPECT_EQ(dialog.Color(), QColor(Qt::darkGreen));
        EXPECT_EQ(dialog.Font().pointSize(), 14);
        EXPECT_EQ(dialog.Font().family(), M().font().family());
        EXPECT_FALSE(dialog.Font().bold());
        QFont chosen(QStringLiteral("Liberation Sans"), 20);
        chosen.setBold(true);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        chosen.setStrikeOut(true);
        dialog.SetFont(chosen);
        dialog.SetColor(Qt::blue);
        Click(dialog, "OK");
    });
    for (int position = 0; position < 7; ++position) {
        const QTextCharFormat format = FormatAt(position);
        EXPECT_EQ(format.foreground().color(), QColor(Qt::blue)) << position;
        EXPECT_EQ(format.fontPointSize(), 20) << position;
        EXPECT_EQ(format.font().family(), QStringLiteral("Liberation Sans")) << position;
        EXPECT_FALSE(IsBold(format) || format.fontItalic() || format.fontUnderline() ||
                     format.fontStrikeOut())
            << position;
    }
    EXPECT_NE(FormatAt(8).foreground().color(), QColor(Qt::blue));

    // The dialog keeps its own style; colour, name and size come from the selection again.
    Select(8, 9);
    InFontDialog([&](TFontDialog& dialog) {
        EXPECT_TRUE(dialog.Font().bold());
        EXPECT_TRUE(dialog.Font().underline());
        EXPECT_EQ(dialog.Font().family(), M().font().family());
        EXPECT_EQ(dialog.Font().pointSize(), M().font().pointSize());
        EXPECT_NE(dialog.Color(), QColor(Qt::blue));
        Click(dialog, "Cancel");
    });
}

TEST_F(TfrmVeskInPrintTest, FontDialogApplyStaysOpenAndCancelKeepsWhatWasApplied) {
    SetReport(QStringLiteral("Energía neta"));
    Select(0, 7);
    InFontDialog([&](TFontDialog& dialog) {
        dialog.SetColor(Qt::red);
        Click(dialog, "Apply");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(FormatAt(0).foreground().color(), QColor(Qt::red));
        dialog.SetColor(Qt::blue);
        Click(dialog, "Apply");
        EXPECT_EQ(FormatAt(0).foreground().color(), QColor(Qt::blue));
        dialog.SetColor(Qt::green);
        Click(dialog, "Cancel");
    });
    EXPECT_EQ(FormatAt(6).foreground().color(), QColor(Qt::blue));
}

TEST_F(TfrmVeskInPrintTest, FontDialogWithoutSelectionSetsTheInsertionPoint) {
    SetReport(QStringLiteral("Fibra"));
    Select(2, 2);
    InFontDialog([&](TFontDialog& dialog) {
        dialog.SetColor(Qt::red);
        Click(dialog, "OK");
    });
    for (int position = 0; position < 5; ++position)
        EXPECT_NE(FormatAt(position).foreground().color(), QColor(Qt::red)) << position;
    QTest::keyClicks(&M(), QStringLiteral("X"));
    EXPECT_EQ(FormatAt(2).foreground().color(), QColor(Qt::red));
}

TEST_F(TfrmVeskInPrintTest, PrintingNeedsACharacterInTheReport) {
    Idle();
    EXPECT_FALSE(Action("acPrt").isEnabled());
    SetReport(QStringLiteral("Consumo estimado"));
    Idle();
    EXPECT_TRUE(Action("acPrt").isEnabled());
    QTest::keyClick(&M(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&M(), Qt::Key_Delete);
    Idle();
    EXPECT_FALSE(Action("acPrt").isEnabled());
}

class TfrmVeskInPrintToFile : public TfrmVeskInPrintTest {
protected:
    void SetUp() override {
        TfrmVeskInPrintTest::SetUp();
        ChoosePdf(FPdf);
    }

    TTempFolder FFolder{"print"};
    std::string FPdf = FFolder.Path() + "/report.pdf";
};

TEST_F(TfrmVeskInPrintToFile, OneJobTitledWithTheCaption) {
    SetReport(ReportLines(3));
    TModalAnswer answer;
    Print();
    EXPECT_TRUE(answer.Boxes().empty());
    EXPECT_EQ(PdfInfo(FPdf, "Title"), FWindow->windowTitle().toStdString());
    EXPECT_NE(FWindow->windowTitle().indexOf(QStringLiteral("(Rev. 2132)")), -1);
    EXPECT_EQ(PdfInfo(FPdf, "Pages"), "1");
}

TEST_F(TfrmVeskInPrintToFile, LongReportRunsOverSeveralPagesInOrder) {
    SetReport(ReportLines(200));
    QTest::keyClick(&M(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&M(), Qt::Key_End, Qt::ShiftModifier);
    Press("RichEditBold1");
    Print();

    EXPECT_GE(std::atoi(PdfInfo(FPdf, "Pages").c_str()), 3);
    const std::string text = Output("pdftotext -layout '" + FPdf + "' -");
    size_t from = 0;
    for (int line = 1; line <= 200; ++line) {
        char expected[40];
        std::snprintf(expected, sizeof expected, "Línea %03d del informe", line);
        const size_t at = text.find(expected, from);
        ASSERT_NE(at, std::string::npos) << expected;
        from = at + 1;
    }
    EXPECT_NE(Output("pdffonts '" + FPdf + "'").find("Mono-Bold"), std::string::npos);
}

TEST_F(TfrmVeskInPrintToFile, TextStartsAtThePrintableAreaWithoutMarginsOfItsOwn) {
    ChoosePdf(FPdf, 10);
    SetReport(QStringLiteral("Inicio"));
    Print();
    // Word boxes in points; 10 mm are 28.35 points.
    const std::string boxes = Output("pdftotext -bbox '" + FPdf + "' -");
    const auto word = boxes.find("xMin=\"");
    ASSERT_NE(word, std::string::npos) << boxes;
    const double left = std::stod(boxes.substr(word + 6));
    EXPECT_NEAR(left, 28.35, 2.0) << boxes;
}

struct TPrinterFailure {
    const char* Name;
    bool ChooseAFolderThatGoes;
    const char* Text;
};

void PrintTo(const TPrinterFailure& c, std::ostream* os) {
    *os << c.Name;
}

class TfrmVeskInFailedPrint : public TfrmVeskInPrintTest,
                              public testing::WithParamInterface<TPrinterFailure> {
protected:
    TTempFolder FFolder{"failed"};
};

// The failure is reported in English and prints nothing; the printer then takes the next
// choice of the set-up and prints the report.
TEST_P(TfrmVeskInFailedPrint, ReportedAndTheNextSetUpPrints) {
    const TPrinterFailure& c = GetParam();
    const std::string gone = FFolder.Path() + "/gone";
    if (c.ChooseAFolderThatGoes) {
        std::filesystem::create_directory(gone);
        ChoosePdf(gone + "/report.pdf");
        std::filesystem::remove(gone);
    }
    Calculate();
    {
        TModalAnswer answer;
        Print();
        ASSERT_EQ(answer.Boxes().size(), 1u);
        EXPECT_EQ(answer.Boxes().front().Title, QStringLiteral("Rumiva - Vesk"));
        EXPECT_EQ(answer.Boxes().front().Text, QString::fromUtf8(c.Text));
        EXPECT_EQ(answer.Boxes().front().Icon, QMessageBox::Critical);
    }
    EXPECT_EQ(FFolder.Entries(), 0);

    const std::string pdf = FFolder.Path() + "/report.pdf";
    ChoosePdf(pdf);
    TModalAnswer answer;
    Print();
    EXPECT_TRUE(answer.Boxes().empty());
    const std::string text = Output("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("Rumiva v2.0 - Complemento VESK -"), std::string::npos) << text;
    EXPECT_NE(text.find("Peso de la vaca:            450.0 Kg."), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Printers, TfrmVeskInFailedPrint,
    testing::Values(TPrinterFailure{"NoPrinter", false,
                                    "There is no default printer currently selected."},
                    TPrinterFailure{"FolderGone", true, "Printer selected is not valid."}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
