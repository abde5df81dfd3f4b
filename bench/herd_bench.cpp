#include "bench_support.h"
#include "platform/program_file.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int RowCount = 1000000;

// A herd table of RowCount varied animals with their names, written once for every repetition.
class THerdFile {
public:
    THerdFile() {
        if (FFolder.Path().empty()) {
            return;
        }
        std::ofstream file(FFolder.Path() + "/lote.csv", std::ios::binary);
        std::string text = "Nombre";
        for (const TModelKey& key : ModelKeys) {
            text += ",";
            text += key.Name;
        }
        text += "\n";
        for (int i = 0; i < RowCount; ++i) {
            const TVeskDairy animal = VariedAnimal(i);
            text += "Vaca " + std::to_string(i);
            for (const TModelKey& key : ModelKeys) {
                text += ",";
                text += ModelKeyText(key, animal, '.');
            }
            text += "\n";
            if (text.size() > (1 << 20)) {
                file << text;
                text.clear();
            }
        }
        file << text;
        if (file.flush()) {
            FPath = FFolder.Path() + "/lote.csv";
        }
    }

    // Empty when the file could not be written.
    const std::string& Path() const { return FPath; }

private:
    TBenchFolder FFolder{"herd"};
    std::string FPath;
};

// One vesk-calc process over the whole herd, its limits table to /dev/null.
void BM_VeskCalcHerd(benchmark::State& state) {
    static const THerdFile herd;
    const std::vector<std::string> arguments = {ProgramDir() + "vesk-calc", "--herd", herd.Path()};
    long peak = 0;
    if (herd.Path().empty() || RunQuiet(arguments) != 0) {
        state.SkipWithError("vesk-calc failed on the herd");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunQuiet(arguments, &peak));
    }
    state.counters["rows"] =
        benchmark::Counter(RowCount, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_MB"] = double(peak) / 1024;
}
BENCHMARK(BM_VeskCalcHerd)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
