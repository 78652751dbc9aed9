// Finds and loads the statistics module (the program's side of statistics_window.h).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "app/statistics_window.h"

namespace zendra {

StatisticsWindowFactory LoadStatisticsWindow(const QString& moduleFile, QString* error) {
  const QDir programDir(QCoreApplication::applicationDirPath());
  QString file = moduleFile;
  if (file.isEmpty()) {
    file = programDir.filePath(QStringLiteral(ZENDRA_STATISTICS_MODULE_FILE));
    const QString installed = QDir::cleanPath(programDir.filePath(
        QStringLiteral(ZENDRA_STATISTICS_MODULE_INSTALL_DIR "/" ZENDRA_STATISTICS_MODULE_FILE)));
    if (!QFileInfo::exists(file) && QFileInfo::exists(installed)) file = installed;
  }
  QLibrary module(file);
  const auto make = reinterpret_cast<StatisticsWindowFactory>(module.resolve(kStatisticsWindowFactory));
  if (!make && error) *error = module.errorString();
  return make;
}


}  // namespace zendra
