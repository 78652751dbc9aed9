#include "app/data_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zendra {

namespace {
constexpr char kDataFileName[] = "Zendra.dgo";
constexpr char kRemarkFileName[] = "Remark.txt";
}  // namespace

QStringList DataFileCandidates(const QString& programDir) {
  const QDir dir(programDir);
  QStringList candidates{dir.filePath(kDataFileName),
                         QDir::cleanPath(dir.filePath(QStringLiteral("../share/zendra/") +
                                                      kDataFileName))};
  for (const QString& base :
       QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
    const QString path = QDir::cleanPath(QDir(base).filePath(QStringLiteral("zendra/") +
                                                             kDataFileName));
    if (!candidates.contains(path)) candidates.push_back(path);
  }
  return candidates;
}

QString FindDataFile(const QString& programDir) {
  const QStringList candidates = DataFileCandidates(programDir);
  for (const QString& path : candidates) {
    if (QFileInfo(path).isFile()) return path;
  }
  return candidates.front();
}

QString RemarkFileFor(const QString& dataFile) { return RemarkFileFor(dataFile, kRemarkFileName); }

QString RemarkFileFor(const QString& dataFile, const QString& fileName) {
  const QString beside = QFileInfo(dataFile).dir().filePath(fileName);
  if (QFileInfo(beside).isFile()) return beside;
  const QString current = QDir::current().filePath(fileName);
  if (QFileInfo(current).isFile()) return current;
  return beside;
}

}  // namespace zendra
