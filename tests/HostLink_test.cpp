#include "exchange/HostLink.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

#include "host_object.h"
#include "host_send_rows.h"
#include "model/FloatError.h"
#include "tools/host_window.h"

namespace {

// The fixed name the tool opens; the tests that use it never run side by side.
class LinkHostTest : public testing::Test {
protected:
    TSharedMemory FTool;
};

TEST_F(LinkHostTest, AMissingObjectLeavesTheToolStandAlone) {
    FTool = OpenHostLink();
    EXPECT_EQ(FTool.Handle, 0u);
    EXPECT_FALSE(IsHostLinked(FTool));
}

TEST_F(LinkHostTest, AnObjectSmallerThanTheBlockLeavesTheToolStandAlone) {
    THostObject host("ShareQuindel", 64);
    FTool = OpenHostLink();
    EXPECT_NE(FTool.Handle, 0u);
    EXPECT_EQ(FTool.View, nullptr);
    EXPECT_FALSE(IsHostLinked(FTool));
}

TEST_F(LinkHostTest, TheHostsObjectLinksTheToolToItsBlock) {
    THostObject host("ShareQuindel", 128);
    host.Block().SetConsumoOfrecido(23.7f);
    FTool = OpenHostLink();
    ASSERT_TRUE(IsHostLinked(FTool));
    EXPECT_EQ(FTool.ErrorCode, 128);
    EXPECT_EQ(OfferedIntake(FTool), 23.7f);
}

struct TOfferCase {
    float Offered;
    float Taken;
};

class OfferedIntakeTest : public testing::TestWithParam<TOfferCase> {};

TEST_P(OfferedIntakeTest, IsTakenBitForBitExceptWhereNoIntakeCanBe) {
    std::vector<unsigned char> bytes(TSharedBlock::Size);
    TSharedBlock(bytes.data()).SetConsumoOfrecido(GetParam().Offered);
    const TSharedMemory shared{1, bytes.data(), 128, nullptr};
    EXPECT_EQ(std::bit_cast<uint32_t>(OfferedIntake(shared)),
              std::bit_cast<uint32_t>(GetParam().Taken));
}

INSTANTIATE_TEST_SUITE_P(HostLink, OfferedIntakeTest,
                         testing::Values(TOfferCase{0.0f, 10.0f}, TOfferCase{-0.0f, 10.0f},
                                         TOfferCase{std::numeric_limits<float>::quiet_NaN(), 10.0f},
                                         TOfferCase{std::numeric_limits<float>::infinity(), 10.0f},
                                         TOfferCase{-std::numeric_limits<float>::infinity(), 10.0f},
                                         TOfferCase{0.1f, 0.1f}, TOfferCase{-5.0f, -5.0f},
                                         TOfferCase{std::numeric_limits<float>::denorm_min(),
                                                    std::numeric_limits<float>::denorm_min()}));

// A host's block of its own name and window, and the tool's link to it.
class HostSendTest : public testing::Test {
protected:
    HostSendTest()
        : FName("vesk-send-" + std::to_string(getpid()) + "-" + std::to_string(++FCounter)),
          FWindowHandle((static_cast<THwnd>(getpid()) << 8) | FCounter), FHost(FName, 128),
          FWindow(FWindowHandle) {
        FHost.Block().SetHostWindow(FWindowHandle);
        for (int i = 0; i < TSharedBlock::SlotCount; ++i) {
            FHost.Block().SetLimitMin(i, -100 - i);
            FHost.Block().SetLimitMax(i, -200 - i);
        }
        FTool = OpenSharedMemory(false, FName, 128);
    }

    static inline int FCounter = 0;
    std::string FName;
    THwnd FWindowHandle;
    THostObject FHost;
    TWindowSocket FWindow;
    TSharedMemory FTool;
};

TEST_F(HostSendTest, WritesTheSlotsOfTheRowsToSendThenReadyThenTheMessage) {
    THostSend send(FTool, 18.25f);
    EXPECT_EQ(FHost.Block().ConsumoOfrecido(), 18.25f);
    for (const TSendRow& row : HostSendRows)
        send.Row(row);
    EXPECT_EQ(FHost.Block().Ready(), 0);
    EXPECT_EQ(FWindow.Receive(), std::nullopt);
    send.Finish();

    const TSharedBlock block = FHost.Block();
    const int64_t expected[][2] = {
        {25, 40},    {-101, -201},          {2800, 0}, {0, 100}, {-104, -204},
        {-12500, 1}, {123456789, 999999999}};
    for (int i = 0; i < TSharedBlock::SlotCount; ++i) {
        EXPECT_EQ(block.LimitMin(i), expected[i][0]) << "slot " << i;
        EXPECT_EQ(block.LimitMax(i), expected[i][1]) << "slot " << i;
    }
    EXPECT_EQ(block.Ready(), 1);
    EXPECT_EQ(FWindow.Receive(), (TWindowMessage{4038, 4, 0}));
    EXPECT_EQ(FTool.View, nullptr);
    EXPECT_EQ(FTool.Handle, 0u);
}

TEST_F(HostSendTest, PostsToTheWindowTheBlockNamesWhenSending) {
    THostSend send(FTool, 10);
    const THwnd later = FWindowHandle | 0x80;
    TWindowSocket laterWindow(later);
    FHost.Block().SetHostWindow(later);
    send.Finish();
    EXPECT_EQ(laterWindow.Receive(), (TWindowMessage{4038, 4, 0}));
    EXPECT_EQ(FWindow.Receive(), std::nullopt);
}

TEST_F(HostSendTest, AVanishedHostWindowDoesNotStopTheSend) {
    FHost.Block().SetHostWindow(FWindowHandle | 0x40);
    THostSend send(FTool, 10);
    send.Finish();
    EXPECT_EQ(FHost.Block().Ready(), 1);
    EXPECT_EQ(FTool.View, nullptr);
}

TEST_F(HostSendTest, ALimitBeyondSixtyFourBitsStopsBeforeReadyAndTheMessage) {
    THostSend send(FTool, 10);
    send.Row({1, 2, true});
    send.Row({std::nan(""), 1e300, false});
    try {
        send.Row({1e30, 3, true});
        FAIL() << "no error";
    } catch (const EInvalidOp& error) {
        EXPECT_STREQ(error.what(), "Invalid floating point operation");
    }
    const TSharedBlock block = FHost.Block();
    EXPECT_EQ(block.LimitMin(0), 10000);
    EXPECT_EQ(block.LimitMax(0), 20000);
    EXPECT_EQ(block.LimitMin(2), -102);
    EXPECT_EQ(block.LimitMax(2), -202);
    EXPECT_EQ(block.Ready(), 0);
    EXPECT_EQ(FWindow.Receive(), std::nullopt);
    EXPECT_TRUE(IsHostLinked(FTool));
}

TEST_F(HostSendTest, ANonFiniteLimitToSendIsAnInvalidOperation) {
    THostSend send(FTool, 10);
    EXPECT_THROW(send.Row({0, std::numeric_limits<double>::infinity(), true}), EInvalidOp);
    EXPECT_THROW(send.Row({std::nan(""), 0, true}), EInvalidOp);
}

TEST_F(HostSendTest, RowsBeyondTheSeventhAreRefused) {
    THostSend send(FTool, 10);
    for (int i = 0; i < TSharedBlock::SlotCount; ++i)
        send.Row({});
    EXPECT_THROW(send.Row({1, 1, true}), std::out_of_range);
}

TEST_F(HostSendTest, NothingIsSentOverALinkThatIsNotOpen) {
    TSharedMemory closed;
    EXPECT_THROW(THostSend(closed, 10), std::logic_error);
    THostSend send(FTool, 10);
    send.Finish();
    EXPECT_THROW(THostSend(FTool, 10), std::logic_error);
}

} // namespace
