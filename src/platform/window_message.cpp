#include "platform/window_message.h"

#include "platform/runtime_folder.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace {

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

TWindowMessage DecodeWindowMessage(const unsigned char* datagram) {
    return {GetWord(datagram), GetWord(datagram + 4), GetWord(datagram + 8)};
}

std::string WindowSocketPath(THwnd window) {
    char name[32];
    std::snprintf(name, sizeof name, "/rumiva-window-%08x", window);
    return RuntimeFolder() + name;
}

sockaddr_un WindowSocketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        throw std::system_error(ENAMETOOLONG, std::generic_category(), path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

bool PostMessageA(THwnd window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    sockaddr_un address;
    try {
        address = WindowSocketAddress(WindowSocketPath(window));
    } catch (const std::system_error&) {
        return false;
    }
    const int descriptor = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return false;
    std::array<unsigned char, WindowMessageSize> datagram;
    PutWord(&datagram[0], message);
    PutWord(&datagram[4], wParam);
    PutWord(&datagram[8], lParam);
    const ssize_t sent =
        sendto(descriptor, datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&address), sizeof address);
    close(descriptor);
    return sent == static_cast<ssize_t>(datagram.size());
}
