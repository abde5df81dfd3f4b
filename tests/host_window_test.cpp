#include "tools/host_window.h"

#include "raw_socket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>

namespace {

// The posted message, once the socket shows it is there.
std::optional<TWindowMessage> Arrived(TWindowSocket& window) {
    pollfd watch{window.Descriptor(), POLLIN, 0};
    poll(&watch, 1, 10000);
    return window.Receive();
}

TEST(WindowSocket, TakesAPostedMessage) {
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    EXPECT_TRUE(PostMessageA(handle, 4038, 4, 0));
    EXPECT_EQ(Arrived(window), (TWindowMessage{4038, 4, 0}));
    EXPECT_EQ(window.Receive(), std::nullopt);
}

TEST(WindowSocket, DatagramsOfAnotherLengthAreDropped) {
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    const std::string name = SocketPath(handle);
    TRawSocket sender;
    const std::array<unsigned char, 13> bytes = {7, 0, 0, 0, 8, 0, 0, 0, 9, 0, 0, 0, 1};
    sender.Send(name, bytes.data(), 13);
    sender.Send(name, bytes.data(), 11);
    sender.Send(name, bytes.data(), 0);
    sender.Send(name, bytes.data(), 12);
    EXPECT_EQ(window.Receive(), (TWindowMessage{7, 8, 9}));
    EXPECT_EQ(window.Receive(), std::nullopt);
}

TEST(WindowSocket, AWindowSocketIsBoundOnce) {
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    EXPECT_THROW(TWindowSocket{handle}, std::system_error);
}

TEST(WindowSocket, SocketIsFreedWithItsWindow) {
    const THwnd handle = UniqueWindow();
    {
        TWindowSocket window(handle);
        struct stat status;
        ASSERT_EQ(stat(WindowSocketPath(handle).c_str(), &status), 0);
        EXPECT_TRUE(S_ISSOCK(status.st_mode));
        EXPECT_EQ(WindowSocketPath(handle), SocketPath(handle));
    }
    EXPECT_NE(access(WindowSocketPath(handle).c_str(), F_OK), 0);
    TWindowSocket again(handle);
    EXPECT_TRUE(PostMessageA(handle, 1, 0, 0));
}

// A window that was killed leaves its socket; the next window of that handle takes its place.
TEST(WindowSocket, ASocketLeftBehindIsReplaced) {
    const THwnd handle = UniqueWindow();
    {
        TRawSocket killed;
        killed.Bind(SocketPath(handle));
    }
    TWindowSocket window(handle);
    EXPECT_TRUE(PostMessageA(handle, 4038, 4, 0));
    EXPECT_EQ(window.Receive(), (TWindowMessage{4038, 4, 0}));
}

// The socket's folder keeps other users out; this one got hold of a socket connected to it.
TEST(WindowSocket, DatagramsOfAnotherUserAreDropped) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can send as another user";
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    TRawSocket sender;
    sender.Connect(SocketPath(handle));
    const std::array<unsigned char, 12> bytes = {0xC6, 0x0F, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && sender.Send(bytes.data(), 12) == 12 ? 0
                                                                                              : 1);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other user sent nothing";
    EXPECT_EQ(window.Receive(), std::nullopt);
    EXPECT_EQ(sender.Send(bytes.data(), 12), 12);
    EXPECT_EQ(window.Receive(), (TWindowMessage{4038, 4, 0}));
}

long OpenDescriptors() {
    long count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// A sender cannot fill the receiving process with descriptors passed along with a message.
TEST(WindowSocket, DescriptorsSentAlongAreNotKept) {
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    TRawSocket sender;
    sender.Connect(SocketPath(handle));
    const long before = OpenDescriptors();
    std::array<unsigned char, 12> bytes = {0xC6, 0x0F, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    iovec part{bytes.data(), bytes.size()};
    int passed[8];
    std::fill(std::begin(passed), std::end(passed), 0);
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof passed)] = {};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    cmsghdr* rights = CMSG_FIRSTHDR(&header);
    rights->cmsg_level = SOL_SOCKET;
    rights->cmsg_type = SCM_RIGHTS;
    rights->cmsg_len = CMSG_LEN(sizeof passed);
    std::memcpy(CMSG_DATA(rights), passed, sizeof passed);
    ASSERT_EQ(sendmsg(sender.Descriptor(), &header, 0), 12);
    EXPECT_EQ(window.Receive(), (TWindowMessage{4038, 4, 0}));
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(WindowSocket, NothingIsBoundInARefusedRuntimeFolder) {
    const std::string folder = RuntimeFolder();
    chmod(folder.c_str(), 0755);
    bool bound = true;
    try {
        TWindowSocket window(UniqueWindow());
    } catch (const std::system_error&) {
        bound = false;
    }
    chmod(folder.c_str(), 0700);
    EXPECT_FALSE(bound);
}

} // namespace
