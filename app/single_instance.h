// One copy of the program per user. The copy that runs holds the lock file "VexLattixZendra"
// (QLockFile) in the runtime folder, or, when no lock can be made there, in the next folder
// given (the data folder); it listens beside the lock for later starts, which ask it to come to
// the front and end. A lock that is not a running copy's is stale and taken over: its process
// is gone or is another program, or it is empty, garbage or a folder.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLockFile;
class QWidget;

namespace zendra {

class InstanceChannel;

class SingleInstance {
 public:
  enum class Outcome {
    kFirst,      // this process holds the lock: it runs, and listens for later starts
    kOtherRuns,  // a running copy holds it: ask it to come to the front, then end
    kNoLock,     // no lock could be made in any folder (Reason() says why): whether another
                 // copy runs cannot be known
  };

  // The lock may live in `folders`, tried in order. The channel comes from the instance module
  // `moduleFile`, loaded when first needed.
  explicit SingleInstance(QStringList folders, QString moduleFile = DefaultModuleFile());
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Takes the lock, taking over a stale one. Quick: nothing but the lock file is touched.
  Outcome Acquire();

  // After kFirst: listens for later starts (loading the instance module); `raise` runs on the
  // window thread for each, with the files that start was given (absolute paths). Call once
  // the window is up. False with `error` when it cannot.
  bool Listen(std::function<void(const QStringList& files)> raise, QString* error);
  // After kOtherRuns: asks the running copy to come to the front and take `files` (made
  // absolute here), trying for up to `timeoutMs` (a copy just started listens only once its
  // window is up). False with a text for the user saying why this start ends all the same.
  bool AskToRaise(int timeoutMs, QString* why, const QStringList& files = {});

  // The lock file held or found (after Acquire).
  QString LockPath() const { return lockPath_; }
  // The process holding the lock, after kOtherRuns.
  qint64 OtherPid() const { return otherPid_; }
  // Why no lock could be made, after kNoLock.
  QString Reason() const { return reason_; }

  // The instance module beside the program, else in the install's library folder.
  static QString DefaultModuleFile();

 private:
  bool TryFolder(const QString& folder);
  InstanceChannel* Channel(QString* error);

  QStringList folders_;
  QString moduleFile_;
  std::unique_ptr<QLockFile> lock_;
  QString lockPath_;
  qint64 otherPid_ = 0;
  QString reason_;
  std::unique_ptr<InstanceChannel> channel_;
};

// Brings `window` to the front: shown, not minimised, raised and active.
void BringToFront(QWidget* window);

}  // namespace zendra
