#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

// This process's environment with the offscreen platform in place of any other.
std::vector<std::string> OffscreenEnvironment() {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable)
        if (!std::string_view(*variable).starts_with("QT_QPA_PLATFORM="))
            variables.emplace_back(*variable);
    variables.emplace_back("QT_QPA_PLATFORM=offscreen");
    return variables;
}

// Runs the program as a whole process and gives the seconds from its spawn to its exit.
double RunSeconds(const char* program, std::vector<std::string>& environment) {
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, program, nullptr, nullptr, argv, envp.data()) != 0)
        throw std::runtime_error(std::string("cannot start ") + program);
    int status = 0;
    waitpid(child, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string(program) + " failed");
    return std::chrono::duration<double>(end - start).count();
}

double Median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Each iteration starts the window program and the bare Qt program once, in alternating order,
// so that both see the same load of the machine.
void BM_StartUp(benchmark::State& state) {
    std::vector<std::string> environment = OffscreenEnvironment();
    std::vector<double> window;
    std::vector<double> bare;
    for (auto _ : state) {
        const bool windowFirst = window.size() % 2 == 0;
        if (windowFirst)
            window.push_back(RunSeconds(STARTUP_WINDOW, environment));
        bare.push_back(RunSeconds(STARTUP_BARE, environment));
        if (!windowFirst)
            window.push_back(RunSeconds(STARTUP_WINDOW, environment));
    }
    const double windowMedian = Median(window);
    const double bareMedian = Median(bare);
    state.counters["window_ms"] = windowMedian * 1000;
    state.counters["bare_ms"] = bareMedian * 1000;
    state.counters["ratio"] = windowMedian / bareMedian;
}

} // namespace

BENCHMARK(BM_StartUp)->Iterations(31)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
