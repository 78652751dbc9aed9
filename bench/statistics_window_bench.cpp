// Opening the statistics window on a large history (bench/large_history.h): the numbers
// computed from the problem and history tables and the attempts, the window with its table and
// three charts built, shown and painted, as the Statistics command does it. The first opening
// also loads the window's module and Qt Charts; it is measured once, on its own, before the
// openings that find them loaded.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <chrono>

#include "app/statistics_window.h"
#include "bench/large_history.h"

namespace zendra::bench {
namespace {

// Computes the content, opens the window, paints it at once and closes it again.
void OpenStatistics(StatisticsWindowFactory make) {
  LargeHistory& l = Large();
  StatisticsContent content;
  content.today = l.today;
  const std::vector<PoolProblem> pool = PoolOf(l.problems, l.history.Table());
  content.numbers = ComputeStatistics(pool, {{&l.attempts, &l.schedule}}, l.today);
  for (const CollectionStatistics& c : content.numbers.collections)
    content.collectionNames << QString("Collection %1").arg(c.group);
  QWidget* window = make(content, nullptr);
  window->show();
  window->repaint();  // paints the window and its charts now
  QApplication::processEvents();
  window->close();  // deleted on close
  QApplication::processEvents();
}

StatisticsWindowFactory Factory(benchmark::State& state) {
  QString error;
  const StatisticsWindowFactory make =
      LoadStatisticsWindow(QStringLiteral(ZENDRA_STATISTICS_MODULE_PATH), &error);
  if (!make) state.SkipWithError(error.toStdString().c_str());
  return make;
}

void BM_FirstStatisticsWindow(benchmark::State& state) {
  Large();  // the made-up history is not part of it
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const StatisticsWindowFactory make = Factory(state);
    if (!make) return;
    OpenStatistics(make);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_FirstStatisticsWindow)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OpenStatisticsWindow(benchmark::State& state) {
  const StatisticsWindowFactory make = Factory(state);
  if (!make) return;
  for (auto _ : state) OpenStatistics(make);
}
BENCHMARK(BM_OpenStatisticsWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zendra::bench

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
