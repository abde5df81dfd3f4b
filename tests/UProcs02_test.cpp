#include "exchange/UProcs02.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <deque>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

TEST(SharedBlock, FieldsLieAtTheirOffsetsLittleEndian) {
    // One byte in, so that no field is aligned.
    std::array<unsigned char, TSharedBlock::Size + 1> bytes;
    bytes.fill(0xAA);
    TSharedBlock block(bytes.data() + 1);
    block.SetHostWindow(0x01020304);
    block.SetConsumoOfrecido(12.5f);
    block.SetReady(1);
    for (int i = 0; i < TSharedBlock::SlotCount; ++i) {
        block.SetLimitMin(i, 0x1000 + i);
        block.SetLimitMax(i, -2 - i);
    }
    const unsigned char* at = bytes.data() + 1;
    EXPECT_EQ(bytes[0], 0xAA);
    EXPECT_EQ((std::array<unsigned char, 4>{at[0], at[1], at[2], at[3]}),
              (std::array<unsigned char, 4>{4, 3, 2, 1}));
    EXPECT_EQ((std::array<unsigned char, 4>{at[4], at[5], at[6], at[7]}),
              (std::array<unsigned char, 4>{0, 0, 0x48, 0x41}));
    EXPECT_EQ(at[8], 1);
    for (int reserved = 9; reserved < 16; ++reserved)
        EXPECT_EQ(at[reserved], 0xAA) << "reserved byte " << reserved;
    for (int i = 0; i < TSharedBlock::SlotCount; ++i) {
        const unsigned char* min = at + 16 + 16 * i;
        const unsigned char* max = at + 24 + 16 * i;
        EXPECT_EQ(min[0], 0x00 + i);
        EXPECT_EQ(min[1], 0x10);
        for (int b = 2; b < 8; ++b)
            EXPECT_EQ(min[b], 0);
        EXPECT_EQ(max[0], 0xFE - i);
        for (int b = 1; b < 8; ++b)
            EXPECT_EQ(max[b], 0xFF);
        EXPECT_EQ(block.LimitMin(i), 0x1000 + i);
        EXPECT_EQ(block.LimitMax(i), -2 - i);
    }
    EXPECT_EQ(block.HostWindow(), 0x01020304u);
    EXPECT_EQ(block.ConsumoOfrecido(), 12.5f);
    EXPECT_EQ(block.Ready(), 1);
}

TEST(SharedBlock, SlotsBeyondTheSeventhAreRefused) {
    std::array<unsigned char, TSharedBlock::Size> bytes{};
    TSharedBlock block(bytes.data());
    EXPECT_THROW(block.SetLimitMin(7, 1), std::out_of_range);
    EXPECT_THROW(block.SetLimitMax(-1, 1), std::out_of_range);
    EXPECT_THROW(block.LimitMax(7), std::out_of_range);
}

// Objects of their own per test, so that test programs can run side by side.
class OpenSharedMemoryTest : public testing::Test {
protected:
    OpenSharedMemoryTest() {
        static int counter = 0;
        FName = "vesk-up-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    }
    ~OpenSharedMemoryTest() override { RemoveSharedMapping(FName); }
    // The result stays open until the test ends.
    const TSharedMemory& Open(bool create, std::string_view name, int32_t size) {
        return FOpened.emplace_back(OpenSharedMemory(create, name, size));
    }

    std::string FName;
    std::deque<TSharedMemory> FOpened;
};

TEST_F(OpenSharedMemoryTest, CreateOfANewObjectGivesAViewAndTheSize) {
    const TSharedMemory& shared = Open(true, FName, 128);
    EXPECT_NE(shared.Handle, 0u);
    EXPECT_NE(shared.View, nullptr);
    EXPECT_EQ(shared.ErrorCode, 128);
}

TEST_F(OpenSharedMemoryTest, CreateOfAnExistingObjectReportsAlreadyExists) {
    const TSharedMemory& first = Open(true, FName, 128);
    const TSharedMemory& second = Open(true, FName, 128);
    EXPECT_NE(second.Handle, 0u);
    ASSERT_NE(second.View, nullptr);
    EXPECT_EQ(second.ErrorCode, EEXIST);
    static_cast<unsigned char*>(first.View)[100] = 7;
    EXPECT_EQ(static_cast<unsigned char*>(second.View)[100], 7);
}

TEST_F(OpenSharedMemoryTest, OpenOfAnExistingObjectGivesAViewAndTheSize) {
    Open(true, FName, 128);
    const TSharedMemory& shared = Open(false, FName, 128);
    EXPECT_NE(shared.Handle, 0u);
    EXPECT_NE(shared.View, nullptr);
    EXPECT_EQ(shared.ErrorCode, 128);
}

TEST_F(OpenSharedMemoryTest, OpenOfAMissingObjectGivesNothingAndNotFound) {
    const TSharedMemory& shared = Open(false, FName, 128);
    EXPECT_EQ(shared.Handle, 0u);
    EXPECT_EQ(shared.View, nullptr);
    EXPECT_EQ(shared.ErrorCode, ENOENT);
}

TEST_F(OpenSharedMemoryTest, OpenOfASmallerObjectGivesAHandleWithoutView) {
    Open(true, FName, 64);
    const TSharedMemory& shared = Open(false, FName, 128);
    EXPECT_NE(shared.Handle, 0u);
    EXPECT_EQ(shared.View, nullptr);
    EXPECT_EQ(shared.ErrorCode, ENXIO);
}

TEST_F(OpenSharedMemoryTest, OnlyTheFirstTwentyCharactersNameTheObject) {
    FName = "vesk-up-" + std::to_string(getpid() % 100000) + "-twenty";
    FName.resize(20, 'x');
    Open(true, FName + "-beyond", 16);
    EXPECT_NE(Open(false, FName + "-other", 16).View, nullptr);
}

TEST_F(OpenSharedMemoryTest, ANameCarriesItsOwnZeroCharacter) {
    Open(true, FName + std::string(1, '\0'), 16);
    EXPECT_NE(Open(false, FName, 16).View, nullptr);
}

} // namespace
