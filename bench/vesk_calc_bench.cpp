#include "bench_support.h"
#include "platform/program_file.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int FileCount = 10000;

// The model file of animal i.
std::string ModelText(int i) {
    const TVeskDairy animal = VariedAnimal(i);
    std::string text = "[Data]\r\n";
    for (const TModelKey& key : ModelKeys) {
        text += std::string(key.Name) + "=" + ModelKeyText(key, animal, '.') + "\r\n";
    }
    return text;
}

// The model files in a temporary folder, written once for every repetition and removed at exit.
class TModelFolder {
public:
    TModelFolder() {
        if (FFolder.Path().empty()) {
            return;
        }
        for (int i = 0; i < FileCount; ++i) {
            FFiles.push_back(FFolder.Path() + "/" + std::to_string(i) + ".VM2");
            std::ofstream(FFiles.back(), std::ios::binary) << ModelText(i);
        }
    }

    const std::vector<std::string>& Files() const { return FFiles; }

private:
    TBenchFolder FFolder{"vesk_calc"};
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
