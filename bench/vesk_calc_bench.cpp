#include "exchange/ModelFile.h"
#include "platform/program_file.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int FileCount = 10000;

// The model file text of animal i: the three states in turn, weights, milk and gains varied.
// Days in milk start at 7, since fewer than 7 fail the lactating cow's calculation.
std::string ModelText(int i) {
    auto real = [](float value) { return FormatModelReal(value, '.'); };
    const int tipo = i % 3;
    std::string text = "[Data]\r\n";
    text += "Tipo=" + std::to_string(tipo) + "\r\n";
    text += "Consumo=" + real(6.0f + float(i % 170) / 10) + "\r\n";
    text += "Peso=" + real(float(tipo == 2 ? 200 + i % 300 : 400 + i % 300)) + "\r\n";
    text += "Lactacion=" + std::to_string(i % 3) + "\r\n";
    text += "Leche=" + real(float(i % 45)) + "\r\n";
    text += "Grasa=" + real(2.5f + float(i % 25) / 10) + "\r\n";
    text += "Proteina=" + real(2.8f + float(i % 12) / 10) + "\r\n";
    text += "DIM=" + std::to_string(7 + i % 46) + "\r\n";
    text += "Temperatura=" + real(float(i % 60 - 20)) + "\r\n";
    text += "GDP=" + real(float(i % 10) / 10) + "\r\n";
    text += "ADG=" + real(0.4f + float(i % 8) / 10) + "\r\n";
    text += "Freshenning=" + std::to_string(i % 90) + "\r\n";
    return text;
}

// Runs the program with the arguments, its output to /dev/null; its exit status or -1.
int RunQuiet(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (error != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// The model files in a temporary folder, written once for every repetition and removed at exit.
class TModelFolder {
public:
    TModelFolder() {
        std::string folder = (std::filesystem::temp_directory_path() / "vesk_calc_XXXXXX").string();
        if (!mkdtemp(folder.data())) {
            return;
        }
        FFolder = folder;
        for (int i = 0; i < FileCount; ++i) {
            FFiles.push_back(folder + "/" + std::to_string(i) + ".VM2");
            std::ofstream(FFiles.back(), std::ios::binary) << ModelText(i);
        }
    }
    ~TModelFolder() {
        if (!FFolder.empty()) {
            std::filesystem::remove_all(FFolder);
        }
    }
    TModelFolder(const TModelFolder&) = delete;
    TModelFolder& operator=(const TModelFolder&) = delete;

    const std::vector<std::string>& Files() const { return FFiles; }

private:
    std::string FFolder;
    std::vector<std::string> FFiles;
};

// One vesk-calc process over all the model files, its output to /dev/null.
void BM_VeskCalcManyFiles(benchmark::State& state) {
    static const TModelFolder folder;
    std::vector<std::string> arguments = {ProgramDir() + "vesk-calc"};
    arguments.insert(arguments.end(), folder.Files().begin(), folder.Files().end());
    if (folder.Files().empty() || RunQuiet(arguments) != 0) {
        state.SkipWithError("vesk-calc failed on the model files");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunQuiet(arguments));
    }
    state.counters["files"] =
        benchmark::Counter(FileCount, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_VeskCalcManyFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
