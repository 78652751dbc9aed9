// The player's own problems: SGF files and folders imported, with the importer `zendra-db build`
// uses, into a data file of their own in the per-user data folder. Each import of the same
// sources goes to the same folder, with its own remark list and its own history, so the
// imported problems' numbers never meet the shipped problems' history.
#pragma once

#include <QMap>
#include <QProgressDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

class QThread;
class QTimer;
class QWidget;

namespace zendra {

struct MainFormPaths;

// The file in an import's folder holding the collection's name, one line of UTF-8.
inline constexpr char kOwnNameFile[] = "Name.txt";

// Where one import's files live.
struct OwnDataFiles {
  QString folder;       // <user data>/Imported/<name>-<key>
  QString dataFile;     // Zendra.dgo in it
  QString historyFile;  // History1.cds in it (the remark list is Remark.txt beside the data)
  QString name;         // the collection's first name: the first source's, as the player named it
};

// The files for an import of `sources` (files or folders) under `userDataDir`: named after the
// first source, keyed by the absolute paths of all of them.
OwnDataFiles OwnDataFor(const QStringList& sources, const QString& userDataDir);

// What an import on another thread shares with the window showing it: how far it has come,
// and the player's wish to stop it. Read and written from both threads.
struct ImportProgress {
  std::atomic<int> total{-1};  // SGF files the import reads; -1 while they are being counted
  std::atomic<int> read{0};    // files read so far
  std::atomic<bool> cancel{false};
};

struct OwnImportResult {
  bool written = false;    // the data file and its remark list were written
  bool cancelled = false;  // the player stopped it: nothing was written
  int files = 0;           // SGF files read
  int imported = 0;        // problems in the data file
  QStringList refusals;    // "file:line:column: refused: reason"
  QMap<QString, int> refusedByReason;
  QStringList errors;  // sources that could not be read, or the write's failure
};

// Imports `sources` into `target` (folders made as needed); a collection imported before from
// the same sources keeps the name the player gave it. Blocks; no GUI. With `progress`, the files
// are counted first, each file read is counted, and a set `cancel` stops the import before the
// next file, writing nothing.
OwnImportResult ImportSgfProblems(const QStringList& sources, const OwnDataFiles& target,
                                  ImportProgress* progress = nullptr);

// One import on a thread of its own behind a progress dialog over `parent` (files read of
// files found, from the first moment) whose Cancel button stops it. With `modality`
// Qt::NonModal the window answers clicks meanwhile. Finished() is emitted once, on the window
// thread, when the thread has ended; deleting the job before that stops the import and waits.
class SgfImportJob : public QObject {
  Q_OBJECT

 public:
  SgfImportJob(QWidget* parent, QStringList sources, OwnDataFiles target,
               Qt::WindowModality modality);
  ~SgfImportJob() override;

  bool Running() const { return running_; }
  const OwnDataFiles& Target() const { return target_; }
  // The outcome, once Finished() has been emitted.
  const OwnImportResult& Result() const { return result_; }
  // Stops the import before its next file (what Cancel does).
  void Cancel();
  QProgressDialog* Dialog() const { return dialog_; }

 signals:
  void Finished();

 private:
  void ShowProgress();
  void End();

  OwnDataFiles target_;
  ImportProgress progress_;
  OwnImportResult result_;
  QThread* worker_ = nullptr;
  QPointer<QProgressDialog> dialog_;
  QTimer* poll_ = nullptr;
  bool running_ = true;
};

// The same import, waited for in a local event loop (the progress dialog modal over `parent`,
// its Cancel button working); then the report when anything was refused or failed.
OwnImportResult ImportSgfProblemsShowingProgress(QWidget* parent, const QStringList& sources,
                                               const OwnDataFiles& target);

// The report at the end of an import: what was imported, the refusals counted by reason, and
// every refused file and error in its details (selectable) and behind "Copy report". Nothing
// for a cancelled import. With `onlyTroubles`, nothing either when all went in.
void ShowImportReport(QWidget* parent, const OwnImportResult& outcome, const QString& name,
                      bool onlyTroubles);

// `zendra FILE.sgf|FOLDER...`: imports the sources (progress shown, no window yet) and, when
// problems were imported, points `firstOwnCollection` at their collection's folder. False,
// `paths` untouched, when nothing could be imported.
bool UseImportedProblems(const QStringList& sources, const QString& userDataDir,
                         MainFormPaths* paths);

// The text of that report: counts, the refusals by reason, then every error and refusal, one a
// line.
QString ImportReportText(const OwnImportResult& outcome);

}  // namespace zendra
