#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/un.h>

// Window messages between the processes of one user. A window handle H names the datagram socket
// "rumiva-window-" + H as 8 lowercase hexadecimal digits in the user's runtime folder; a message
// is one datagram of 12 bytes: message number, first and second parameter, each 32-bit
// little-endian.

using THwnd = uint32_t;

struct TWindowMessage {
    uint32_t Message = 0;
    uint32_t WParam = 0;
    uint32_t LParam = 0;
    friend bool operator==(const TWindowMessage&, const TWindowMessage&) = default;
};

inline constexpr std::size_t WindowMessageSize = 12;

// The message that the first WindowMessageSize bytes of a datagram hold.
TWindowMessage DecodeWindowMessage(const unsigned char* datagram);

// The path of the window's socket. Raises std::system_error when the runtime folder is refused.
std::string WindowSocketPath(THwnd window);
// The socket address of a path; std::system_error when the path is too long for a socket.
sockaddr_un WindowSocketAddress(const std::string& path);

// Queues the message for the window and returns at once, without waiting for the receiver.
// Returns false when it could not be queued (no such window, its queue full); callers that
// post to a window which may have vanished ignore that.
bool PostMessageA(THwnd window, uint32_t message, uint32_t wParam, uint32_t lParam);
