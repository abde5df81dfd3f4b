#include "ui/TfrmVeskIn.h"

#include "grid_typing.h"
#include "host_object.h"
#include "modal_answer.h"
#include "platform/regional.h"
#include "platform/runtime_folder.h"
#include "tools/host_window.h"
#include "ui/TNumericEdit.h"
#include "ui/TTableModel.h"
#include "window_calculation.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <limits>
#include <memory>
#include <optional>
#include <unistd.h>

// The window as a user meets it, handed a bad host block or bad text in the restrictions grid.
class TBadInputWindowTest : public testing::Test {
protected:
    void TearDown() override {
        FWindow.reset();
        SetRegional({'.', ","});
    }

    void Start() {
        SetRegional({'.', ""});
        FWindow = std::make_unique<TfrmVeskIn>();
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    void Idle() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }
    QAction* Share() const { return FWindow->findChild<QAction*>(QStringLiteral("acShare")); }
    // After a calculation, whether it succeeded or not, only a linked tool can send.
    bool ShareEnabled() {
        Idle();
        return Share()->isEnabled();
    }
    QString Offered() const {
        return FWindow->findChild<TNumericEdit*>(QStringLiteral("ilCons"))->text();
    }
    // The restrictions grid's table, once its page was shown.
    TTableModel& Table() const {
        return *qobject_cast<TTableModel*>(
            FWindow->findChild<QAbstractItemView*>(QStringLiteral("DBGrid1"))->model());
    }
    QString Cell(int row, int column) const { return Table().index(row, column).data().toString(); }

    // Sends through the toolbar button, so that a failure meets the default error report.
    std::vector<TModalAnswer::TBox> ClickShare() {
        TModalAnswer answer;
        Idle();
        for (QToolBar* bar : FWindow->findChildren<QToolBar*>())
            if (QWidget* button = bar->widgetForAction(Share())) {
                QTest::mouseClick(button, Qt::LeftButton);
                return answer.Boxes();
            }
        ADD_FAILURE() << "no button sends";
        return answer.Boxes();
    }

    std::unique_ptr<TfrmVeskIn> FWindow;
};

namespace {

// A host's object of the tool's fixed name holding size bytes, the offered intake at its start.
class TRawHostObject {
public:
    TRawHostObject(off_t size, float offered) {
        const int fd = open(ObjectPath().c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        EXPECT_GE(fd, 0) << "the object exists already";
        EXPECT_EQ(ftruncate(fd, size), 0);
        if (size >= 8) {
            EXPECT_EQ(pwrite(fd, &offered, sizeof offered, 4), ssize_t(sizeof offered));
        }
        close(fd);
    }
    ~TRawHostObject() { unlink(ObjectPath().c_str()); }
    static std::string ObjectPath() { return RuntimeFolder() + "/ShareQuindel"; }
    TRawHostObject(const TRawHostObject&) = delete;
    TRawHostObject& operator=(const TRawHostObject&) = delete;
};

struct THostCase {
    const char* Label;
    off_t Size;
    float Offered;
    bool Linked;
    const char* Shown;       // the offered intake at start
    const char* CalcMessage; // what F9 reports with that intake, nullptr when it calculates
    float Sent;              // what the send hands back after F9, when linked
};

void PrintTo(const THostCase& c, std::ostream* os) {
    *os << c.Label;
}

class TBadHostBlock : public TBadInputWindowTest, public testing::WithParamInterface<THostCase> {};

// The tool starts without a message, linked or alone as the block allows, shows an offered
// intake within its input's range, calculates, and hands the host what it calculated with.
TEST_P(TBadHostBlock, StartsShowingAnIntakeItCanCalculateWith) {
    const THostCase& c = GetParam();
    TRawHostObject host(c.Size, c.Offered);
    {
        TModalAnswer start;
        Start();
        EXPECT_TRUE(start.Boxes().empty());
    }
    EXPECT_EQ(Offered(), QLatin1String(c.Shown));
    if (c.CalcMessage) {
        ExpectOneErrorReport(PressF9(*FWindow), QString::fromLatin1(c.CalcMessage));
        EXPECT_TRUE(FWindow->isVisible());
        EXPECT_EQ(ShareEnabled(), c.Linked);
        return;
    }
    ExpectCalculates(*FWindow);
    EXPECT_EQ(ShareEnabled(), c.Linked);
    if (!c.Linked)
        return;
    EXPECT_TRUE(ClickShare().empty());
    const int fd = open(TRawHostObject::ObjectPath().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    float sent = 0;
    EXPECT_EQ(pread(fd, &sent, sizeof sent, 4), ssize_t(sizeof sent));
    close(fd);
    EXPECT_EQ(sent, c.Sent);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, TBadHostBlock,
    testing::Values(THostCase{"EmptyObject", 0, 0, false, "10.00", nullptr, 0},
                    THostCase{"OneByteShortOfTheBlock", 127, 12.5f, false, "10.00", nullptr, 0},
                    THostCase{"NegativeIntake", 128, -5, true, "0.00",
                              "Floating point division by zero.", 0},
                    THostCase{"IntakeBeyondTheInput", 128, 1e38f, true, "45.00", nullptr, 45},
                    THostCase{"NegativeNaN", 128, -std::numeric_limits<float>::quiet_NaN(), true,
                              "10.00", nullptr, 10},
                    THostCase{"SmallestDenormal", 128, std::numeric_limits<float>::denorm_min(),
                              true, "0.00", "Floating point division by zero.", 0}),
    [](const testing::TestParamInfo<THostCase>& info) { return info.param.Label; });

enum class THostGone { Window, Object };

class TGoneHost : public TBadInputWindowTest, public testing::WithParamInterface<THostGone> {};

// What the host took away before the send is no failure of the tool: it writes the block,
// raises Ready, posts to nobody and closes.
TEST_P(TGoneHost, SendStillFinishesAndCloses) {
    THostObject host("ShareQuindel", 128);
    const THwnd hostWindow = (static_cast<THwnd>(getpid()) << 8) | 0x3c;
    host.Block().SetHostWindow(hostWindow);
    host.Block().SetConsumoOfrecido(12.5f);
    std::optional<TWindowSocket> socket(std::in_place, hostWindow);
    Start();
    ExpectCalculates(*FWindow);
    if (GetParam() == THostGone::Window)
        socket.reset();
    else
        RemoveSharedMapping("ShareQuindel");
    EXPECT_TRUE(ClickShare().empty());
    EXPECT_EQ(host.Block().Ready(), 1);
    EXPECT_EQ(host.Block().ConsumoOfrecido(), 12.5f);
    EXPECT_NE(host.Block().LimitMin(0), 0);
    EXPECT_FALSE(FWindow->isVisible());
    if (socket) {
        EXPECT_EQ(socket->Receive(), (TWindowMessage{4038, 4, 0}));
    }
}

INSTANTIATE_TEST_SUITE_P(Hosts, TGoneHost, testing::Values(THostGone::Window, THostGone::Object),
                         [](const testing::TestParamInfo<THostGone>& info) {
                             return info.param == THostGone::Window ? "WindowGone" : "ObjectGone";
                         });

constexpr int Minimo = 3, Maximo = 4, Enviar = 5;

struct TGridCase {
    int Column;
    const char* Typed;
    const char* Message;
};

void PrintTo(const TGridCase& c, std::ostream* os) {
    *os << c.Column << " '" << c.Typed << "'";
}

class TBadGridText : public TBadInputWindowTest, public testing::WithParamInterface<TGridCase> {};

// Leaving the row with text the field cannot take shows the field's message, keeps the field's
// value, and a calculation afterwards rebuilds the table without another message.
TEST_P(TBadGridText, IsRefusedWithItsMessageAndTheFieldKeepsItsValue) {
    const TGridCase& c = GetParam();
    Start();
    ExpectCalculates(*FWindow);
    const QString before = Cell(1, c.Column);
    TypeIntoGridCell(*FWindow, 1, c.Column, QString::fromUtf8(c.Typed));
    TModalAnswer answer;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(answer.Boxes().front().Text, QString::fromUtf8(c.Message));
    EXPECT_EQ(Cell(1, c.Column), before);
    EXPECT_EQ(Table().CurrentRow(), 1);
    ExpectCalculates(*FWindow);
    EXPECT_EQ(Cell(1, c.Column), before);
    EXPECT_EQ(Table().State(), TTableState::Browse);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TBadGridText,
    testing::Values(
        TGridCase{Minimo, "1e400",
                  "'1e400' is not a valid floating point value for field 'Mínimo'"},
        TGridCase{Minimo, "0,5", "'0,5' is not a valid floating point value for field 'Mínimo'"},
        TGridCase{Minimo, "1 000",
                  "'1 000' is not a valid floating point value for field 'Mínimo'"},
        TGridCase{Minimo, " ", "' ' is not a valid floating point value for field 'Mínimo'"},
        TGridCase{Minimo, "-", "'-' is not a valid floating point value for field 'Mínimo'"},
        TGridCase{Maximo, "1.5x", "'1.5x' is not a valid floating point value for field 'Máximo'"},
        TGridCase{Maximo, "1.2.3",
                  "'1.2.3' is not a valid floating point value for field 'Máximo'"},
        TGridCase{Maximo, "e5", "'e5' is not a valid floating point value for field 'Máximo'"},
        TGridCase{Maximo, "1e", "'1e' is not a valid floating point value for field 'Máximo'"},
        TGridCase{Maximo, "inf", "'inf' is not a valid floating point value for field 'Máximo'"},
        TGridCase{Maximo, "nan", "'nan' is not a valid floating point value for field 'Máximo'"},
        TGridCase{Enviar, "yes", "'yes' is not a valid boolean value for field 'Enviar'"},
        TGridCase{Enviar, "nop", "'nop' is not a valid boolean value for field 'Enviar'"},
        TGridCase{Enviar, "Sino", "'Sino' is not a valid boolean value for field 'Enviar'"}));

} // namespace
