#include "platform/window_message.h"

#include "raw_socket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sys/stat.h>

namespace {

TEST(WindowMessage, IsOneLittleEndianDatagramToTheWindowsNamedSocket) {
    // Hexadecimal letters in the handle, so that the name shows their case.
    const THwnd handle = UniqueWindow() | 0xA0;
    TRawSocket window;
    window.Bind(SocketPath(handle));
    EXPECT_TRUE(PostMessageA(handle, 4038, 4, 0x80000001));
    std::array<unsigned char, 32> bytes{};
    ASSERT_EQ(window.Receive(bytes.data(), bytes.size()), 12);
    const std::array<unsigned char, 12> expected = {0xC6, 0x0F, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0x80};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin()));
}

TEST(WindowMessage, PostToAMissingWindowFailsAtOnce) {
    EXPECT_FALSE(PostMessageA(UniqueWindow(), 4038, 4, 0));
}

// A window that never reads fills its queue; the post fails instead of waiting.
TEST(WindowMessage, PostNeverBlocksOnAFullQueue) {
    const THwnd handle = UniqueWindow();
    TRawSocket window;
    window.Bind(SocketPath(handle));
    int posted = 0;
    while (posted < 100000 && PostMessageA(handle, 1, 0, 0))
        ++posted;
    EXPECT_LT(posted, 100000);
    EXPECT_GT(posted, 0);
    unlink(SocketPath(handle).c_str());
}

TEST(WindowMessage, NothingIsPostedIntoARefusedRuntimeFolder) {
    const std::string folder = RuntimeFolder();
    const THwnd handle = UniqueWindow();
    TRawSocket window;
    window.Bind(SocketPath(handle));
    chmod(folder.c_str(), 0755);
    const bool posted = PostMessageA(handle, 1, 0, 0);
    chmod(folder.c_str(), 0700);
    EXPECT_FALSE(posted);
    std::array<unsigned char, 32> bytes{};
    EXPECT_LT(window.Receive(bytes.data(), bytes.size()), 0);
    unlink(SocketPath(handle).c_str());
}

} // namespace
