#include "tools/host_window.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(int error) {
    throw std::system_error(error, std::generic_category(), "window socket");
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

// The sender's credentials are asked for before the socket can receive anything.
TWindowSocket::TWindowSocket(THwnd window) : FPath(WindowSocketPath(window)) {
    const sockaddr_un address = WindowSocketAddress(FPath);
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
        std::array<unsigned char, WindowMessageSize + 1> datagram;
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
        if (FromThisUser(header) && received == static_cast<ssize_t>(WindowMessageSize))
            return DecodeWindowMessage(datagram.data());
    }
}
