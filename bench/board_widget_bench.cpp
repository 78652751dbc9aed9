// Drawing cost of the board control at R = 19: a full repaint of the canvas against the redraw
// work of one capturing move (the engine's move plus its single-point redraws). The move should
// cost a small fraction of the repaint; compare the two times.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "bench/random_playout.h"
#include "board/widget/lattix.h"

namespace zendra::bench {
namespace {

// Black surrounds white's K10 on three sides; black's K9 (10, 11) then takes it.
constexpr const char* kBeforeCapture = "JIJJIJAAKJAB";

std::unique_ptr<TLattix> MakeBoard() {
  auto board = std::make_unique<TLattix>();
  board->SetCoordinate(20);
  board->SetRadius(19);
  board->resize(board->BoardWidth() + board->DisplayWidth(), board->BoardHeight());
  return board;
}

void BM_FullRepaint(benchmark::State& state) {
  auto board = MakeBoard();
  board->SetProcess(MakeGame(20240611, 200));
  board->Canvas();
  for (auto _ : state) {
    board->Paint();
    benchmark::DoNotOptimize(board->Canvas().constBits());
  }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_CapturingMove(benchmark::State& state) {
  auto board = MakeBoard();
  board->Canvas();
  for (auto _ : state) {
    state.PauseTiming();
    board->SetProcess(kBeforeCapture);
    board->Canvas();  // any full repaint the set-up asked for happens here, untimed
    state.ResumeTiming();
    const bool played = board->PlayGoMove(10, 11, true);
    benchmark::DoNotOptimize(played);
  }
  if (board->GetPoint(10, 10) != 0) state.SkipWithError("the move captured nothing");
}
BENCHMARK(BM_CapturingMove)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zendra::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
