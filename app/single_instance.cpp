#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLockFile>
#include <QThread>
#include <QWidget>

#include "app/instance_channel.h"

namespace zendra {
namespace {

constexpr char kLockName[] = "VexLattixZendra";

// The local socket beside the lock.
QString SocketPath(const QString& lockPath) { return lockPath + ".socket"; }

}  // namespace

SingleInstance::SingleInstance(QStringList folders, QString moduleFile)
    : folders_(std::move(folders)), moduleFile_(std::move(moduleFile)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultModuleFile() {
  // Beside the program in the build folder; in the library folder of the install prefix.
  const QDir programDir(QCoreApplication::applicationDirPath());
  const QString beside = programDir.filePath(QStringLiteral(ZENDRA_INSTANCE_MODULE_FILE));
  if (QFileInfo::exists(beside)) return beside;
  const QString installed = QDir::cleanPath(programDir.filePath(
      QStringLiteral(ZENDRA_INSTANCE_MODULE_INSTALL_DIR "/" ZENDRA_INSTANCE_MODULE_FILE)));
  return QFileInfo::exists(installed) ? installed : beside;
}

SingleInstance::Outcome SingleInstance::Acquire() {
  QStringList reasons;
  for (const QString& folder : folders_) {
    if (folder.isEmpty()) continue;
    reason_.clear();
    if (TryFolder(folder)) return Outcome::kFirst;
    if (otherPid_ != 0) return Outcome::kOtherRuns;
    reasons << reason_;
  }
  reason_ = reasons.isEmpty() ? QStringLiteral("no folder for the lock file")
                              : reasons.join(QStringLiteral("; "));
  return Outcome::kNoLock;
}

bool SingleInstance::TryFolder(const QString& folder) {
  const QString path = QDir(folder).filePath(kLockName);
  lockPath_ = path;
  // A folder where the lock belongs: nothing holds it, it only stands in the way.
  if (QFileInfo(path).isDir() && !QDir().rmdir(path)) {
    QString aside = path + QStringLiteral(".not-a-lock");
    for (int n = 2; QFileInfo::exists(aside) && n < 100; ++n)
      aside = path + QStringLiteral(".not-a-lock-%1").arg(n);
    if (!QDir().rename(path, aside)) {
      reason_ = QStringLiteral("\"%1\" is a folder that cannot be moved aside").arg(path);
      return false;
    }
  }
  auto lock = std::make_unique<QLockFile>(path);
  // Staleness is judged by the holder, never by age: a copy may run for days.
  lock->setStaleLockTime(0);
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (lock->tryLock(0)) {
      lock_ = std::move(lock);
      return true;
    }
    if (lock->error() != QLockFile::LockFailedError) {
      reason_ = QStringLiteral("the lock file \"%1\" cannot be made").arg(path);
      return false;
    }
    // A lock Qt did not judge stale: a running copy's, or one it cannot read (empty, garbage).
    // An unreadable one may be a lock being written this instant: look again shortly before
    // taking it over.
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock->getLockInfo(&pid, &host, &app) && pid > 0) {
      otherPid_ = pid;
      return false;
    }
    if (attempt == 0) {
      QThread::msleep(50);
      continue;
    }
    lock->removeStaleLockFile();
  }
  reason_ = QStringLiteral("the lock file \"%1\" cannot be taken over").arg(path);
  return false;
}

InstanceChannel* SingleInstance::Channel(QString* error) {
  if (channel_) return channel_.get();
  QLibrary module(moduleFile_);
  const auto make =
      reinterpret_cast<InstanceChannelFactory>(module.resolve(kInstanceChannelFactory));
  if (!make) {
    if (error) *error = module.errorString();
    return nullptr;
  }
  channel_.reset(make());
  return channel_.get();
}

bool SingleInstance::Listen(std::function<void(const QStringList&)> raise, QString* error) {
  if (!lock_) {
    if (error) *error = QStringLiteral("the lock is not held");
    return false;
  }
  InstanceChannel* channel = Channel(error);
  return channel && channel->Listen(SocketPath(lockPath_), std::move(raise), error);
}

bool SingleInstance::AskToRaise(int timeoutMs, QString* why, const QStringList& files) {
  QStringList absolute;
  for (const QString& f : files) absolute << QFileInfo(f).absoluteFilePath();
  QString error;
  InstanceChannel* channel = Channel(&error);
  const QDeadlineTimer deadline(timeoutMs);
  while (channel) {
    const int left = static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1));
    if (channel->AskToRaise(SocketPath(lockPath_), std::min(left, 1000), absolute, &error))
      return true;
    if (deadline.hasExpired()) break;
    QThread::msleep(100);  // a copy just started listens once its window is up
  }
  if (why) {
    *why = QStringLiteral(
               "Zendra is already running (process %1) but does not answer, so this start ends. "
               "Close the running Zendra, or end that process, and start Zendra again.\n\n(%2: "
               "%3)")
               .arg(otherPid_)
               .arg(SocketPath(lockPath_), error);
  }
  return false;
}

void BringToFront(QWidget* window) {
  window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace zendra
