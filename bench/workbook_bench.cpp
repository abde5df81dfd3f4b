#include "platform/workbook.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <string>

namespace {

// A herd-like sheet: two integer columns, sixteen limits, two texts.
TWorkbookSheet HerdSheet() {
    TWorkbookSheet sheet{"Lote", {{"Fila", ""}, {"Tipo", ""}}, 0};
    for (int i = 0; i < 16; ++i)
        sheet.Columns.push_back({"Límite " + std::to_string(i), "0.0000"});
    sheet.Columns.push_back({"Aviso", ""});
    sheet.Columns.push_back({"Error", ""});
    return sheet;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

// Rows per second through the writer, file closed and renamed, and the process's peak memory
// afterwards: it stays flat as the rows grow, since no row is kept.
void WriteRows(benchmark::State& state) {
    const auto rows = state.range(0);
    const std::string path =
        (std::filesystem::temp_directory_path() / "workbook_bench.xlsx").string();
    const TWorkbookSheet sheet = HerdSheet();
    std::vector<TWorkbookCell> row(sheet.Columns.size());
    for (auto _ : state) {
        TWorkbookWriter writer(path, sheet);
        for (std::int64_t i = 0; i < rows; ++i) {
            row[0] = i + 1;
            row[1] = i % 3;
            for (int limit = 0; limit < 16; ++limit)
                row[2 + limit] = double((i * 7 + limit * 13) % 100000) / 10000;
            row[18] = i % 10 ? TWorkbookCell() : TWorkbookCell(std::string("Consumo ofrecido"));
            writer.AddRow(row);
        }
        writer.Commit();
    }
    std::filesystem::remove(path);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = PeakMegabytes();
}

BENCHMARK(WriteRows)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
