// The program: one instance per user, the main window on the problems beside the program (or
// in its share folder), the message loop.
#pragma once

#include <QString>

namespace zendra {

// Runs the program; returns its exit code. A second start while one runs returns 0 at once,
// without a window.
int RunZendra(int argc, char** argv);

}  // namespace zendra
