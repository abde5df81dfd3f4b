#include "ui/TNumericEdit.h"

#include "model/InputRoundTrip.h"
#include "platform/regional.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

// An input beside a second one that can take the focus away from it.
class TNumericEditTest : public testing::Test {
protected:
    void Create(const TNumericSpec& limits, long double value, char separator = '.') {
        SetRegional({separator, ""});
        FWindow = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(FWindow.get());
        FEdit = new TNumericEdit(limits, FWindow.get());
        FOther = new QLineEdit(FWindow.get());
        layout->addWidget(FEdit);
        layout->addWidget(FOther);
        FEdit->SetValue(value);
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
        FEdit->setFocus();
        FChanges = std::make_unique<QSignalSpy>(FEdit, &TNumericEdit::changed);
    }
    void TearDown() override { SetRegional({'.', ","}); }

    // Plays keys: '^' Up, '_' Down, '<' Backspace, '*' select all, '|' focus to the other
    // input, '#' paste; any other character is typed.
    void Play(const std::string& keys) {
        for (char key : keys) {
            switch (key) {
            case '^':
                QTest::keyClick(FEdit, Qt::Key_Up);
                break;
            case '_':
                QTest::keyClick(FEdit, Qt::Key_Down);
                break;
            case '<':
                QTest::keyClick(FEdit, Qt::Key_Backspace);
                break;
            case '*':
                QTest::keyClick(FEdit, Qt::Key_A, Qt::ControlModifier);
                break;
            case '|':
                FOther->setFocus();
                break;
            case '#':
                QTest::keyClick(FEdit, Qt::Key_V, Qt::ControlModifier);
                break;
            default:
                QTest::keyClick(FEdit, key);
                break;
            }
        }
    }
    std::string Text() const { return FEdit->text().toStdString(); }

    std::unique_ptr<QWidget> FWindow;
    TNumericEdit* FEdit = nullptr;
    QLineEdit* FOther = nullptr;
    std::unique_ptr<QSignalSpy> FChanges;
};

struct TKeyCase {
    const char* Name;
    TNumericSpec Limits;
    long double Initial;
    char Separator;
    const char* Keys;
    const char* Text;
    long double Value;
    int Changes;
};

void PrintTo(const TKeyCase& c, std::ostream* os) {
    *os << c.Name;
}

const TKeyCase KeyCases[] = {
    {"DigitsReplaceSelection", InputSpecs::ilCons, 10, '.', "*12.5", "12.5", 12.5L, 4},
    {"PeriodBecomesRegionalSeparator", InputSpecs::ilCons, 10, ',', "*1.5", "1,5", 1.5L, 3},
    {"RegionalSeparatorTyped", InputSpecs::ilCons, 10, ',', "*1,5", "1,5", 1.5L, 3},
    {"PeriodRefusedUnderComma", InputSpecs::ilCons, 10, ',', "*1,5.", "1,5", 1.5L, 3},
    {"SecondSeparatorRefused", InputSpecs::ilCons, 10, '.', "*1.5.", "1.5", 1.5L, 3},
    {"LetterRefused", InputSpecs::ilCons, 10, '.', "*x", "10.00", 10, 0},
    {"ExponentAcceptedOnce", InputSpecs::ilCons, 10, '.', "*1e2E", "1e2", 100, 3},
    {"IntegerRefusesSeparatorAndExponent", InputSpecs::ilPeso, 450, '.', "*5.e0", "50", 50, 2},
    {"SignsAccepted", InputSpecs::ilTemp, 0, '.', "*-5", "-5", -5, 2},
    {"EmptyReadsMinimum", InputSpecs::ilTemp, 0, '.', "*<", "", -40, 1},
    {"LoneSignReadsMinimum", InputSpecs::ilSem, 10, '.', "*-", "-", 1, 1},
    {"ReadingDoesNotClamp", InputSpecs::ilLeche, 10, '.', "*600", "600", 600, 3},
    {"FocusLossClampsAndFormats", InputSpecs::ilLeche, 10, '.', "*600|", "45.00", 45, 4},
    {"FocusLossFormats", InputSpecs::ilCons, 10, '.', "*7|", "7.00", 7, 2},
    {"FocusLossOnFormattedTextFiresNothing", InputSpecs::ilCons, 10, '.', "|", "10.00", 10, 0},
    {"FocusLossOnEmptyIntegerWritesMinimum", InputSpecs::ilSem, 10, '.', "*<|", "1", 1, 2},
    {"UpSteps", InputSpecs::ilCons, 10, '.', "^", "10.50", 10.5L, 1},
    {"DownSteps", InputSpecs::ilADG, 0.1L, '.', "_", "0.05", 0.05L, 1},
    {"StepFromTypedValueClamps", InputSpecs::ilLeche, 10, '.', "*600^", "45.00", 45, 4},
    {"DownAtMinimumFiresNothing", InputSpecs::ilSem, 1, '.', "_", "1", 1, 0},
    {"IntegerStepsFromTypedValue", InputSpecs::ilSem, 10, '.', "*7^^", "9", 9, 3},
    {"StepFromEmptyStartsAtMinimum", InputSpecs::ilPeso, 450, '.', "*<^", "110", 110, 2},
};

class TNumericEditKeys : public TNumericEditTest, public testing::WithParamInterface<TKeyCase> {};

TEST_P(TNumericEditKeys, TextValueAndChanges) {
    const TKeyCase& c = GetParam();
    Create(c.Limits, c.Initial, c.Separator);
    Play(c.Keys);
    EXPECT_EQ(Text(), c.Text);
    EXPECT_EQ(static_cast<double>(FEdit->Value()), static_cast<double>(c.Value));
    EXPECT_EQ(FChanges->count(), c.Changes);
}

INSTANTIATE_TEST_SUITE_P(Rules, TNumericEditKeys, testing::ValuesIn(KeyCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TPasteCase {
    const char* Name;
    TNumericSpec Limits;
    long double Initial;
    const char* Keys; // played before the paste
    const char* Clipboard;
    const char* Text;
    int Changes;
};

void PrintTo(const TPasteCase& c, std::ostream* os) {
    *os << c.Name;
}

const TPasteCase PasteCases[] = {
    {"NumberReplacesSelection", InputSpecs::ilCons, 10, "*", "12.5", "12.5", 1},
    {"NumberInsertedAtCursor", InputSpecs::ilCons, 10, "*1", "5e1", "15e1", 2},
    {"TextRefusedWritesValueBack", InputSpecs::ilLeche, 10, "*600", "abc", "45.00", 4},
    {"TextRefusedOnFormattedTextFiresNothing", InputSpecs::ilCons, 10, "*", "abc", "10.00", 0},
    {"EmptyOverSelectionRefused", InputSpecs::ilCons, 10, "*", "", "10.00", 0},
    {"RealIntoIntegerKept", InputSpecs::ilPeso, 450, "*", "1.5", "1.5", 1},
};

class TNumericEditPaste : public TNumericEditTest,
                          public testing::WithParamInterface<TPasteCase> {};

TEST_P(TNumericEditPaste, ResultMustBeANumber) {
    const TPasteCase& c = GetParam();
    Create(c.Limits, c.Initial);
    Play(c.Keys);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.Clipboard));
    Play("#");
    EXPECT_EQ(Text(), c.Text);
    EXPECT_EQ(FChanges->count(), c.Changes);
}

INSTANTIATE_TEST_SUITE_P(Rules, TNumericEditPaste, testing::ValuesIn(PasteCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TWriteCase {
    const char* Name;
    TNumericSpec Limits;
    long double Initial;
    long double Written;
    const char* Text;
    int Changes;
};

void PrintTo(const TWriteCase& c, std::ostream* os) {
    *os << c.Name;
}

const TWriteCase WriteCases[] = {
    {"RealInFixedNotation", InputSpecs::ilCons, 10, 7.5L, "7.50", 1},
    {"RealHalvesAwayFromZero", InputSpecs::ilCons, 10, 0.125L, "0.13", 1},
    {"ClampedToMaximum", InputSpecs::ilLeche, 10, 600, "45.00", 1},
    {"ClampedToMinimum", InputSpecs::ilTemp, 0, -41, "-40.00", 1},
    {"IntegerHalfToEvenBelow", InputSpecs::sePF, 0, 2.5L, "2", 1},
    {"IntegerHalfToEvenAbove", InputSpecs::sePF, 0, 3.5L, "4", 1},
    {"SameTextFiresNothing", InputSpecs::ilCons, 10, 10.001L, "10.00", 0},
    {"ClampedToSameTextFiresNothing", InputSpecs::ilSem, 52, 60, "52", 0},
};

class TNumericEditWrite : public TNumericEditTest,
                          public testing::WithParamInterface<TWriteCase> {};

TEST_P(TNumericEditWrite, ClampsFormatsAndFiresOnChange) {
    const TWriteCase& c = GetParam();
    Create(c.Limits, c.Initial);
    FEdit->SetValue(c.Written);
    EXPECT_EQ(Text(), c.Text);
    EXPECT_EQ(FChanges->count(), c.Changes);
}

INSTANTIATE_TEST_SUITE_P(Rules, TNumericEditWrite, testing::ValuesIn(WriteCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TNumericEditTest, ButtonsStep) {
    Create(InputSpecs::ilCons, 10);
    QStyleOptionSpinBox option;
    option.initFrom(FEdit);
    option.subControls = QStyle::SC_All;
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    option.frame = true;
    const auto center = [&](QStyle::SubControl part) {
        return FEdit->style()->subControlRect(QStyle::CC_SpinBox, &option, part, FEdit).center();
    };
    QTest::mouseClick(FEdit, Qt::LeftButton, {}, center(QStyle::SC_SpinBoxUp));
    EXPECT_EQ(Text(), "10.50");
    QTest::mouseClick(FEdit, Qt::LeftButton, {}, center(QStyle::SC_SpinBoxDown));
    QTest::mouseClick(FEdit, Qt::LeftButton, {}, center(QStyle::SC_SpinBoxDown));
    EXPECT_EQ(Text(), "9.50");
    EXPECT_EQ(FChanges->count(), 3);
}

// Held with Alt, even the keys that form a number are commands that type nothing.
TEST_F(TNumericEditTest, AltChordsTypeNothing) {
    Create(InputSpecs::ilCons, 10);
    Play("*");
    for (const Qt::Key key : {Qt::Key_P, Qt::Key_E, Qt::Key_5, Qt::Key_Minus, Qt::Key_Period}) {
        QTest::keyClick(FEdit, key, Qt::AltModifier);
        EXPECT_EQ(Text(), "10.00") << QKeySequence(key).toString().toStdString();
    }
    EXPECT_EQ(FChanges->count(), 0);
    Play("7");
    EXPECT_EQ(Text(), "7");
}

TEST_F(TNumericEditTest, IntegerReadingTruncatesAndRefusesBeyond32Bits) {
    Create(InputSpecs::ilSem, 10);
    Play("*-7");
    EXPECT_EQ(FEdit->AsInteger(), -7);
    Play("*99999999999");
    EXPECT_THROW(FEdit->AsInteger(), EConvertError);
}

} // namespace
