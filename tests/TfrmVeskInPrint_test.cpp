#include "ui/TfrmVeskIn.h"

#include "modal_answer.h"
#include "temp_folder.h"
#include "ui/TFontDialog.h"
#include "ui/TNumericEdit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

// The window on its page "Resultado" with a report in M.
class TfrmVeskInPrintTest : public testing::Test {
protected:
    void SetUp() override {
        FWindow = std::make_unique<TfrmVeskIn>();
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
        Pages().setCurrentIndex(1);
    }

    QTextEdit& M() { return FWindow->Report(); }
    // Modelo, Resultado, Restricciones.
    QTabWidget& Pages() { return *FWindow->pc; }
    QAction& Action(const char* name) {
        auto* action = FWindow->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return *action;
    }
    void Idle() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }
    // Clicks the command's button on the report's toolbar, as the user does.
    void Press(const char* name) {
        Idle();
        QTest::mouseClick(FWindow->ToolBar1->widgetForAction(&Action(name)), Qt::LeftButton);
    }
    // Runs the command from the event queue, where a failure reaches the default error report.
    void TriggerQueued(const char* name) {
        Idle();
        QMetaObject::invokeMethod(&Action(name), &QAction::trigger, Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }
    void Select(int from, int to) {
        QTextCursor cursor = M().textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        M().setTextCursor(cursor);
    }
    QTextCharFormat FormatAt(int position) {
        QTextCursor cursor(M().document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
    // Opens the font dialog of FontEdit1 and lets answer work in it while it is modal.
    void InFontDialog(const std::function<void(TFontDialog&)>& answer) {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<TFontDialog*>(QApplication::activeModalWidget())) {
                timer.stop();
                answer(*dialog);
            }
        });
        timer.start(10);
        Press("FontEdit1");
        EXPECT_FALSE(timer.isActive()) << "no font dialog";
    }
    void Click(TFontDialog& dialog, const char* button) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    QPrinter& Printer() { return FWindow->Printer(); }

    std::unique_ptr<TfrmVeskIn> FWindow;
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

} // namespace

TEST_F(TfrmVeskInPrintTest, BoldAndItalicOnlyWhileTheReportHasTheFocus) {
    M().setPlainText(QStringLiteral("Proteína cruda"));
    Pages().tabBar()->setFocus();
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

    Pages().setCurrentIndex(0);
    FWindow->findChild<TNumericEdit*>(QStringLiteral("ilPeso"))->setFocus();
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
    const char* Command() const { return GetParam() ? "RichEditBold1" : "RichEditItalic1"; }
    static bool Has(const QTextCharFormat& format, bool bold) {
        return bold ? IsBold(format) : format.fontItalic();
    }
};

TEST_P(TfrmVeskInStyles, ToggleOverTheOtherStyleKeepsIt) {
    const bool bold = GetParam();
    M().setPlainText(QStringLiteral("Calcio Fósforo"));
    Select(0, 6);
    QTextCharFormat other;
    if (bold)
        other.setFontItalic(true);
    else
        other.setFontWeight(QFont::Bold);
    M().mergeCurrentCharFormat(other);
    M().setFocus();

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
    M().setPlainText(QStringLiteral("Magnesio"));
    Select(4, 4);
    M().setFocus();
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
    M().setPlainText(QStringLiteral("Potasio y Sodio"));
    Select(0, 7);
    QTextCharFormat start;
    start.setForeground(QColor(Qt::darkGreen));
    start.setFontPointSize(14);
    M().mergeCurrentCharFormat(start);
    M().setFocus();

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
    M().setPlainText(QStringLiteral("Energía neta"));
    Select(0, 7);
    M().setFocus();
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
    M().setPlainText(QStringLiteral("Fibra"));
    Select(2, 2);
    M().setFocus();
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
    M().setPlainText(QStringLiteral("Consumo estimado"));
    Idle();
    EXPECT_TRUE(Action("acPrt").isEnabled());
    M().setFocus();
    QTest::keyClick(&M(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&M(), Qt::Key_Delete);
    Idle();
    EXPECT_FALSE(Action("acPrt").isEnabled());
}

TEST_F(TfrmVeskInPrintTest, PrinterSetUpWorksOnTheWindowsOnePrinter) {
    QPrinter* chosen = nullptr;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            chosen = dialog->printer();
            dialog->reject();
        }
    });
    timer.start(10);
    Action("FilePrintSetup1").trigger();
    EXPECT_EQ(chosen, &Printer());
}

class TfrmVeskInPrintToFile : public TfrmVeskInPrintTest {
protected:
    void SetUp() override {
        TfrmVeskInPrintTest::SetUp();
        Printer().setOutputFormat(QPrinter::PdfFormat);
        Printer().setOutputFileName(QString::fromStdString(FPdf));
    }

    TTempFolder FFolder{"print"};
    std::string FPdf = FFolder.Path() + "/report.pdf";
};

TEST_F(TfrmVeskInPrintToFile, OneJobTitledWithTheCaption) {
    M().setPlainText(ReportLines(3));
    TModalAnswer answer;
    TriggerQueued("acPrt");
    EXPECT_TRUE(answer.Boxes().empty());
    EXPECT_EQ(PdfInfo(FPdf, "Title"), FWindow->windowTitle().toStdString());
    EXPECT_NE(FWindow->windowTitle().indexOf(QStringLiteral("(Rev. 2132)")), -1);
    EXPECT_EQ(PdfInfo(FPdf, "Pages"), "1");
}

TEST_F(TfrmVeskInPrintToFile, LongReportRunsOverSeveralPagesInOrder) {
    M().setPlainText(ReportLines(200));
    QTextCursor first = M().textCursor();
    first.movePosition(QTextCursor::Start);
    first.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    first.mergeCharFormat(bold);
    TriggerQueued("acPrt");

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
    Printer().setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    M().setPlainText(QStringLiteral("Inicio"));
    TriggerQueued("acPrt");
    // Word boxes in points; 10 mm are 28.35 points.
    const std::string boxes = Output("pdftotext -bbox '" + FPdf + "' -");
    const auto word = boxes.find("xMin=\"");
    ASSERT_NE(word, std::string::npos) << boxes;
    const double left = std::stod(boxes.substr(word + 6));
    EXPECT_NEAR(left, 28.35, 2.0) << boxes;
}

struct TPrinterFailure {
    const char* File;
    const char* Text;
};

class TfrmVeskInNoPrinter : public TfrmVeskInPrintTest,
                            public testing::WithParamInterface<TPrinterFailure> {};

TEST_P(TfrmVeskInNoPrinter, ReportedInEnglishAndNothingPrinted) {
    Printer().setOutputFormat(QPrinter::PdfFormat);
    Printer().setOutputFileName(QString::fromUtf8(GetParam().File));
    M().setPlainText(ReportLines(3));
    TModalAnswer answer;
    TriggerQueued("acPrt");
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(answer.Boxes().front().Text, QString::fromUtf8(GetParam().Text));
    EXPECT_EQ(answer.Boxes().front().Icon, QMessageBox::Critical);
}

INSTANTIATE_TEST_SUITE_P(
    Printers, TfrmVeskInNoPrinter,
    testing::Values(TPrinterFailure{"", "There is no default printer currently selected."},
                    TPrinterFailure{"/nonexistent-folder/report.pdf",
                                    "Printer selected is not valid."}));
