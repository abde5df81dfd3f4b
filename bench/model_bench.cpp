#include "model/UVesk.h"

#include <benchmark/benchmark.h>

namespace {

// The worked example animals of each state, with a typical offered intake.
TVeskDairy Animal(int tipo) {
    TVeskDairy model;
    model.Tipo = static_cast<uint8_t>(tipo);
    model.Consumo = 10;
    model.Peso = tipo == 2 ? 350 : 450;
    model.Leche = 10;
    model.Grasa = 3.5f;
    model.Proteina = 3.2f;
    model.DIM = 60;
    model.Temperatura = 20;
    model.Lactacion = 1;
    model.Freshenning = 10;
    model.ADG = 0.8f;
    model.GDP = 0.8f;
    return model;
}

void BM_Calculate(benchmark::State& state) {
    TVeskDairy model = Animal(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        model.Calculate();
        benchmark::DoNotOptimize(model);
    }
}

void BM_EstimateIntake(benchmark::State& state) {
    TVeskDairy model = Animal(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        model.EstimateIntake();
        benchmark::DoNotOptimize(model.ConsumoEstimado);
    }
}

// Medians over repetitions, as the other programs on the machine make single runs noisy.
BENCHMARK(BM_Calculate)->ArgName("Tipo")->DenseRange(0, 2)->Repetitions(10)->ReportAggregatesOnly();
BENCHMARK(BM_EstimateIntake)
    ->ArgName("Tipo")
    ->DenseRange(0, 2)
    ->Repetitions(10)
    ->ReportAggregatesOnly();

} // namespace

BENCHMARK_MAIN();
