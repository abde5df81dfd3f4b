#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "exchange/UProcs02.h"
#include "platform/runtime_folder.h"
#include "run_unprivileged.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

struct TRun {
    int Status = -1;
    std::string Output;

    // The host's exit code, -1 when a signal ended it.
    int ExitCode() const { return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1; }
};

// Waits for the programs the host started and left running; each must end by itself, so that
// one that crashes, or stops on a sanitizer's report, fails the test.
void ExpectStartedProgramsEndedCleanly() {
    int status = 0;
    for (pid_t program; (program = waitpid(-1, &status, 0)) > 0;)
        EXPECT_TRUE(WIFEXITED(status)) << "program " << program << " ended by signal "
                                       << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

// Runs the program and collects its standard output. The test adopts what the program leaves
// running, to see how it ends.
TRun RunProgram(std::vector<std::string> arguments) {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    pid_t child = 0;
    const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    TRun run;
    char buffer[4096];
    for (ssize_t got; error == 0 && (got = read(output[0], buffer, sizeof buffer)) > 0;)
        run.Output.append(buffer, static_cast<size_t>(got));
    close(output[0]);
    if (error == 0)
        waitpid(child, &run.Status, 0);
    ExpectStartedProgramsEndedCleanly();
    return run;
}

// vesk-host, with the test peer as its program when the arguments name it.
TRun RunHost(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), VESK_BINARY_DIR "/vesk-host");
    return RunProgram(std::move(arguments));
}

const std::string Peer = VESK_BINARY_DIR "/tests/host_peer";

std::string Window() {
    return std::to_string((getpid() << 8) | 1);
}

std::string ObjectPath() {
    return RuntimeFolder() + "/ShareQuindel";
}

bool ObjectExists() {
    return access(ObjectPath().c_str(), F_OK) == 0;
}

// The host leaves neither its object nor its window's socket behind.
bool NothingLeftBehind() {
    return fs::is_empty(RuntimeFolder());
}

TEST(VeskHost, PrintsTheBlockTheToolSent) {
    const TRun run =
        RunHost({"--offer", "12.5", "--window", Window(), "--timeout", "60", Peer, "send"});
    EXPECT_EQ(run.ExitCode(), 0);
    EXPECT_EQ(run.Output, "Ready: 1\n"
                          "ConsumoOfrecido: 12.5\n"
                          "Limits[0]: 0.0025 0.0040\n"
                          "Limits[1]: 0.0000 0.0000\n"
                          "Limits[2]: 0.2800 0.0000\n"
                          "Limits[3]: 0.0000 0.0100\n"
                          "Limits[4]: 0.0000 0.0000\n"
                          "Limits[5]: -1.2500 0.0001\n"
                          "Limits[6]: 12345.6789 99999.9999\n");
    EXPECT_TRUE(NothingLeftBehind());
}

TEST(VeskHost, AnOfferOfZeroComesBackAsTen) {
    const TRun run = RunHost({"--offer", "0", Peer, "send"});
    EXPECT_EQ(run.ExitCode(), 0);
    EXPECT_NE(run.Output.find("ConsumoOfrecido: 10\n"), std::string::npos) << run.Output;
}

TEST(VeskHost, AProgramEndingWithoutTheMessageFails) {
    const TRun run = RunHost({Peer, "quit"});
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_EQ(run.Output, "");
    EXPECT_TRUE(NothingLeftBehind());
}

TEST(VeskHost, TimeRunningOutFails) {
    const TRun run = RunHost({"--timeout", "0.2", Peer, "idle"});
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_FALSE(ObjectExists());
}

TEST(VeskHost, ATerminationSignalRemovesTheObjectFirst) {
    const TRun run = RunHost({Peer, "term-host"});
    ASSERT_TRUE(WIFSIGNALED(run.Status));
    EXPECT_EQ(WTERMSIG(run.Status), SIGTERM);
    EXPECT_TRUE(NothingLeftBehind());
}

TEST(VeskHost, AProgramThatCannotStartFails) {
    const TRun run = RunHost({VESK_BINARY_DIR "/tests/no-such-program"});
    EXPECT_EQ(run.ExitCode(), 2);
    EXPECT_FALSE(ObjectExists());
}

TEST(VeskHost, AnObjectOfAnotherHostIsLeftAlone) {
    const TSharedMemory other = OpenSharedMemory(true, "ShareQuindel", 128);
    const TRun run = RunHost({Peer, "quit"});
    EXPECT_EQ(run.ExitCode(), 2);
    EXPECT_TRUE(ObjectExists());
    RemoveSharedMapping("ShareQuindel");
}

TEST(VeskHost, BadOptionsAreRefused) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--offer"},
                                                      {"--offer", "x"},
                                                      {"--window", "-1"},
                                                      {"--timeout", "-1"},
                                                      {"--timeout", "inf"},
                                                      {"--timeout", "nan"},
                                                      {"--colour", "red"}}) {
        const TRun run = RunHost(arguments);
        EXPECT_EQ(run.ExitCode(), 2) << arguments[0];
    }
    EXPECT_FALSE(ObjectExists());
}

// What stands in the runtime folder when the tool or the host starts.
enum class TExchangeFault {
    None,
    Symlink,
    OtherUsersObject,
    Folder,
    ShortObject,
    OpenRuntimeFolder,
    OpenEmptyRuntimeFolder,
    OtherUsersDatagram
};

struct TExchangeCase {
    const char* Label;
    TExchangeFault Fault;
    std::vector<std::string> Program; // run with the fault in place
    int Exit;
    const char* Output;
};

void PrintTo(const TExchangeCase& c, std::ostream* os) {
    *os << c.Label;
}

// A host's block offering 12.5, its slots filled with a pattern that a send would overwrite.
std::string HostBlock() {
    std::string block(TSharedBlock::Size, '\x11');
    TSharedBlock(block.data()).SetHostWindow(0);
    TSharedBlock(block.data()).SetConsumoOfrecido(12.5f);
    TSharedBlock(block.data()).SetReady(0);
    return block;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class BadExchange : public testing::TestWithParam<TExchangeCase> {
protected:
    ~BadExchange() override {
        chmod(FFolder.c_str(), 0700);
        std::error_code ignored;
        fs::remove_all(FObject, ignored);
    }

    // Puts the fault in place; returns the file whose bytes the tool must leave as they are, or
    // nothing.
    std::string Make(TExchangeFault fault) {
        switch (fault) {
        case TExchangeFault::None:
        case TExchangeFault::OpenRuntimeFolder:
            StoreFile(FObject, HostBlock());
            if (fault == TExchangeFault::OpenRuntimeFolder)
                chmod(FFolder.c_str(), 0755);
            return FObject;
        case TExchangeFault::Symlink: {
            const std::string target = FOutside.Path() + "/ShareQuindel";
            StoreFile(target, HostBlock());
            fs::create_symlink(target, FObject);
            return target;
        }
        case TExchangeFault::OtherUsersObject: {
            // The other user writes in a folder open to it; the object then moves into place.
            const std::string made = FOutside.Path() + "/ShareQuindel";
            fs::permissions(FOutside.Path(), fs::perms::all);
            EXPECT_TRUE(RunUnprivileged([&] {
                StoreFile(made, HostBlock());
                return access(made.c_str(), F_OK) == 0;
            }));
            fs::rename(made, FObject);
            return FObject;
        }
        case TExchangeFault::Folder:
            fs::create_directory(FObject);
            return {};
        case TExchangeFault::ShortObject:
            StoreFile(FObject, HostBlock().substr(0, 64));
            return FObject;
        case TExchangeFault::OpenEmptyRuntimeFolder:
            chmod(FFolder.c_str(), 0755);
            return {};
        case TExchangeFault::OtherUsersDatagram:
            return {};
        }
        return {};
    }

    const std::string FFolder = std::getenv("XDG_RUNTIME_DIR");
    const std::string FObject = FFolder + "/ShareQuindel";
    TTempFolder FOutside{"bad_exchange"};
};

// The tool runs alone (the peer's exit 3) and writes nothing where the fault lies; the host
// refuses to start or ignores the datagram; the runtime folder keeps the names it had.
TEST_P(BadExchange, NothingIsWrittenWhereItIsNotTheUsersOwn) {
    const TExchangeCase& c = GetParam();
    const bool asAnotherUser = c.Fault == TExchangeFault::OtherUsersObject ||
                               c.Fault == TExchangeFault::OtherUsersDatagram;
    if (asAnotherUser && geteuid() != 0)
        GTEST_SKIP() << "only root can act as another user";
    const std::string watched = Make(c.Fault);
    const std::string before = watched.empty() ? std::string() : FileContents(watched);
    const std::vector<std::string> names = Names(FFolder);

    const TRun run = RunProgram(c.Program);
    EXPECT_EQ(run.ExitCode(), c.Exit);
    EXPECT_EQ(run.Output, c.Output);
    if (!watched.empty()) {
        EXPECT_EQ(FileContents(watched) == before, c.Exit != 0);
    }
    EXPECT_EQ(Names(FFolder), names);
}

const std::string Host = VESK_BINARY_DIR "/vesk-host";

INSTANTIATE_TEST_SUITE_P(
    Faults, BadExchange,
    testing::Values(
        TExchangeCase{"AnObjectOfTheUsersOwn", TExchangeFault::None, {Peer, "send"}, 0, ""},
        TExchangeCase{"ASymlinkToAnObject", TExchangeFault::Symlink, {Peer, "send"}, 3, ""},
        TExchangeCase{
            "AnObjectOfAnotherUser", TExchangeFault::OtherUsersObject, {Peer, "send"}, 3, ""},
        TExchangeCase{"AFolder", TExchangeFault::Folder, {Peer, "send"}, 3, ""},
        TExchangeCase{
            "AnObjectOfSixtyFourBytes", TExchangeFault::ShortObject, {Peer, "send"}, 3, ""},
        TExchangeCase{
            "ARuntimeFolderOpenToOthers", TExchangeFault::OpenRuntimeFolder, {Peer, "send"}, 3, ""},
        TExchangeCase{"AHostInARuntimeFolderOpenToOthers",
                      TExchangeFault::OpenEmptyRuntimeFolder,
                      {Host, Peer, "send"},
                      2,
                      ""},
        TExchangeCase{"ADatagramOfAnotherUser",
                      TExchangeFault::OtherUsersDatagram,
                      {Host, "--timeout", "60", Peer, "foreign"},
                      1,
                      "another user sent 4038\n"}),
    [](const testing::TestParamInfo<TExchangeCase>& info) { return info.param.Label; });

} // namespace
