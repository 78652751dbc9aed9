// A problem of a data file played headless through the real solving controller: each step is a
// user move or a solving command, and each step reports what the player would see and hear.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "problem_import/problem_data.h"

namespace zendra {

// What one step showed.
struct PlayStepReport {
  std::string step;
  bool accepted = true;
  std::string error;                  // why the step was refused (illegal move, unknown step)
  std::string reply;                  // the computer's reply to a user move, point letters
  std::string moves;                  // the moves on the board after the initial ones, "CC DD"
  std::string labelResult;            // LabelResult after the step
  std::string labelStdResult;         // LabelStdResult after the step
  std::vector<std::string> messages;  // every LabelStdResult text written during the step
  std::string statusRight;            // the right status panel
  std::vector<int> sounds;            // numbered sounds in order
  int beeps = 0;
  bool retryPending = false;  // Next variation or retry is enabled
  std::string alternative;    // the pending alternative reply, empty when none
  bool solved = false;        // the step counted the problem as solved
  bool failure = false;       // the step counted a failure
  std::vector<int> tips;      // tip windows shown
  std::string greenDots;      // hint dots, point letters
  std::string yellowDots;
};

class PlaySession {
 public:
  // Opens `problem` as the window does; `remarks` is the shared remark list for the node
  // comments (the problem's own list, when it has one, comes first).
  PlaySession(const DataProblem& problem, std::vector<std::string> remarks);
  ~PlaySession();
  PlaySession(const PlaySession&) = delete;
  PlaySession& operator=(const PlaySession&) = delete;

  // Runs one step: point letters ("CC"), a board coordinate ("C17", column letters without I,
  // rows counted from the bottom), or one of again, back, next, result, hint. A move the board
  // refuses, or made when the user is not to move, is refused without judging.
  PlayStepReport Step(const std::string& step);
  // The board as a diagram: 'X' black, 'O' white, '.' empty, with coordinates.
  std::string Diagram() const;
  // True when no stone stands on (p, q) of the board.
  bool IsEmpty(int p, int q) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Parses a user move: "CC" (point letters) or "C17"; false for anything else or a point off
// the 19 x 19 board.
bool ParseMoveStep(const std::string& step, int* p, int* q);

// A diagram of the board position of any engine.
std::string BoardDiagram(const class LattixEngine& board);

}  // namespace zendra
