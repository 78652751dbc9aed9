// The end of the run when the system asks for it: SIGTERM (logout, shutdown, kill), SIGINT
// (Ctrl+C in a terminal) and SIGHUP (the terminal went away) close the program as File -> Exit
// does, with the settings and the history saved, instead of ending it on the spot.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zendra {

class SessionEnd : public QObject {
  Q_OBJECT

 public:
  // Catches the three signals from now on; `close` runs on the window thread, in the event
  // loop, for each one that arrives. One object at a time; the old handlers come back when it
  // goes.
  explicit SessionEnd(std::function<void()> close, QObject* parent = nullptr);
  ~SessionEnd() override;

 private:
  std::function<void()> close_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zendra
