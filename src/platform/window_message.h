#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

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

// The path of the window's socket. Raises std::system_error when the runtime folder is refused.
std::string WindowSocketPath(THwnd window);

// Queues the message for the window and returns at once, without waiting for the receiver.
// Returns false when it could not be queued (no such window, its queue full); callers that
// post to a window which may have vanished ignore that.
bool PostMessageA(THwnd window, uint32_t message, uint32_t wParam, uint32_t lParam);

// The receiving end of a window: binds the window's socket for as long as it lives and removes it
// then. Only datagrams sent by processes of the user's own are taken.
class TWindowSocket {
public:
    // Raises std::system_error when the socket cannot be bound (another window holds it, the
    // runtime folder is refused, its path is too long for a socket). A socket left behind by a
    // window that ended without removing it is replaced.
    explicit TWindowSocket(THwnd window);
    ~TWindowSocket();
    TWindowSocket(const TWindowSocket&) = delete;
    TWindowSocket& operator=(const TWindowSocket&) = delete;

    // The socket's file descriptor, readable when a message waits (for poll).
    int Descriptor() const { return FDescriptor; }
    // Takes one waiting message without blocking; nothing when none waits. Datagrams that are
    // not 12 bytes long or come from another user are dropped.
    std::optional<TWindowMessage> Receive();
    // Waits up to timeout for the next message; nothing when the time runs out.
    std::optional<TWindowMessage> Wait(std::chrono::milliseconds timeout);

private:
    int FDescriptor = -1;
    std::string FPath;
};
