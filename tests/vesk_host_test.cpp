#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "exchange/UProcs02.h"

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

// Runs vesk-host with the test peer as its program and collects its standard output. The test
// adopts what the host leaves running, to see how it ends.
TRun RunHost(std::vector<std::string> arguments) {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    arguments.insert(arguments.begin(), VESK_BINARY_DIR "/vesk-host");
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

std::string Window() {
    return std::to_string((getpid() << 8) | 1);
}

bool ObjectExists() {
    return access("/dev/shm/ShareQuindel", F_OK) == 0;
}

TEST(VeskHost, PrintsTheBlockTheToolSent) {
    const TRun run = RunHost({"--offer", "12.5", "--window", Window(), "--timeout", "60",
                              VESK_BINARY_DIR "/tests/host_peer", "send"});
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
    EXPECT_FALSE(ObjectExists());
}

TEST(VeskHost, AnOfferOfZeroComesBackAsTen) {
    const TRun run = RunHost({"--offer", "0", VESK_BINARY_DIR "/tests/host_peer", "send"});
    EXPECT_EQ(run.ExitCode(), 0);
    EXPECT_NE(run.Output.find("ConsumoOfrecido: 10\n"), std::string::npos) << run.Output;
}

TEST(VeskHost, AProgramEndingWithoutTheMessageFails) {
    const TRun run = RunHost({VESK_BINARY_DIR "/tests/host_peer", "quit"});
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_EQ(run.Output, "");
    EXPECT_FALSE(ObjectExists());
}

TEST(VeskHost, TimeRunningOutFails) {
    const TRun run = RunHost({"--timeout", "0.2", VESK_BINARY_DIR "/tests/host_peer", "idle"});
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_FALSE(ObjectExists());
}

TEST(VeskHost, ATerminationSignalRemovesTheObjectFirst) {
    const TRun run = RunHost({VESK_BINARY_DIR "/tests/host_peer", "term-host"});
    ASSERT_TRUE(WIFSIGNALED(run.Status));
    EXPECT_EQ(WTERMSIG(run.Status), SIGTERM);
    EXPECT_FALSE(ObjectExists());
}

TEST(VeskHost, AProgramThatCannotStartFails) {
    const TRun run = RunHost({VESK_BINARY_DIR "/tests/no-such-program"});
    EXPECT_EQ(run.ExitCode(), 2);
    EXPECT_FALSE(ObjectExists());
}

TEST(VeskHost, AnObjectOfAnotherHostIsLeftAlone) {
    const TSharedMemory other = OpenSharedMemory(true, "ShareQuindel", 128);
    const TRun run = RunHost({VESK_BINARY_DIR "/tests/host_peer", "quit"});
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

} // namespace
