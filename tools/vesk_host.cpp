// vesk-host: the reference host of the tool's host link. A formulation program obtains the
// restrictions of one animal from the tool in four steps, with both names in the user's runtime
// folder ($XDG_RUNTIME_DIR, or runtime-<user> in the temporary folder, mode 0700):
//   1. create the regular file "ShareQuindel" there (mode 0600) of 128 bytes and write
//      HostWindow (offset 0, 32-bit) and ConsumoOfrecido (offset 4, IEEE single, kg/day);
//   2. receive on that window: the datagram socket "rumiva-window-%08x" there, taking only
//      datagrams that the kernel's credentials (SO_PASSCRED) show to come from the same user;
//   3. start the tool and wait for message 4038 (12 bytes: 4038, 4, 0, each 32-bit);
//   4. read Ready (offset 8) and the seven slots (Min at 16 + 16 i, Max at 24 + 16 i, signed
//      64-bit counts of ten-thousandths), all little-endian, then remove the object.
// Exit status: 0 when the message came, 1 when the program ended or the time ran out without
// it, 2 when the host could not be set up.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "exchange/HostLink.h"
#include "platform/program_file.h"
#include "platform/runtime_folder.h"
#include "tools/host_window.h"

namespace {

struct TOptions {
    float Offer = 10;
    THwnd Window = static_cast<THwnd>(getpid());
    double TimeoutSeconds = 600;
    std::vector<std::string> Program;
};

// About four months: long enough for any session, short enough for the clock's range.
constexpr double MaxTimeout = 1e7;

template <typename T> bool ParseNumber(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<TOptions> ParseOptions(int argc, char** argv) {
    TOptions options;
    int i = 1;
    for (; i < argc && std::string_view(argv[i]).starts_with("--"); i += 2) {
        const std::string_view option = argv[i];
        const std::string_view value = i + 1 < argc ? argv[i + 1] : "";
        const bool parsed = option == "--offer"     ? ParseNumber(value, options.Offer)
                            : option == "--window"  ? ParseNumber(value, options.Window)
                            : option == "--timeout" ? ParseNumber(value, options.TimeoutSeconds) &&
                                                          options.TimeoutSeconds >= 0 &&
                                                          options.TimeoutSeconds <= MaxTimeout
                                                    : false;
        if (!parsed)
            return std::nullopt;
    }
    options.Program.assign(argv + i, argv + argc);
    if (options.Program.empty())
        options.Program.push_back(ProgramDir() + "vesk");
    return options;
}

// An amount of ten-thousandths with four decimals, exactly.
std::string Amount(int64_t count) {
    const uint64_t magnitude = count < 0 ? 0 - static_cast<uint64_t>(count) : count;
    char text[32];
    std::snprintf(text, sizeof text, "%s%" PRIu64 ".%04" PRIu64, count < 0 ? "-" : "",
                  magnitude / 10000, magnitude % 10000);
    return text;
}

std::string Real(float value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end);
}

// Starts the program with the signals that the host holds back unblocked again.
pid_t Start(const std::vector<std::string>& program) {
    std::vector<char*> arguments;
    for (const std::string& argument : program)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t child = 0;
    const int error =
        posix_spawnp(&child, arguments[0], nullptr, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        throw std::system_error(error, std::generic_category(), "cannot start " + program[0]);
    return child;
}

enum class TWaitEnd { Message, ProgramEnded, TimedOut, Signalled };

// Waits for the ready message, the end of the program, the timeout or a signal, whichever
// comes first; a message that has arrived wins over the program's end.
TWaitEnd WaitForReady(TWindowSocket& window, pid_t child, int signals, double timeoutSeconds) {
    // A descriptor that becomes readable when the program ends (glibc 2.36 has no C++ wrapper).
    const int program = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    if (program < 0)
        throw std::system_error(errno, std::generic_category(), "cannot watch the program");
    pollfd watched[] = {
        {window.Descriptor(), POLLIN, 0}, {program, POLLIN, 0}, {signals, POLLIN, 0}};
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        while (const auto message = window.Receive())
            if (message->Message == HostReadyMessage)
                return TWaitEnd::Message;
        if (watched[2].revents != 0)
            return TWaitEnd::Signalled;
        if (watched[1].revents != 0)
            return TWaitEnd::ProgramEnded;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return TWaitEnd::TimedOut;
        poll(watched, 3, static_cast<int>(std::min<long long>(left.count(), INT32_MAX)));
    }
}

void PrintBlock(const TSharedBlock& block) {
    std::printf("Ready: %u\n", block.Ready());
    std::printf("ConsumoOfrecido: %s\n", Real(block.ConsumoOfrecido()).c_str());
    for (int i = 0; i < TSharedBlock::SlotCount; ++i)
        std::printf("Limits[%d]: %s %s\n", i, Amount(block.LimitMin(i)).c_str(),
                    Amount(block.LimitMax(i)).c_str());
}

// Removes the object whichever way the host ends.
struct TObjectRemover {
    ~TObjectRemover() { RemoveSharedMapping(HostShareName); }
};

// A runtime folder that is refused stops the host before it creates anything.
TWaitEnd Run(const TOptions& options, int signals) {
    const std::string object = RuntimeFolder() + "/ShareQuindel";
    const TSharedMemory shared = OpenSharedMemory(true, HostShareName, TSharedBlock::Size);
    if (shared.Handle != 0 && shared.ErrorCode == EEXIST)
        throw std::runtime_error(object + " already exists: another host is running, or remove it");
    if (shared.Handle == 0)
        throw std::system_error(shared.ErrorCode, std::generic_category(),
                                "cannot create " + object);
    TObjectRemover remover;
    if (shared.View == nullptr)
        throw std::system_error(shared.ErrorCode, std::generic_category(), "cannot map " + object);
    TSharedBlock block(shared.View);
    block.SetConsumoOfrecido(options.Offer);
    block.SetHostWindow(options.Window);
    TWindowSocket window(options.Window);
    const TWaitEnd end =
        WaitForReady(window, Start(options.Program), signals, options.TimeoutSeconds);
    if (end == TWaitEnd::Message)
        PrintBlock(block);
    return end;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<TOptions> options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: vesk-host [--offer KG] [--window N] [--timeout SECONDS] "
                             "[PROGRAM [ARGS...]]\n");
        return 2;
    }
    // SIGINT and SIGTERM are taken as events, so that the object is removed before the host
    // ends; the pending signal then ends it as it would have.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
    const int signals = signalfd(-1, &stops, SFD_CLOEXEC);
    try {
        switch (Run(*options, signals)) {
        case TWaitEnd::Message:
            return 0;
        case TWaitEnd::ProgramEnded:
            std::fprintf(stderr, "vesk-host: the program ended without sending\n");
            return 1;
        case TWaitEnd::TimedOut:
            std::fprintf(stderr, "vesk-host: no message within the time\n");
            return 1;
        case TWaitEnd::Signalled:
            sigprocmask(SIG_UNBLOCK, &stops, nullptr);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vesk-host: %s\n", error.what());
        return 2;
    }
    return 1;
}
