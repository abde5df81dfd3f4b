#include "ui/TfrmVeskIn.h"

#include "exchange/HostLink.h"
#include "grid_typing.h"
#include "host_object.h"
#include "modal_answer.h"
#include "platform/regional.h"
#include "tools/host_window.h"
#include "ui/TNumericEdit.h"
#include "window_calculation.h"
#include "window_test.h"

#include <QAbstractItemView>
#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

constexpr int Minimo = 3, Maximo = 4, Enviar = 5;

// The host's object under the tool's name, with a window of the test's own and slots holding
// what the host put there; the window starts once the test has set the offer.
class TfrmVeskInHostTest : public TWindowTest {
protected:
    TfrmVeskInHostTest() {
        FHost->Block().SetHostWindow(FHostWindow);
        for (int i = 0; i < TSharedBlock::SlotCount; ++i) {
            FHost->Block().SetLimitMin(i, -100 - i);
            FHost->Block().SetLimitMax(i, -200 - i);
        }
    }
    void Start(float offered) {
        if (FHost)
            FHost->Block().SetConsumoOfrecido(offered);
        Create('.');
        Show();
    }

    TSharedBlock Block() { return FHost->Block(); }
    TNumericEdit* Offered() { return Input("ilCons"); }
    bool ShareEnabled() {
        Idle();
        return Find<QAction>("acShare")->isEnabled();
    }
    std::vector<TModalAnswer::TBox> ClickShare() {
        EXPECT_TRUE(ShareEnabled());
        TModalAnswer answer;
        Press("tbTipo", "acShare");
        return answer.Boxes();
    }
    const QAbstractItemModel* Grid() { return Find<QAbstractItemView>("DBGrid1")->model(); }
    QString Cell(int row, int column) { return Grid()->index(row, column).data().toString(); }
    // The slots as the grid shows the first seven rows: a row not to send keeps what the host
    // put there, an empty limit gives 0.
    void ExpectGridInSlots() {
        for (int i = 0; i < TSharedBlock::SlotCount; ++i) {
            auto count = [&](int column) { return std::llround(Cell(i, column).toDouble() * 1e4); };
            const bool sent = Cell(i, Enviar) == QStringLiteral("Sí");
            EXPECT_EQ(Block().LimitMin(i), sent ? count(Minimo) : -100 - i) << "slot " << i;
            EXPECT_EQ(Block().LimitMax(i), sent ? count(Maximo) : -200 - i) << "slot " << i;
        }
    }
    // Sent: Ready, then the message to the host's window, and the window closed.
    void ExpectSent() {
        EXPECT_EQ(Block().Ready(), 1);
        EXPECT_EQ(FSocket.Receive(), (TWindowMessage{4038, 4, 0}));
        EXPECT_FALSE(FWindow->isVisible());
    }
    // Not sent: no Ready, nothing told to the host, the window open with its command.
    void ExpectNotSent() {
        EXPECT_EQ(Block().Ready(), 0);
        EXPECT_EQ(FSocket.Receive(), std::nullopt);
        EXPECT_TRUE(FWindow->isVisible());
        EXPECT_TRUE(ShareEnabled());
    }

    THwnd FHostWindow = (static_cast<THwnd>(getpid()) << 8) | 0x5a;
    std::optional<THostObject> FHost{std::in_place, "ShareQuindel", 128};
    TWindowSocket FSocket{FHostWindow};
};

struct TOfferCase {
    float Offered;
    float Taken;
    const char* Shown;
};

void PrintTo(const TOfferCase& c, std::ostream* os) {
    *os << c.Offered;
}

class TfrmVeskInHostOffer : public TfrmVeskInHostTest,
                            public testing::WithParamInterface<TOfferCase> {};

TEST_P(TfrmVeskInHostOffer, StartUpTakesTheOfferedIntake) {
    Start(GetParam().Offered);
    EXPECT_EQ(std::bit_cast<uint32_t>(Dairy().Consumo), std::bit_cast<uint32_t>(GetParam().Taken));
    EXPECT_EQ(Offered()->text(), GetParam().Shown);
    EXPECT_FALSE(ShareEnabled());
    ExpectCalculates(*FWindow);
    EXPECT_TRUE(ShareEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Offers, TfrmVeskInHostOffer,
    testing::Values(TOfferCase{12.5f, 12.5f, "12.50"}, TOfferCase{23.7f, 23.7f, "23.70"},
                    TOfferCase{0.0f, 10.0f, "10.00"},
                    TOfferCase{std::numeric_limits<float>::quiet_NaN(), 10.0f, "10.00"},
                    TOfferCase{std::numeric_limits<float>::infinity(), 10.0f, "10.00"}));

TEST_F(TfrmVeskInHostTest, WithoutTheHostsObjectTheToolRunsAlone) {
    FHost.reset();
    Start(0);
    EXPECT_EQ(Offered()->text(), "10.00");
    ExpectCalculates(*FWindow);
    EXPECT_FALSE(ShareEnabled());
}

// A change of the offered intake alone after the calculation copies no input into the model, so
// the block gets the intake of the calculation.
TEST_F(TfrmVeskInHostTest, SendWritesTheRowsToSendThenReadyThenTellsTheHostAndCloses) {
    Start(18.25f);
    ExpectCalculates(*FWindow);
    Block().SetConsumoOfrecido(0);
    Offered()->selectAll();
    QTest::keyClicks(Offered(), QStringLiteral("30"));
    ASSERT_EQ(Offered()->text(), QStringLiteral("30"));
    EXPECT_TRUE(ClickShare().empty());
    EXPECT_EQ(Block().ConsumoOfrecido(), 18.25f);
    ExpectGridInSlots();
    ExpectSent();
}

// A row not to send keeps the host's slot; the row being edited is sent as edited, with the
// text of its open cell editor; a row added after the seventh is not sent.
TEST_F(TfrmVeskInHostTest, CorrectionsInTheGridAreSent) {
    Start(10);
    ExpectCalculates(*FWindow);
    TypeIntoGridCell(*FWindow, 6, Minimo, QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("9"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    TypeIntoGridCell(*FWindow, 0, Enviar, QStringLiteral("No"));
    TypeIntoGridCell(*FWindow, 1, Minimo, QStringLiteral("0.0025"));
    TypeIntoGridCell(*FWindow, 1, Maximo, QStringLiteral("0.004"));
    TypeIntoGridCell(*FWindow, 2, Enviar, QStringLiteral("S"));
    TypeIntoGridCell(*FWindow, 2, Minimo, QStringLiteral("0.5"));
    ASSERT_EQ(Grid()->rowCount(), 8);
    EXPECT_TRUE(ClickShare().empty());
    EXPECT_EQ(Block().LimitMin(0), -100);
    EXPECT_EQ(Block().LimitMax(0), -200);
    EXPECT_EQ(Block().LimitMin(1), 25);
    EXPECT_EQ(Block().LimitMax(1), 40);
    EXPECT_EQ(Block().LimitMin(2), 5000);
    EXPECT_EQ(Block().LimitMax(2), 0) << "fibre has no maximum";
    ExpectSent();
}

// A failure leaves the tool running with its link open, nothing told to the host; the send
// after the correction goes through.
TEST_F(TfrmVeskInHostTest, ALimitBeyondSixtyFourBitsStopsTheSend) {
    Start(10);
    ExpectCalculates(*FWindow);
    TypeIntoGridCell(*FWindow, 2, Enviar, QStringLiteral("S"));
    TypeIntoGridCell(*FWindow, 2, Minimo, QStringLiteral("1E30"));
    ExpectOneErrorReport(ClickShare(), QStringLiteral("Invalid floating point operation."));
    EXPECT_EQ(Block().LimitMin(1), std::llround(Cell(1, Minimo).toDouble() * 1e4));
    EXPECT_EQ(Block().LimitMin(2), -102);
    ExpectNotSent();

    // The cell stays current; clicked again it would open with its text, so the user leaves it.
    Activate();
    TypeIntoGridCell(*FWindow, 3, Minimo, QString());
    TypeIntoGridCell(*FWindow, 2, Minimo, QStringLiteral("0.5"));
    EXPECT_TRUE(ClickShare().empty());
    EXPECT_EQ(Block().LimitMin(2), 5000);
    ExpectSent();
}

// A calculation that fails leaves the table unfilled: the send stops after the offered intake.
TEST_F(TfrmVeskInHostTest, ATableNeverFilledStopsTheSendAfterTheOffer) {
    Start(-5);
    ExpectOneErrorReport(PressF9(*FWindow), QStringLiteral("Floating point division by zero."));
    Block().SetConsumoOfrecido(99);
    ExpectOneErrorReport(ClickShare(), QStringLiteral("Dataset is not active."));
    EXPECT_EQ(Block().ConsumoOfrecido(), Dairy().Consumo);
    EXPECT_EQ(Block().LimitMin(0), -100);
    ExpectNotSent();
}

} // namespace
