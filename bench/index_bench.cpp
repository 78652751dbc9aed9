// Drawing cost of the thumbnail grid: a full repaint of one page of 4 x 3 pictures at R = 5,
// each with a dozen stones and a last-move square, at the ordinary and at double density.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "index/go_index.h"

namespace zendra::bench {
namespace {

std::unique_ptr<TGoIndex> MakeGrid(qreal ratio) {
  auto grid = std::make_unique<TGoIndex>();
  grid->SetCanvasPixelRatio(ratio);
  grid->resize(4 * grid->BoardWidth(), 3 * grid->BoardHeight());
  std::vector<std::string> games;
  for (int k = 0; k < 60; ++k) {
    char head[8];
    std::snprintf(head, sizeof head, "%04X%c", k, k % 3 == 0 ? '1' : '0');
    games.push_back(std::string(head) + " 1 CCDCECBDBEBF DDEDFDCECFCG FBGB B");
  }
  grid->SetGames(games);
  grid->SetSelected(5);
  grid->SetHot(2);
  grid->Canvas();
  return grid;
}

void BM_GridPage(benchmark::State& state) {
  auto grid = MakeGrid(static_cast<qreal>(state.range(0)));
  for (auto _ : state) {
    grid->Paint();
    benchmark::DoNotOptimize(grid->Canvas().constBits());
  }
  state.SetLabel("12 pictures, device pixel ratio " + std::to_string(state.range(0)));
}
BENCHMARK(BM_GridPage)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zendra::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
