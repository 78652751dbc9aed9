// libFuzzer target: arbitrary bytes as a problem's solution stream. The stream is loaded, every
// node is queried, the tree is written back and reloaded, and a few moves are judged on it by
// the solving controller over the real board.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "board/engine/lattix_engine.h"
#include "solving/headless_ports.h"
#include "solving/solving_controller.h"
#include "solving/tree/solution_tree.h"

namespace {

using zendra::kNoNode;
using zendra::NodeId;
using zendra::SolutionTree;

void Check(bool ok) {
  if (!ok) std::abort();
}

// Every reading is 7 ms later than the one before, so the 30 s bound is deterministic.
class SteppingClock : public zendra::MillisecondClock {
 public:
  int64_t NowMs() override { return now_ += 7; }

 private:
  int64_t now_ = 0;
};

// Plays up to 48 actions chosen by the last bytes of the input: moves on the points of the
// current node's children (or anywhere), and the solving commands.
void JudgeSomeMoves(std::string_view bytes) {
  zendra::LattixEngine board;
  zendra::NullUi ui;
  zendra::SilentSounds sounds;
  zendra::NullHistory history;
  zendra::ProblemRecord record;
  record.number = 1;
  record.firstToPlay = "B";
  record.result2 = 1;
  record.solution = std::string(bytes);
  zendra::OneProblemSource problems(record);
  zendra::ManualTimer timer1, timer2;
  SteppingClock clock;
  zendra::SolvingController controller(board, ui, sounds, history, problems, timer1, timer2, clock);
  controller.OpenProblem(0);
  const std::string_view actions = bytes.substr(bytes.size() > 48 ? bytes.size() - 48 : 0);
  const SolutionTree& tree = controller.Tree();
  for (std::size_t i = 0; i < actions.size(); ++i) {
    const auto a = static_cast<unsigned char>(actions[i]);
    switch (a % 8) {
      case 0:
        controller.Back();
        break;
      case 1:
        controller.NextVariationOrRetry();
        break;
      case 2:
        controller.Hint();
        break;
      case 3:
        controller.miComputerdonotplaybadmove1Click();
        break;
      case 4:
        controller.SolveAgain();
        break;
      default: {
        // A child's point when there is one, else a point from the byte itself.
        NodeId child = tree.FirstChild(tree.Current());
        for (int k = a / 8 % 4; k > 0 && tree.NextSibling(child) != kNoNode; --k) {
          child = tree.NextSibling(child);
        }
        int p = 1 + a % 19;
        int q = 1 + a / 19 % 19;
        const std::string_view point = tree.NodePoint(child);
        if (point.size() == 2 &&
            board.IsOnBoard(board.LetterToCoord(point[0]), board.LetterToCoord(point[1]))) {
          p = board.LetterToCoord(point[0]);
          q = board.LetterToCoord(point[1]);
        }
        if (board.PlayMove(p, q, true)) controller.Lattix1LegalMove(p, q);
      }
    }
    Check(tree.Current() == kNoNode || tree.Valid(tree.Current()));
  }
}

void QueryEverything(const SolutionTree& tree) {
  const zendra::Localizer english;
  const zendra::Localizer chinese{zendra::Language::kSimplifiedChinese, {}};
  const std::vector<std::string> remarks = {"r0", "r1", "r2"};
  std::size_t visited = 0;
  for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.Successor(id)) {
    ++visited;
    Check(visited <= tree.Size());
    const std::string code = tree.NodeCode(id);
    Check(code.size() == 2);
    Check(tree.NodePoint(id).size() <= 2);
    (void)zendra::ResultText(code, english);
    (void)zendra::ResultText(code, chinese);
    (void)tree.NodeComment(id, english, remarks);
    (void)tree.NodeComment(id, chinese, remarks);
    (void)tree.IsBarredFromReply(id, 29);
    const bool clean = tree.HasCleanSuccess(id);
    if (tree.Level(id) < 4) {  // the literal walk is quadratic; keep it to shallow nodes
      (void)tree.IsTainted(id, 0);
      (void)clean;
    }
    const NodeId parent = tree.Parent(id);
    Check(parent == kNoNode ? tree.Level(id) == 0 : tree.Level(id) == tree.Level(parent) + 1);
  }
  Check(visited == tree.Size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  SolutionTree tree;
  const SolutionTree::LoadResult result = tree.LoadSolution(bytes);
  QueryEverything(tree);

  // What was read is written and read back identically.
  const std::string saved = tree.Save();
  SolutionTree again;
  const SolutionTree::LoadResult second = again.LoadSolution(saved);
  if (tree.Empty()) {
    Check(again.Empty());
  } else {
    Check(second == SolutionTree::LoadResult::kLoaded || saved.size() <= 32);
    if (second == SolutionTree::LoadResult::kLoaded) Check(again.Save() == saved);
  }
  (void)result;

  // Judge a handful of moves, taken from the stream's own bytes, on the loaded tree.
  JudgeSomeMoves(bytes);
  return 0;
}
