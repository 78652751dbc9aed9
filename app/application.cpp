#include "app/application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "app/data_paths.h"
#include "app/main_form.h"
#include "app/own_problems.h"
#include "app/settings.h"
#include "app/style_icons.h"
#include "sound/sound_player.h"

namespace zendra {

int RunZendra(int argc, char** argv) {
  QCoreApplication::setOrganizationName(kSettingsOrganisation);
  QCoreApplication::setApplicationName(kSettingsApplication);
  QCoreApplication::setApplicationVersion("0.1.0");
  QApplication app(argc, argv);
  QGuiApplication::setApplicationDisplayName("Zendra");
  // Icons are read when first drawn, which keeps them off the way to the first window.
  QApplication::setStyle(new DeferredIconStyle);

  // One copy per user: the lock lives in the runtime folder; a stale one (its process gone) is
  // taken over.
  QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (runtime.isEmpty()) runtime = QDir::tempPath();
  QLockFile lock(QDir(runtime).filePath("VexLattixZendra"));
  lock.setStaleLockTime(0);
  if (!lock.tryLock(0)) {
    if (lock.error() == QLockFile::LockFailedError) return 0;
  }

  const QString programDir = QCoreApplication::applicationDirPath();
  const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(dataDir);
  MainFormPaths paths;
  paths.dataFile = FindDataFile(programDir).toStdString();
  paths.historyFile = QDir(dataDir).filePath("History1.cds").toStdString();
  paths.programDir = programDir;
  // `zendra FILE.sgf|FOLDER...` (a file manager's double click): those problems, imported.
  QStringList sources = QCoreApplication::arguments().mid(1);
  sources.removeIf([](const QString& a) { return a.startsWith('-'); });
  if (!sources.isEmpty()) UseImportedProblems(sources, dataDir, &paths);

  SoundPlayer sounds;  // each sound is loaded when first played
  TLattixMainForm form(paths, sounds);
  form.show();
  return app.exec();
}

}  // namespace zendra
