#include "app/own_problems.h"

#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "problem_import/problem_data.h"

namespace zendra {
namespace {

// How often the progress dialog looks at the import's count.
constexpr int kProgressPollMs = 100;

}  // namespace

OwnDataFiles OwnDataFor(const QStringList& sources, const QString& userDataDir) {
  QStringList absolute;
  for (const QString& s : sources) absolute.push_back(QFileInfo(s).absoluteFilePath());
  const QByteArray key =
      QCryptographicHash::hash(absolute.join('\n').toUtf8(), QCryptographicHash::Sha1)
          .toHex()
          .left(12);
  OwnDataFiles files;
  files.name = absolute.isEmpty() ? QString() : QFileInfo(absolute.front()).completeBaseName();
  if (files.name.isEmpty()) files.name = QStringLiteral("problems");
  QString name = files.name;
  // Only letters, digits, '-', '_' and '.' in the folder name.
  for (QChar& c : name) {
    if (!(c.isLetterOrNumber() || c == '-' || c == '_' || c == '.')) c = '_';
  }
  files.folder = QDir(userDataDir).filePath(QStringLiteral("Imported/") + name.left(40) + '-' +
                                            QString::fromLatin1(key));
  files.dataFile = QDir(files.folder).filePath(QStringLiteral("Zendra.dgo"));
  files.historyFile = QDir(files.folder).filePath(QStringLiteral("History1.cds"));
  return files;
}

OwnImportResult ImportSgfProblems(const QStringList& sources, const OwnDataFiles& target,
                                  ImportProgress* progress) {
  std::vector<std::string> paths;
  for (const QString& s : sources) paths.push_back(QFile::encodeName(s).toStdString());
  BuildOptions options;
  if (progress) {
    progress->total = CountSourceFiles(paths, options);
    options.onFile = [progress](int read, const std::string&) {
      progress->read = read;
      return !progress->cancel;
    };
  }
  BuildReport report;
  BuildFromSources(paths, options, &report);

  OwnImportResult outcome;
  outcome.files = report.files;
  if (progress) progress->read = report.files;
  outcome.cancelled = report.cancelled || (progress && progress->cancel);
  if (outcome.cancelled) return outcome;
  outcome.imported = static_cast<int>(report.problems.size());
  for (const std::string& r : report.refusals) outcome.refusals.push_back(QString::fromStdString(r));
  for (const auto& [reason, count] : report.refusedByReason)
    outcome.refusedByReason[QString::fromStdString(reason)] = count;
  for (const std::string& e : report.errors) outcome.errors.push_back(QString::fromStdString(e));
  if (!report.errors.empty() || report.problems.empty()) return outcome;
  // An import is one collection, whatever collection numbers manifests inside it name.
  for (DataProblem& p : report.problems) p.group = 0;

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
    return outcome;
  }
  // The first import names the collection; a renamed one keeps its name.
  const QString nameFile = QDir(target.folder).filePath(kOwnNameFile);
  if (!QFileInfo::exists(nameFile)) {
    QSaveFile out(nameFile);
    if (out.open(QIODevice::WriteOnly)) {
      out.write(target.name.toUtf8() + '\n');
      out.commit();
    }
  }
  return outcome;
}

QString ImportReportText(const OwnImportResult& outcome) {
  QString text = QStringLiteral("Imported %1 problems from %2 SGF files; %3 refused.\n")
                     .arg(outcome.imported)
                     .arg(outcome.files)
                     .arg(outcome.refusals.size());
  for (auto it = outcome.refusedByReason.begin(); it != outcome.refusedByReason.end(); ++it)
    text += QStringLiteral("  %1: %2\n").arg(it.key()).arg(it.value());
  for (const QString& e : outcome.errors) text += QStringLiteral("error: ") + e + '\n';
  for (const QString& r : outcome.refusals) text += r + '\n';
  return text;
}

// ---- The import on its thread -------------------------------------------------------------

SgfImportJob::SgfImportJob(QWidget* parent, QStringList sources, OwnDataFiles target,
                           Qt::WindowModality modality)
    : QObject(parent), target_(std::move(target)) {
  dialog_ = new QProgressDialog(QStringLiteral("Looking for SGF files…"),
                                QStringLiteral("Cancel"), 0, 0, parent);
  dialog_->setObjectName(QStringLiteral("ImportProgress"));
  dialog_->setWindowTitle(QStringLiteral("Importing SGF problems"));
  dialog_->setWindowModality(modality);
  dialog_->setAutoClose(false);
  dialog_->setAutoReset(false);
  dialog_->setMinimumDuration(0);
  dialog_->setMinimumWidth(360);
  connect(dialog_, &QProgressDialog::canceled, this, &SgfImportJob::Cancel);
  dialog_->show();

  poll_ = new QTimer(this);
  poll_->setInterval(kProgressPollMs);
  connect(poll_, &QTimer::timeout, this, &SgfImportJob::ShowProgress);
  poll_->start();

  worker_ = QThread::create([this, sources = std::move(sources)] {
    result_ = ImportSgfProblems(sources, target_, &progress_);
  });
  // The thread's end reaches the job on the window thread (queued), after run() has returned.
  connect(worker_, &QThread::finished, this, &SgfImportJob::End, Qt::QueuedConnection);
  worker_->start();
}

SgfImportJob::~SgfImportJob() {
  progress_.cancel = true;
  if (worker_) {
    worker_->wait();
    delete worker_;
  }
  delete dialog_;
}

void SgfImportJob::Cancel() {
  progress_.cancel = true;
  if (dialog_) dialog_->setLabelText(QStringLiteral("Stopping the import…"));
}

void SgfImportJob::ShowProgress() {
  if (!dialog_ || progress_.cancel) return;
  const int total = progress_.total;
  if (total < 0) return;  // still counting: the busy bar runs
  const int read = progress_.read;
  dialog_->setMaximum(std::max(total, 1));
  dialog_->setValue(std::min(read, std::max(total, 1)));
  dialog_->setLabelText(QStringLiteral("Importing SGF problems… %1 of %2 files").arg(read).arg(total));
}

void SgfImportJob::End() {
  if (!running_) return;
  worker_->wait();  // finished() comes from the thread itself, just before it ends
  running_ = false;
  poll_->stop();
  if (dialog_) dialog_->hide();
  emit Finished();
}

OwnImportResult ImportSgfProblemsShowingProgress(QWidget* parent, const QStringList& sources,
                                               const OwnDataFiles& target) {
  SgfImportJob job(parent, sources, target, parent ? Qt::WindowModal : Qt::ApplicationModal);
  QEventLoop loop;
  QObject::connect(&job, &SgfImportJob::Finished, &loop, &QEventLoop::quit);
  if (job.Running()) loop.exec();
  ShowImportReport(parent, job.Result(), target.name, /*onlyTroubles=*/true);
  return job.Result();
}

void ShowImportReport(QWidget* parent, const OwnImportResult& outcome, const QString& name,
                      bool onlyTroubles) {
  if (outcome.cancelled) return;
  const bool troubles = !outcome.refusals.isEmpty() || !outcome.errors.isEmpty() ||
                        outcome.imported == 0 || !outcome.written;
  if (onlyTroubles && !troubles) return;
  QString text;
  if (!outcome.written) {
    text = QStringLiteral("No SGF problems could be imported.");
  } else {
    text = QStringLiteral("Imported %1 problems from %2 SGF files into \"%3\".")
               .arg(outcome.imported)
               .arg(outcome.files)
               .arg(name);
    if (troubles) text += QStringLiteral(" Some SGF problems could not be imported.");
  }
  QStringList reasons;
  for (auto it = outcome.refusedByReason.begin(); it != outcome.refusedByReason.end(); ++it)
    reasons << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
  QMessageBox box(outcome.written ? QMessageBox::Information : QMessageBox::Warning,
                  QStringLiteral("Import SGF problems"), text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("ImportReport"));
  if (!reasons.isEmpty()) {
    box.setInformativeText(QStringLiteral("%1 refused:\n").arg(outcome.refusals.size()) +
                           reasons.join('\n'));
  }
  const QString report = ImportReportText(outcome);
  if (troubles) box.setDetailedText(report);  // selectable, so it can be copied
  QPushButton* copy = box.addButton(QStringLiteral("Copy report"), QMessageBox::ActionRole);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
  if (box.clickedButton() == copy) QApplication::clipboard()->setText(report);
}

bool UseImportedProblems(const QStringList& sources, const QString& userDataDir,
                         MainFormPaths* paths) {
  const OwnDataFiles target = OwnDataFor(sources, userDataDir);
  const OwnImportResult outcome = ImportSgfProblemsShowingProgress(nullptr, sources, target);
  if (!outcome.written) return false;
  paths->firstOwnCollection = target.folder;
  return true;
}

}  // namespace zendra
