#include "platform/window_message.h"

#include "platform/runtime_folder.h"

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

[[noreturn]] void Fail(int error) {
    throw std::system_error(error, std::generic_category(), "window socket");
}

sockaddr_un SocketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        throw std::system_error(ENAMETOOLONG, std::generic_category(), path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

const sockaddr* Generic(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

// A socket whose window ended without removing it refuses every connection.
bool IsLeftBehind(const sockaddr_un& address) {
    const int probe = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool left =
        connect(probe, Generic(address), sizeof address) != 0 && errno == ECONNREFUSED;
    close(probe);
    return left;
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

// Whether the datagram's credentials name a sender of this user.
bool FromThisUser(msghdr& header) {
    for (cmsghdr* part = CMSG_FIRSTHDR(&header); part != nullptr; part = CMSG_NXTHDR(&header, part))
        if (part->cmsg_level == SOL_SOCKET && part->cmsg_type == SCM_CREDENTIALS) {
            ucred sender;
            std::memcpy(&sender, CMSG_DATA(part), sizeof sender);
            return sender.uid == geteuid();
        }
    return false;
}

} // namespace

std::string WindowSocketPath(THwnd window) {
    char name[32];
    std::snprintf(name, sizeof name, "/rumiva-window-%08x", window);
    return RuntimeFolder() + name;
}

bool PostMessageA(THwnd window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    sockaddr_un address;
    try {
        address = SocketAddress(WindowSocketPath(window));
    } catch (const std::system_error&) {
        return false;
    }
    const int descriptor = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return false;
    std::array<unsigned char, MessageSize> datagram;
    PutWord(&datagram[0], message);
    PutWord(&datagram[4], wParam);
    PutWord(&datagram[8], lParam);
    const ssize_t sent = sendto(descriptor, datagram.data(), datagram.size(),
                                MSG_DONTWAIT | MSG_NOSIGNAL, Generic(address), sizeof address);
    close(descriptor);
    return sent == static_cast<ssize_t>(datagram.size());
}

// The sender's credentials are asked for before the socket can receive anything.
TWindowSocket::TWindowSocket(THwnd window) : FPath(WindowSocketPath(window)) {
    const sockaddr_un address = SocketAddress(FPath);
    FDescriptor = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (FDescriptor < 0)
        Fail(errno);
    const int on = 1;
    bool bound = setsockopt(FDescriptor, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) == 0 &&
                 bind(FDescriptor, Generic(address), sizeof address) == 0;
    if (!bound && errno == EADDRINUSE && IsLeftBehind(address) && unlink(FPath.c_str()) == 0)
        bound = bind(FDescriptor, Generic(address), sizeof address) == 0;
    if (!bound) {
        const int error = errno;
        close(FDescriptor);
        Fail(error);
    }
}

TWindowSocket::~TWindowSocket() {
    close(FDescriptor);
    unlink(FPath.c_str());
}

std::optional<TWindowMessage> TWindowSocket::Receive() {
    for (;;) {
        // One byte more than a message, so that a longer datagram shows its true length.
        std::array<unsigned char, MessageSize + 1> datagram;
        iovec part{datagram.data(), datagram.size()};
        // Room for the credentials alone: the kernel closes any descriptors sent along.
        alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(ucred))];
        msghdr header{};
        header.msg_iov = &part;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t received = recvmsg(FDescriptor, &header, MSG_CMSG_CLOEXEC);
        if (received < 0)
            return std::nullopt;
        if (FromThisUser(header) && received == static_cast<ssize_t>(MessageSize))
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
