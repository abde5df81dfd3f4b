#include "exchange/ModelFile.h"

#include "model/UVesk.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// One model file loaded per iteration, as the command-line tool loads a folder of them.
static void BM_LoadModel(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "vesk_bench_XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string path = folder + "/vaca.VM2";
    TVeskDairy model;
    model.Peso = 612.7f;
    model.Grasa = 3.2f;
    SaveModel(path, model, '.');
    for (auto _ : state) {
        LoadModel(path, model, '.');
        benchmark::DoNotOptimize(model.Peso);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadModel);

BENCHMARK_MAIN();
