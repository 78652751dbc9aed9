// Opening the statistics window on a large history (bench/large_history.h): the numbers
// computed from the problem and history tables and the attempts, the window with its table and
// three charts built, shown and painted, as the Statistics command does it. The first opening
// also loads the window's module and Qt Charts: the load and the first window are each measured
// once, on their own, before the openings that find everything loaded.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
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

// Runs `work` once and reports its wall-clock time.
template <typename Work>
void Once(benchmark::State& state, Work work) {
  Large();  // the made-up history is not part of it
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!work()) return;
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}

// The module with Qt Charts loaded and its factory found.
void BM_LoadStatisticsModule(benchmark::State& state) {
  Once(state, [&state] { return Factory(state) != nullptr; });
}
BENCHMARK(BM_LoadStatisticsModule)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The first window, the module loaded: Qt Charts' first chart, its fonts and styles.
void BM_FirstStatisticsWindow(benchmark::State& state) {
  Once(state, [&state] {
    const StatisticsWindowFactory make = Factory(state);
    if (make) OpenStatistics(make);
    return make != nullptr;
  });
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
  // The program's main window stands when Statistics is chosen: the fonts and the style are
  // ready. A window with text stands in for it.
  QLabel main("Zendra");
  main.show();
  main.repaint();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
