// Plays the tool's part for the tests of vesk-host: opens the host's block as the tool does and,
// by its one argument,
//   send       takes the offered intake, writes HostSendRows, sets Ready and posts 4038;
//   quit       ends without sending;
//   idle       closes its standard streams and stays on for a while without sending;
//   term-host  sends SIGTERM to its host and ends;
//   foreign    has a process of another user send the ready message to the host's window, prints
//              "another user sent 4038" when it did, and ends without sending.
// Exits 3 when there is no usable link.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "exchange/HostLink.h"
#include "host_send_rows.h"
#include "platform/window_message.h"

namespace {

// The runtime folder keeps other users from reaching the window by name, so the socket is
// connected before the child gives up root's privileges for those of user 65534.
bool SendAsAnotherUser(THwnd window) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = WindowSocketPath(window);
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int sender = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (connect(sender, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return false;
    const unsigned char ready[12] = {0xC6, 0x0F, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && send(sender, ready, 12, 0) == 12 ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char** argv) {
    TSharedMemory shared = OpenHostLink();
    if (!IsHostLinked(shared) || argc != 2)
        return 3;
    const std::string_view mode = argv[1];
    if (mode == "send") {
        THostSend send(shared, OfferedIntake(shared));
        for (const TSendRow& row : HostSendRows)
            send.Row(row);
        send.Finish();
    } else if (mode == "idle") {
        close(0);
        close(1);
        close(2);
        sleep(5);
    } else if (mode == "term-host") {
        kill(getppid(), SIGTERM);
    } else if (mode == "foreign" && SendAsAnotherUser(TSharedBlock(shared.View).HostWindow())) {
        std::printf("another user sent 4038\n");
    }
    return 0;
}
