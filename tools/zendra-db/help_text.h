// The text of `zendra-db --help`: every command, option and step.
#pragma once

namespace zendra {

inline constexpr char kZendraDbHelp[] =
    R"(zendra-db: builds, inspects, checks and plays Zendra problem data files.

usage:
  zendra-db build SRC... -o FILE.dgo [--group G] [--level L] [--remarks FILE]
                  [--strict] [--collections-only] [--shared-remarks] [--json]
  zendra-db list FILE [--group G] [--json]
  zendra-db show FILE NUMBER [--remarks FILE] [--json]
  zendra-db check FILE [--json]
  zendra-db play FILE NUMBER STEP... [--remarks FILE] [--board] [--json]
  zendra-db verify FILE [--seconds S] [--json]
  zendra-db --help

commands:
  build   Imports SGF files and folders into a new data file. A folder holding
          manifest.txt is one collection; any other folder gives its .sgf files
          (in name order) and is searched for subfolders. A problem that cannot be
          imported, or that fails check, is skipped with one line
          "file:line:column: refused: reason"; the summary counts imported problems
          and refusals by reason. The node comments become the remark list.
  list    Prints the problem-list entries of FILE.
  show    Prints problem NUMBER: the position after set-up, the first player, the
          result, the level and the solution tree with each node's texts and remark.
  check   Verifies every problem of FILE (the tree loads, set-up and moves are legal,
          a clean success exists, result words agree); exit status 1 when one fails.
  play    Opens problem NUMBER in the solving controller and plays the STEPs,
          printing the computer's reply, the result texts and sounds after each.
  verify  Solves every problem of FILE with the life-and-death solver (one second
          each, or S, shared by all positions of its tree) and lists where its
          answer tree disagrees, with the line of moves up to the move in question:
          at the start and after each of the computer's replies, a correct move that
          fails, a wrong move that works, a correct move missing from the tree (below
          the first move only where the tree's correct moves there all fail), a
          refutation after which the user still succeeds; a ko answer that works
          without a ko; and the problems it could not decide (not enclosed, no
          answer, beyond the budget). Prints the counts of problems, decided
          problems and disagreements; exit status 1 when there is a disagreement.

options:
  -o, --output FILE    the data file that build writes
  --group G            build: the collection number of problems outside a manifest
                       (0 Basic, 1 Beginner, 2 Intermediate, 3 Advanced);
                       list: only the problems of collection G
  --level L            build: the level of problems without one (default 20;
                       below 40 is 40 - L kyu, from 40 on L - 39 dan)
  --remarks FILE       the remark list to write (build) or read (show, play);
                       default Remark.txt beside the data file
  --strict             build: any refused problem, or a remark left out, is an error
  --collections-only   build: keep to folders holding manifest.txt
  --shared-remarks     build: every remark in the one shared list (Remark.txt), the
                       classic form; more than 255 remarks in all is an error
  --board              play: print the board diagram after each step
  --seconds S          verify: the time for one problem, all its positions
                       (default 1)
  --json               machine-readable output (every command)
  -h, --help           this text

steps (play):
  CC                   a move in point letters, column then row, A = 1 at the
                       left and at the top; TT is a pass
  C17                  a move in board coordinates (rows counted from the bottom,
                       no column I)
  again, back, next, result, hint

exit status:
  0 success; 1 the command failed (a file unreadable, a problem refused with
  --strict, a check failed, a step refused, a disagreement found); 2 wrong usage.
)";

}  // namespace zendra
