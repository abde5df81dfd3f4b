// Plays the tool's part for the tests of vesk-host: opens the host's block as the tool does and,
// by its one argument,
//   send       takes the offered intake, writes HostSendRows, sets Ready and posts 4038;
//   quit       ends without sending;
//   idle       closes its standard streams and stays on for a while without sending;
//   term-host  sends SIGTERM to its host and ends.
// Exits 3 when there is no usable link.

#include <csignal>
#include <string_view>
#include <unistd.h>

#include "exchange/HostLink.h"
#include "host_send_rows.h"

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
    }
    return 0;
}
