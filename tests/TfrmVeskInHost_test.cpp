#include "ui/TfrmVeskIn.h"

#include "exchange/HostLink.h"
#include "grid_typing.h"
#include "host_object.h"
#include "host_send_rows.h"
#include "modal_answer.h"
#include "platform/regional.h"
#include "platform/window_message.h"
#include "ui/TNumericEdit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <unistd.h>

// The host's object under the tool's fixed name, with a window of the test's
// own and slots holding what the host put there; the window starts once the
// test has set the offer.
class TfrmVeskInHostTest : public testing::Test {
protected:
    TfrmVeskInHostTest() {
        FHost->Block().SetHostWindow(FHostWindow);
        for (int i = 0; i < TSharedBlock::SlotCount; ++i) {
            FHost->Block().SetLimitMin(i, -100 - i);
            FHost->Block().SetLimitMax(i, -200 - i);
        }
    }
    void TearDown() override { SetRegional({'.', ","}); }

    void Start(float offered) {
        if (FHost)
            FHost->Block().SetConsumoOfrecido(offered);
        SetRegional({'.', ""});
        FWindow = std::make_unique<TfrmVeskIn>();
    }
    void Show() {
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    void Idle() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }
    void Send() {
        Idle();
        Share()->trigger();
    }

    TVeskDairy& Dairy() { return *FWindow->FDairy; }
    QAction* Share() { return FWindow->acShare; }
    TSharedBlock Block() { return FHost->Block(); }
    std::string Offered() { return FWindow->ilCons->text().toStdString(); }
    bool Linked() { return FWindow->FHostLinked; }
    bool ViewOpen() { return FWindow->FShared.View != nullptr; }
    bool& Calculado() { return FWindow->FCalculado; }
    void Calculate() { FWindow->acCalc->trigger(); }
    TTableModel& Table() { return FWindow->mt; }
    const TTableField& Field(const char* name) {
        for (int column = 0;; ++column)
            if (Table().Field(column).FieldName == name)
                return Table().Field(column);
    }

    // The table as a calculation leaves it, the seven rows given, and more rows
    // after them.
    void FillTable(const TSendRow (&rows)[TSharedBlock::SlotCount], int extraRows = 0) {
        TTableModel& mt = FWindow->mt;
        mt.Close();
        mt.Open();
        auto value = [](const auto& optional) {
            return optional ? TFieldValue(*optional) : TFieldValue();
        };
        for (const TSendRow& row : rows)
            mt.AppendRecord({1, std::string("Nombre"), std::string("%"), value(row.Min),
                             value(row.Max), value(row.Enviar)});
        for (int i = 0; i < extraRows; ++i)
            mt.AppendRecord({9, std::string("Otra"), std::string("%"), 7.0, 8.0, true});
        FWindow->FCalculado = true;
    }
    // Sends through the toolbar button, so that a failure meets the default error
    // report.
    void ClickShare() {
        Idle();
        ASSERT_TRUE(Share()->isEnabled());
        for (QToolBar* bar : FWindow->findChildren<QToolBar*>())
            if (QWidget* button = bar->widgetForAction(Share())) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        ADD_FAILURE() << "no button sends";
    }
    void ExpectSlots(const int64_t (&expected)[TSharedBlock::SlotCount][2]) {
        for (int i = 0; i < TSharedBlock::SlotCount; ++i) {
            EXPECT_EQ(Block().LimitMin(i), expected[i][0]) << "slot " << i;
            EXPECT_EQ(Block().LimitMax(i), expected[i][1]) << "slot " << i;
        }
    }

    THwnd FHostWindow = (static_cast<THwnd>(getpid()) << 8) | 0x5a;
    std::optional<THostObject> FHost{std::in_place, "ShareQuindel", 128};
    TWindowSocket FSocket{FHostWindow};
    std::unique_ptr<TfrmVeskIn> FWindow;
};

namespace {

// What the host put into the slots that the tool does not send.
constexpr int64_t HostSendRowSlots[TSharedBlock::SlotCount][2] = {
    {25, 40}, {-101, -201}, {2800, 0}, {0, 100}, {-104, -204}, {-12500, 1}, {123456789, 999999999}};

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
    EXPECT_TRUE(Linked());
    EXPECT_EQ(std::bit_cast<uint32_t>(Dairy().Consumo), std::bit_cast<uint32_t>(GetParam().Taken));
    EXPECT_EQ(Offered(), GetParam().Shown);
    Idle();
    EXPECT_FALSE(Share()->isEnabled());
    Calculado() = true;
    Idle();
    EXPECT_TRUE(Share()->isEnabled());
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
    EXPECT_FALSE(Linked());
    EXPECT_EQ(Offered(), "10.00");
    Calculado() = true;
    Idle();
    EXPECT_FALSE(Share()->isEnabled());
}

TEST_F(TfrmVeskInHostTest, AnObjectTooSmallForTheBlockLeavesTheToolAlone) {
    FHost.emplace("ShareQuindel", 64);
    FWindow = std::make_unique<TfrmVeskIn>();
    EXPECT_FALSE(Linked());
    EXPECT_EQ(Offered(), "10.00");
}

TEST_F(TfrmVeskInHostTest, SendWritesTheMarkedRowsThenReadyThenTellsTheHostAndCloses) {
    Start(18.25f);
    Show();
    FillTable(HostSendRows, 2);
    Dairy().Consumo = 21.5f;
    Block().SetConsumoOfrecido(0);
    ClickShare();
    EXPECT_EQ(Block().ConsumoOfrecido(), 21.5f);
    ExpectSlots(HostSendRowSlots);
    EXPECT_EQ(Block().Ready(), 1);
    EXPECT_EQ(FSocket.Receive(), (TWindowMessage{4038, 4, 0}));
    EXPECT_FALSE(ViewOpen());
    EXPECT_FALSE(FWindow->isVisible());
}

TEST_F(TfrmVeskInHostTest, AnEditInProgressIsSentAsEdited) {
    Start(10);
    FillTable(HostSendRows);
    TTableModel& mt = Table();
    mt.SetText(mt.index(1, Field("Enviar").Index), "Sí");
    mt.SetText(mt.index(1, Field("Min").Index), "0.5");
    Send();
    EXPECT_EQ(Block().LimitMin(1), 5000);
    EXPECT_EQ(Block().LimitMax(1), 25000);
    EXPECT_EQ(mt.State(), TTableState::Browse);
}

TEST_F(TfrmVeskInHostTest, TextInAnOpenCellEditorIsSent) {
    Start(10);
    Show();
    Calculate();
    TypeIntoGridCell(*FWindow, 0, 3, QStringLiteral("0.5"));
    Send();
    EXPECT_EQ(Block().LimitMin(0), 5000);
    EXPECT_EQ(Block().Ready(), 1);
}

TEST_F(TfrmVeskInHostTest, CalculatedRestrictionsReachTheirSlots) {
    Start(10);
    Calculate();
    ASSERT_TRUE(Calculado());
    TTableModel& mt = Table();
    int64_t expected[TSharedBlock::SlotCount][2];
    mt.First();
    for (int i = 0; i < TSharedBlock::SlotCount; ++i, mt.Next()) {
        const TFieldValue& max = mt.Value(Field("Max"));
        const bool sent = std::get<bool>(mt.Value(Field("Enviar")));
        expected[i][0] = sent ? std::llround(std::get<double>(mt.Value(Field("Min"))) * 1e4)
                              : Block().LimitMin(i);
        expected[i][1] = !sent ? Block().LimitMax(i)
                         : std::holds_alternative<double>(max)
                             ? std::llround(std::get<double>(max) * 1e4)
                             : 0;
    }
    Send();
    ExpectSlots(expected);
    EXPECT_EQ(Block().Ready(), 1);
}

// A failure leaves the tool running with its link open, nothing told to the
// host.
TEST_F(TfrmVeskInHostTest, ALimitBeyondSixtyFourBitsStopsTheSend) {
    Start(10);
    Show();
    TSendRow rows[TSharedBlock::SlotCount] = {{1, 2, true}, {3, 4, true}, {1e30, 5, true}};
    FillTable(rows);
    TModalAnswer answer;
    ClickShare();
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(answer.Boxes().front().Text, QStringLiteral("Invalid floating point operation."));
    EXPECT_EQ(Block().LimitMin(1), 30000);
    EXPECT_EQ(Block().LimitMin(2), -102);
    EXPECT_EQ(Block().Ready(), 0);
    EXPECT_EQ(FSocket.Receive(), std::nullopt);
    EXPECT_TRUE(ViewOpen());
    EXPECT_TRUE(FWindow->isVisible());
    Idle();
    EXPECT_TRUE(Share()->isEnabled());
}

TEST_F(TfrmVeskInHostTest, ATableNeverFilledStopsTheSendAfterTheOffer) {
    Start(10);
    Show();
    Dairy().Consumo = 14.5f;
    Calculado() = true;
    TModalAnswer answer;
    ClickShare();
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Text, QStringLiteral("Dataset is not active."));
    EXPECT_EQ(Block().ConsumoOfrecido(), 14.5f);
    EXPECT_EQ(Block().LimitMin(0), -100);
    EXPECT_EQ(Block().Ready(), 0);
    EXPECT_EQ(FSocket.Receive(), std::nullopt);
    EXPECT_TRUE(ViewOpen());
    EXPECT_TRUE(FWindow->isVisible());
}

} // namespace
