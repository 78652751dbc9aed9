// Responsiveness of the main window: the time from a left click on the board at the correct
// first move to the computer's reply standing in the game model, drawn on the board's canvas and
// painted in the window. The window is the real one (offscreen platform) with its real sound
// player, on a small data file written here; settings and history go to a temporary folder.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "solving/solving_controller.h"
#include "solving/tree/solution_tree.h"
#include "sound/sound_player.h"
#include "tests/library/library_test_util.h"

namespace zendra::bench {
namespace {

// Black D4 (the user) is answered by white E4 (the computer); black D5 would then win.
constexpr int kUserP = 4, kUserQ = 4;
constexpr int kReplyP = 5, kReplyQ = 4;

void WriteDataFile(const std::string& path) {
  SolutionTree tree;
  const NodeId root = tree.Add(kNoNode, "");
  const NodeId user = tree.Add(root, "DD");
  tree.Add(tree.Add(tree.Add(user, "ED"), "DE"), "EE 11");
  test::ProblemRow row;
  row.auto1 = 1;
  row.group = 2;
  row.level = 30;
  row.num = 1;
  row.black = "CCECCE";
  row.white = "FCFDFEEFDF";
  row.first.assign(1, 'B');  // (a literal here trips a false -Wrestrict of GCC 12 at -O3)
  row.result2 = 1;
  row.solution = tree.Save();
  test::WriteFile(path, test::ZipWith("Zendra.cds", test::ProblemImage({row})));
}

// Counts the board's paint events.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// The main window on the problem page of the one problem, as a player has it after a click on
// the thumbnail.
struct Window {
  explicit Window(const QString& dir) {
    WriteDataFile(QDir(dir).filePath("Zendra.dgo").toStdString());
    MainFormPaths paths;
    paths.dataFile = QDir(dir).filePath("Zendra.dgo").toStdString();
    paths.historyFile = QDir(dir).filePath("History1.cds").toStdString();
    paths.programDir = dir;
    form = std::make_unique<TLattixMainForm>(paths, sounds);
    form->show();
    form->FirstActivation();
    form->activateWindow();
    exposed = QTest::qWaitForWindowExposed(form.get());
    form->SolveIt();
    QApplication::processEvents();
    form->Board()->installEventFilter(&counter);
  }
  ~Window() {
    form->Board()->removeEventFilter(&counter);
    form.reset();
  }
  // The colour on the board's canvas just left of the reply point's last-move square: inside the
  // stone, or on the grid line while the point is empty.
  QRgb ReplyPixel() const {
    TLattix* board = form->Board();
    const QImage& canvas = board->Canvas();
    const qreal r = canvas.devicePixelRatio();
    const int off = board->DotSize() + 1;
    return canvas.pixel(static_cast<int>((board->PointX(kReplyP) - off) * r),
                        static_cast<int>(board->PointY(kReplyQ) * r));
  }

  SoundPlayer sounds{QStringLiteral(ZENDRA_SOUND_MODULE_PATH)};  // the module beside the program
  std::unique_ptr<TLattixMainForm> form;
  PaintCounter counter;
  bool exposed = false;
};

// Argument 0: sounds on (the player's default); 1: "&Silent" on.
void BM_ClickToReplyPainted(benchmark::State& state) {
  QTemporaryDir dir;
  Window w(dir.path());
  if (!w.exposed || !w.form->ProblemPageShowing()) {
    state.SkipWithError("the window did not show the problem");
    return;
  }
  if (state.range(0) == 1) w.form->ToggleSilent();
  TLattix* board = w.form->Board();
  const QPoint click(board->PointX(kUserP), board->PointY(kUserQ));
  const QRgb empty = w.ReplyPixel();
  int runs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.form->Controller().SolveAgain();
    QApplication::processEvents();
    w.counter.paints = 0;
    state.ResumeTiming();
    QTest::mouseClick(board, Qt::LeftButton, {}, click);
    // The controller answers inside the click and lets the window paint before it returns;
    // anything still queued is painted here.
    if (w.counter.paints == 0) QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    state.PauseTiming();
    if (board->GetPoint(kReplyP, kReplyQ) != kWhite || w.counter.paints == 0 ||
        qGray(w.ReplyPixel()) < 200 || w.ReplyPixel() == empty) {
      state.SkipWithError("the reply was not played and painted");
      break;
    }
    ++runs;
    state.ResumeTiming();
  }
  state.SetLabel(state.range(0) == 1 ? "silent" : "sounds on");
  state.counters["replies"] = runs;
}
BENCHMARK(BM_ClickToReplyPainted)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zendra::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Settings and history of this run stay in a folder of their own.
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath("config").toUtf8());
  qputenv("XDG_DATA_HOME", QDir(home.path()).filePath("data").toUtf8());
  QApplication app(argc, argv);
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
