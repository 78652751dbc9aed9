// Opening the statistics window on a large history (bench/large_history.h): the numbers
// computed from the problem and history tables and the attempts, the window with its table and
// three charts built, shown and painted, as the Statistics command does it (closing it again is
// not timed). The first opening also loads the window's module and Qt Charts: the load and the
// first window are each measured once, on their own, before the openings that find everything
// loaded. Wall-clock time; the CPU column of a manual-time benchmark covers the whole run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <chrono>

#include "app/statistics_window.h"
#include "bench/large_history.h"

namespace zendra::bench {
namespace {

// Computes the content, opens the window and paints it at once; the window is returned open.
QWidget* OpenStatistics(StatisticsWindowFactory make) {
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
  return window;
}

// Closes the window (deleted on close); not part of the opening.
void Close(QWidget* window) {
  window->close();
  QApplication::processEvents();
}

// The wall-clock time of opening the window with `make`, the closing left out.
double TimedOpening(StatisticsWindowFactory make) {
  const auto start = std::chrono::steady_clock::now();
  QWidget* window = OpenStatistics(make);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  Close(window);
  return seconds;
}

StatisticsWindowFactory Factory(benchmark::State& state) {
  QString error;
  const StatisticsWindowFactory make =
      LoadStatisticsWindow(QStringLiteral(ZENDRA_STATISTICS_MODULE_PATH), &error);
  if (!make) state.SkipWithError(error.toStdString().c_str());
  return make;
}

// The module with Qt Charts loaded and its factory found.
void BM_LoadStatisticsModule(benchmark::State& state) {
  Large();  // the made-up history is not part of it
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!Factory(state)) return;
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_LoadStatisticsModule)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The first window, the module loaded: Qt Charts' first chart, its fonts and styles.
void BM_FirstStatisticsWindow(benchmark::State& state) {
  Large();
  const StatisticsWindowFactory make = Factory(state);
  if (!make) return;
  for (auto _ : state) state.SetIterationTime(TimedOpening(make));
}
BENCHMARK(BM_FirstStatisticsWindow)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OpenStatisticsWindow(benchmark::State& state) {
  const StatisticsWindowFactory make = Factory(state);
  if (!make) return;
  for (auto _ : state) state.SetIterationTime(TimedOpening(make));
}
BENCHMARK(BM_OpenStatisticsWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

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
