#include "ui/TNumericEdit.h"
#include "ui/TfrmVeskIn.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

namespace {

// One key into the weight input of the real window, alternately Backspace and "0", so the
// weight goes between 450 and 45 and every key re-estimates the intake and recolours the offer.
void BM_Keystroke(benchmark::State& state) {
    TfrmVeskIn window;
    window.show();
    auto* peso = window.findChild<TNumericEdit*>(QStringLiteral("ilPeso"));
    auto* estimate = window.findChild<QLabel*>(QStringLiteral("ilEst"));
    if (!peso || !estimate) {
        state.SkipWithError("no weight input or estimate label");
        return;
    }
    peso->SetValue(450);
    QTest::keyClick(peso, Qt::Key_End);
    const QString before = estimate->text();
    QTest::keyClick(peso, Qt::Key_Backspace);
    const QString after = estimate->text();
    QTest::keyClick(peso, Qt::Key_0);
    if (before == after || estimate->text() != before) {
        state.SkipWithError("the keys do not change the estimate");
        return;
    }
    bool erase = true;
    for (auto _ : state) {
        QTest::keyClick(peso, erase ? Qt::Key_Backspace : Qt::Key_0);
        erase = !erase;
    }
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
