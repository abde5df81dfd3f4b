#include "platform/window_message.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr size_t MessageSize = 12;

// The address of a window's socket; its length goes into length.
sockaddr_un WindowAddress(THwnd window, socklen_t& length) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // Abstract namespace: the name follows a leading zero byte and has no terminator.
    char name[32];
    const int size = std::snprintf(name, sizeof name, "rumiva-window-%08x", window);
    std::memcpy(address.sun_path + 1, name, static_cast<size_t>(size));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
    return address;
}

void PutWord(unsigned char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t GetWord(const unsigned char* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return value;
}

} // namespace

bool PostMessageA(THwnd window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    const int descriptor = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return false;
    std::array<unsigned char, MessageSize> datagram;
    PutWord(&datagram[0], message);
    PutWord(&datagram[4], wParam);
    PutWord(&datagram[8], lParam);
    socklen_t length;
    const sockaddr_un address = WindowAddress(window, length);
    const ssize_t sent =
        sendto(descriptor, datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&address), length);
    close(descriptor);
    return sent == static_cast<ssize_t>(datagram.size());
}

TWindowSocket::TWindowSocket(THwnd window) {
    FDescriptor = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (FDescriptor < 0)
        throw std::system_error(errno, std::generic_category(), "window socket");
    socklen_t length;
    const sockaddr_un address = WindowAddress(window, length);
    if (bind(FDescriptor, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const int error = errno;
        close(FDescriptor);
        throw std::system_error(error, std::generic_category(), "window socket");
    }
}

TWindowSocket::~TWindowSocket() {
    close(FDescriptor);
}

std::optional<TWindowMessage> TWindowSocket::Receive() {
    for (;;) {
        // One byte more than a message, so that a longer datagram shows its true length.
        std::array<unsigned char, MessageSize + 1> datagram;
        const ssize_t received = recv(FDescriptor, datagram.data(), datagram.size(), 0);
        if (received < 0)
            return std::nullopt;
        if (received == static_cast<ssize_t>(MessageSize))
            return TWindowMessage{GetWord(&datagram[0]), GetWord(&datagram[4]),
                                  GetWord(&datagram[8])};
    }
}

std::optional<TWindowMessage> TWindowSocket::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto message = Receive())
            return message;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd watch{FDescriptor, POLLIN, 0};
        poll(&watch, 1, static_cast<int>(std::min<long long>(left.count(), 1 << 30)));
    }
}
