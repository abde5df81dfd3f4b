#pragma once

#include "platform/runtime_folder.h"
#include "platform/window_message.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Window handles and plain datagram sockets for the tests of both ends of a window.

// Window handles of their own per test.
inline THwnd UniqueWindow() {
    static THwnd counter = 0;
    return (static_cast<THwnd>(getpid()) << 8) | ++counter;
}

inline std::string SocketPath(THwnd window) {
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
