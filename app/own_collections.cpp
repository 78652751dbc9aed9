#include "app/own_collections.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#include "app/own_problems.h"
#include "library/review_file.h"

namespace zendra {
namespace {

constexpr char kDataFileName[] = "Zendra.dgo";
constexpr char kHistoryFileName[] = "History1.cds";

// A folder's name without the "-<key>" an import gives it.
QString NameFromFolder(const QString& folder) {
  const QString base = QFileInfo(folder).fileName();
  const qsizetype dash = base.lastIndexOf('-');
  return dash > 0 ? base.left(dash) : base;
}

}  // namespace

QString OwnCollectionsRoot(const QString& userDataDir) {
  return QDir(userDataDir).filePath(QStringLiteral("Imported"));
}

std::optional<OwnCollection> OwnCollectionIn(const QString& folder) {
  const QDir dir(folder);
  if (!QFileInfo(dir.filePath(kDataFileName)).isFile()) return std::nullopt;
  OwnCollection c;
  c.folder = QFileInfo(folder).absoluteFilePath();
  c.dataFile = dir.filePath(kDataFileName);
  c.historyFile = dir.filePath(kHistoryFileName);
  QFile nameFile(dir.filePath(kOwnNameFile));
  if (nameFile.open(QIODevice::ReadOnly))
    c.name = QString::fromUtf8(nameFile.readLine(1024)).trimmed();
  if (c.name.isEmpty()) c.name = NameFromFolder(folder);
  return c;
}

QList<OwnCollection> ListOwnCollections(const QString& userDataDir) {
  QList<OwnCollection> list;
  const QDir root(OwnCollectionsRoot(userDataDir));
  for (const QString& sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    if (auto c = OwnCollectionIn(root.filePath(sub))) list.push_back(*c);
  }
  std::stable_sort(list.begin(), list.end(), [](const OwnCollection& a, const OwnCollection& b) {
    return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
  });
  return list;
}

bool RenameOwnCollection(const QString& folder, const QString& name, QString* error) {
  QString line = name;
  line.replace('\n', ' ').replace('\r', ' ');
  line = line.trimmed();
  if (line.isEmpty()) {
    if (error) *error = QStringLiteral("A collection needs a name.");
    return false;
  }
  QSaveFile out(QDir(folder).filePath(kOwnNameFile));
  if (!out.open(QIODevice::WriteOnly) || out.write(line.toUtf8() + '\n') < 0 || !out.commit()) {
    if (error) *error = QStringLiteral("The name could not be written: %1").arg(out.errorString());
    return false;
  }
  return true;
}

bool RemoveOwnCollection(const QString& userDataDir, const QString& folder, QString* error) {
  const QFileInfo info(folder);
  const QString root = QFileInfo(OwnCollectionsRoot(userDataDir)).canonicalFilePath();
  // Only a folder an import made: directly in Imported/, holding a data file.
  if (!info.isDir() || info.isSymLink() || root.isEmpty() ||
      QFileInfo(info.canonicalFilePath()).path() != root || !OwnCollectionIn(folder)) {
    if (error) *error = QStringLiteral("\"%1\" is not a collection of your own.").arg(folder);
    return false;
  }
  QDir dir(info.canonicalFilePath());
  QStringList files = {kDataFileName, QStringLiteral("Remark.txt"), kOwnNameFile,
                       kHistoryFileName, QStringLiteral("History1.cds-journal"),
                       QString(kReviewFileName), QString(kReviewFileName) + "-journal"};
  files += dir.entryList({QStringLiteral("History1.cds.unreadable*"),
                          QString(kReviewFileName) + ".unreadable*",
                          QStringLiteral("*.tmp")},
                         QDir::Files | QDir::Hidden);
  for (const QString& f : files) {
    const QString path = dir.filePath(f);
    if (QFileInfo::exists(path) && !QFile::remove(path)) {
      if (error) *error = QStringLiteral("\"%1\" could not be deleted.").arg(path);
      return false;
    }
  }
  QDir().rmdir(dir.absolutePath());  // kept when something else was put there
  return true;
}

QString SolvedProgress(const std::vector<std::string>& entries) {
  const auto solved = std::count_if(entries.begin(), entries.end(), [](const std::string& e) {
    return e.size() > 4 && e[4] == '1';
  });
  return QStringLiteral("%1 / %2 solved").arg(solved).arg(entries.size());
}

}  // namespace zendra
