#include "platform/window_message.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Window handles of their own per test, so that test programs can run side by side.
THwnd UniqueWindow() {
    static THwnd counter = 0;
    return (static_cast<THwnd>(getpid()) << 8) | ++counter;
}

std::string SocketName(THwnd window) {
    char name[32];
    std::snprintf(name, sizeof name, "rumiva-window-%08x", window);
    return name;
}

// A plain datagram socket, to look at the wire format from outside the layer.
class TRawSocket {
public:
    TRawSocket() : FDescriptor(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~TRawSocket() { close(FDescriptor); }

    sockaddr_un Address(const std::string& name, socklen_t& length) const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        return address;
    }
    void Bind(const std::string& name) {
        socklen_t length;
        const sockaddr_un address = Address(name, length);
        if (bind(FDescriptor, reinterpret_cast<const sockaddr*>(&address), length) != 0)
            throw std::runtime_error("bind " + name);
    }
    void Send(const std::string& name, const void* bytes, size_t size) {
        socklen_t length;
        const sockaddr_un address = Address(name, length);
        sendto(FDescriptor, bytes, size, 0, reinterpret_cast<const sockaddr*>(&address), length);
    }
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
    window.Bind(SocketName(handle));
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
    const std::string name = SocketName(handle);
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
    { TWindowSocket window(handle); }
    TWindowSocket again(handle);
    EXPECT_TRUE(PostMessageA(handle, 1, 0, 0));
}

} // namespace
