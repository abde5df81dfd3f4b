// Plays the tool's part for the tests of vesk-host: opens the host's block as the tool does and,
// by its one argument,
//   send       takes the offered intake, writes a fixed set of rows, sets Ready and posts 4038;
//   quit       ends without sending;
//   idle       closes its standard streams and stays on for a while without sending;
//   term-host  sends SIGTERM to its host and ends.
// Exits 3 when there is no usable link.

#include <csignal>
#include <string_view>
#include <unistd.h>

#include "exchange/HostLink.h"

int main(int argc, char** argv) {
    TSharedMemory shared = OpenHostLink();
    if (!IsHostLinked(shared) || argc != 2)
        return 3;
    const std::string_view mode = argv[1];
    if (mode == "send") {
        THostSend send(shared, OfferedIntake(shared));
        const TSendRow rows[] = {
            {0.0025, 0.004, true},          {1.5, 2.5, false},        {0.28, std::nullopt, true},
            {std::nullopt, 0.01, true},     {0.3, 0.5, std::nullopt}, {-1.25, 0.0001, true},
            {12345.6789, 99999.9999, true},
        };
        for (const TSendRow& row : rows)
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
