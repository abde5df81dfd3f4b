#include "platform/window_message.h"

#include "platform/runtime_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Window handles of their own per test.
THwnd UniqueWindow() {
    static THwnd counter = 0;
    return (static_cast<THwnd>(getpid()) << 8) | ++counter;
}

std::string SocketPath(THwnd window) {
    char name[32];
    std::snprintf(name, sizeof name, "/rumiva-window-%08x", window);
    return RuntimeFolder() + name;
}

// A plain datagram socket, to look at the wire format from outside the layer.
class TRawSocket {
public:
    TRawSocket() : FDescriptor(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~TRawSocket() { close(FDescriptor); }

    static sockaddr_un Address(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        return address;
    }
    void Bind(const std::string& path) {
        const sockaddr_un address = Address(path);
        if (bind(FDescriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            throw std::runtime_error("bind " + path);
    }
    void Connect(const std::string& path) {
        const sockaddr_un address = Address(path);
        if (connect(FDescriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            throw std::runtime_error("connect " + path);
    }
    void Send(const std::string& path, const void* bytes, size_t size) {
        const sockaddr_un address = Address(path);
        sendto(FDescriptor, bytes, size, 0, reinterpret_cast<const sockaddr*>(&address),
               sizeof address);
    }
    ssize_t Send(const void* bytes, size_t size) { return send(FDescriptor, bytes, size, 0); }
    int Descriptor() const { return FDescriptor; }
    ssize_t Receive(unsigned char* bytes, size_t size) {
        return recv(FDescriptor, bytes, size, MSG_DONTWAIT);
    }

private:
    int FDescriptor;
};

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

TEST(WindowMessage, PostedMessageIsReceivedByTheWindowSocket) {
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    EXPECT_TRUE(PostMessageA(handle, 4038, 4, 0));
    EXPECT_EQ(window.Wait(10s), (TWindowMessage{4038, 4, 0}));
    EXPECT_EQ(window.Receive(), std::nullopt);
}

TEST(WindowMessage, DatagramsOfAnotherLengthAreDropped) {
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

TEST(WindowMessage, PostToAMissingWindowFailsAtOnce) {
    EXPECT_FALSE(PostMessageA(UniqueWindow(), 4038, 4, 0));
}

TEST(WindowMessage, PostNeverBlocksOnAFullQueue) {
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    int posted = 0;
    while (posted < 100000 && PostMessageA(handle, 1, 0, 0))
        ++posted;
    EXPECT_LT(posted, 100000);
    EXPECT_GT(posted, 0);
}

TEST(WindowMessage, WaitGivesNothingWhenTheTimeRunsOut) {
    TWindowSocket window(UniqueWindow());
    EXPECT_EQ(window.Wait(20ms), std::nullopt);
}

TEST(WindowMessage, AWindowSocketIsBoundOnce) {
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    EXPECT_THROW(TWindowSocket{handle}, std::system_error);
}

TEST(WindowMessage, SocketIsFreedWithItsWindow) {
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
TEST(WindowMessage, ASocketLeftBehindIsReplaced) {
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
TEST(WindowMessage, DatagramsOfAnotherUserAreDropped) {
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
TEST(WindowMessage, DescriptorsSentAlongAreNotKept) {
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

TEST(WindowMessage, NothingIsPostedOrBoundInARefusedRuntimeFolder) {
    const std::string folder = RuntimeFolder();
    const THwnd handle = UniqueWindow();
    TWindowSocket window(handle);
    chmod(folder.c_str(), 0755);
    const bool posted = PostMessageA(handle, 1, 0, 0);
    bool bound = true;
    try {
        TWindowSocket other(handle | 0x80);
    } catch (const std::system_error&) {
        bound = false;
    }
    chmod(folder.c_str(), 0700);
    EXPECT_FALSE(posted);
    EXPECT_FALSE(bound);
    EXPECT_EQ(window.Receive(), std::nullopt);
}

} // namespace
