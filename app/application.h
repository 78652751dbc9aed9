// The program: one instance per user, the main window on the problems beside the program (or
// in its share folder), the message loop.
#pragma once

#include <QString>

namespace zendra {

// Runs the program; returns its exit code. A second start while one runs asks it to come to the
// front and returns 0 without a window of its own; when the running copy does not answer, it
// says so and returns 1.
int RunZendra(int argc, char** argv);

}  // namespace zendra
