#pragma once

#include "platform/window_message.h"

#include <optional>
#include <string>

// The host's end of its window: binds the window's socket for as long as it lives and removes it
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

private:
    int FDescriptor = -1;
    std::string FPath;
};
