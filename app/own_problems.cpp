#include "app/own_problems.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "problem_import/problem_data.h"

namespace zendra {

OwnDataFiles OwnDataFor(const QStringList& sources, const QString& userDataDir) {
  QStringList absolute;
  for (const QString& s : sources) absolute.push_back(QFileInfo(s).absoluteFilePath());
  const QByteArray key =
      QCryptographicHash::hash(absolute.join('\n').toUtf8(), QCryptographicHash::Sha1)
          .toHex()
          .left(12);
  QString name = absolute.isEmpty() ? QString() : QFileInfo(absolute.front()).completeBaseName();
  if (name.isEmpty()) name = QStringLiteral("problems");
  // Only letters, digits, '-', '_' and '.' in the folder name.
  for (QChar& c : name) {
    if (!(c.isLetterOrNumber() || c == '-' || c == '_' || c == '.')) c = '_';
  }
  OwnDataFiles files;
  files.folder = QDir(userDataDir).filePath(QStringLiteral("Imported/") + name.left(40) + '-' +
                                            QString::fromLatin1(key));
  files.dataFile = QDir(files.folder).filePath(QStringLiteral("Zendra.dgo"));
  files.historyFile = QDir(files.folder).filePath(QStringLiteral("History1.cds"));
  return files;
}

OwnImportResult ImportSgfProblems(const QStringList& sources, const OwnDataFiles& target) {
  std::vector<std::string> paths;
  for (const QString& s : sources) paths.push_back(QFile::encodeName(s).toStdString());
  BuildReport report;
  BuildFromSources(paths, BuildOptions{}, &report);

  OwnImportResult outcome;
  outcome.files = report.files;
  outcome.imported = static_cast<int>(report.problems.size());
  for (const std::string& r : report.refusals) outcome.refusals.push_back(QString::fromStdString(r));
  for (const std::string& e : report.errors) outcome.errors.push_back(QString::fromStdString(e));
  if (!report.errors.empty() || report.problems.empty()) return outcome;

  std::string error;
  const std::string dataFile = QFile::encodeName(target.dataFile).toStdString();
  const std::string remarkFile =
      QFile::encodeName(QFileInfo(target.dataFile).dir().filePath(QStringLiteral("Remark.txt")))
          .toStdString();
  outcome.written = QDir().mkpath(target.folder) &&
                    WriteDataFile(report.problems, dataFile, &error) &&
                    WriteRemarkFile(report.remarks, remarkFile, &error);
  if (!outcome.written) {
    outcome.errors.push_back(error.empty() ? QStringLiteral("cannot make ") + target.folder
                                           : QString::fromStdString(error));
  }
  return outcome;
}

QString ImportReportText(const OwnImportResult& outcome) {
  QString text = QStringLiteral("Imported %1 problems from %2 SGF files; %3 refused.\n")
                     .arg(outcome.imported)
                     .arg(outcome.files)
                     .arg(outcome.refusals.size());
  for (const QString& e : outcome.errors) text += QStringLiteral("error: ") + e + '\n';
  for (const QString& r : outcome.refusals) text += r + '\n';
  return text;
}

OwnImportResult ImportSgfProblemsShowingProgress(QWidget* parent, const QStringList& sources,
                                               const OwnDataFiles& target) {
  QProgressDialog progress(QStringLiteral("Importing SGF problems…"), QString(), 0, 0, parent);
  progress.setWindowTitle(QStringLiteral("Zendra"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  progress.show();

  OwnImportResult outcome;
  QEventLoop loop;
  QThread* worker = QThread::create([&] { outcome = ImportSgfProblems(sources, target); });
  QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker->wait();
  delete worker;
  progress.close();

  if (!outcome.refusals.isEmpty() || !outcome.errors.isEmpty() || outcome.imported == 0) {
    QMessageBox box(outcome.written ? QMessageBox::Information : QMessageBox::Warning,
                    QStringLiteral("Zendra"),
                    outcome.written ? QStringLiteral("Some SGF problems could not be imported.")
                                    : QStringLiteral("No SGF problems could be imported."),
                    QMessageBox::Ok, parent);
    box.setDetailedText(ImportReportText(outcome));  // selectable, so it can be copied
    box.exec();
  }
  return outcome;
}

bool UseImportedProblems(const QStringList& sources, const QString& userDataDir,
                         MainFormPaths* paths) {
  const OwnDataFiles target = OwnDataFor(sources, userDataDir);
  const OwnImportResult outcome = ImportSgfProblemsShowingProgress(nullptr, sources, target);
  if (!outcome.written) return false;
  paths->dataFile = target.dataFile.toStdString();
  paths->historyFile = target.historyFile.toStdString();
  paths->firstCollection = 0;  // problems outside a manifest go to collection 0
  return true;
}

}  // namespace zendra
