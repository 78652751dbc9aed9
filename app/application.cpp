#include "app/application.h"

#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "app/data_paths.h"
#include "app/library_session.h"
#include "app/main_form.h"
#include "app/own_problems.h"
#include "app/session_end.h"
#include "app/settings.h"
#include "app/single_instance.h"
#include "app/style_icons.h"
#include "sound/sound_player.h"

namespace zendra {
namespace {

// How long a second start tries to reach the running copy before it gives up.
constexpr int kAskToRaiseMs = 5000;
// When the running copy starts listening for later starts: once its first window is up, so
// Qt Network's libraries stay off the way to it.
constexpr int kListenDelayMs = 300;

}  // namespace

int RunZendra(int argc, char** argv) {
  // A file-size limit (ulimit -f) makes writes fail, which the history reports, instead of
  // ending the program with SIGXFSZ.
  signal(SIGXFSZ, SIG_IGN);
  QCoreApplication::setOrganizationName(kSettingsOrganisation);
  QCoreApplication::setApplicationName(kSettingsApplication);
  QCoreApplication::setApplicationVersion("0.1.0");
  QApplication app(argc, argv);
  QGuiApplication::setApplicationDisplayName("Zendra");

  // One copy per user. The lock lives in the runtime folder, or in the data folder where the
  // runtime folder cannot hold it.
  QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (runtime.isEmpty()) runtime = QDir::tempPath();
  const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(dataDir);
  SingleInstance instance({runtime, dataDir});
  const SingleInstance::Outcome outcome = instance.Acquire();
  // `zendra FILE.sgf|FOLDER...` (a file manager's double click): those problems, imported.
  QStringList sources = QCoreApplication::arguments().mid(1);
  sources.removeIf([](const QString& a) { return a.startsWith('-'); });
  if (outcome == SingleInstance::Outcome::kOtherRuns) {
    // The running copy imports them.
    QString why;
    if (instance.AskToRaise(kAskToRaiseMs, &why, sources)) return 0;
    std::fprintf(stderr, "zendra: %s\n", qPrintable(why));
    QMessageBox::information(nullptr, "Zendra", why);
    return 1;
  }

  // Icons are read when first drawn, which keeps them off the way to the first window.
  QApplication::setStyle(new DeferredIconStyle);
  const QString programDir = QCoreApplication::applicationDirPath();
  MainFormPaths paths;
  paths.dataFile = FindDataFile(programDir).toStdString();
  paths.historyFile = QDir(dataDir).filePath("History1.cds").toStdString();
  paths.programDir = programDir;
  paths.userDataDir = dataDir;
  if (!sources.isEmpty()) UseImportedProblems(sources, dataDir, &paths);

  SoundPlayer sounds;  // each sound is loaded when first played
  TLattixMainForm form(paths, sounds);
  if (outcome == SingleInstance::Outcome::kNoLock) {
    // Another copy may be running unseen: two would write one history file.
    form.Library().KeepHistoryFromWriting(
        "Zendra cannot make sure that it is the only copy running (" +
        instance.Reason().toStdString() + ")");
  }

  // The system's request to end (SIGTERM at logout or shutdown, SIGINT, SIGHUP) and the
  // session manager's quit close the window as File -> Exit does: settings and history saved.
  SessionEnd sessionEnd([&form] {
    form.close();
    QCoreApplication::quit();
  });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &form, [&form] {
    if (form.isVisible()) form.close();
  });

  form.show();
  if (outcome == SingleInstance::Outcome::kFirst) {
    QTimer::singleShot(kListenDelayMs, &form, [&instance, &form] {
      QString error;
      const auto raise = [&form](const QStringList& files) {
        BringToFront(&form);
        form.ImportSources(files);
      };
      if (!instance.Listen(raise, &error))
        std::fprintf(stderr, "zendra: later starts cannot reach this one: %s\n", qPrintable(error));
    });
  }
  return app.exec();
}

}  // namespace zendra
