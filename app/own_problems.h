// The player's own problems: SGF files and folders imported, with the importer `zendra-db build`
// uses, into a data file of their own in the per-user data folder. Each import of the same
// sources goes to the same folder, with its own remark list and its own history, so the
// imported problems' numbers never meet the shipped problems' history.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zendra {

struct MainFormPaths;

// Where one import's files live.
struct OwnDataFiles {
  QString folder;       // <user data>/Imported/<name>-<key>
  QString dataFile;     // Zendra.dgo in it
  QString historyFile;  // History1.cds in it (the remark list is Remark.txt beside the data)
};

// The files for an import of `sources` (files or folders) under `userDataDir`: named after the
// first source, keyed by the absolute paths of all of them.
OwnDataFiles OwnDataFor(const QStringList& sources, const QString& userDataDir);

struct OwnImportResult {
  bool written = false;  // the data file and its remark list were written
  int files = 0;         // SGF files read
  int imported = 0;      // problems in the data file
  QStringList refusals;  // "file:line:column: refused: reason"
  QStringList errors;    // sources that could not be read, or the write's failure
};

// Imports `sources` into `target` (folders made as needed). Blocks; no GUI.
OwnImportResult ImportSgfProblems(const QStringList& sources, const OwnDataFiles& target);

// The same off the GUI thread behind a progress dialog over `parent`; the window keeps
// painting meanwhile. Then, when anything was refused or failed, a report the player can copy.
OwnImportResult ImportSgfProblemsShowingProgress(QWidget* parent, const QStringList& sources,
                                               const OwnDataFiles& target);

// `zendra FILE.sgf|FOLDER...`: imports the sources (progress shown, no window yet) and, when
// problems were imported, points `dataFile`, `historyFile` at them and `firstCollection` at
// their collection. False, `paths` untouched, when nothing could be imported.
bool UseImportedProblems(const QStringList& sources, const QString& userDataDir,
                         MainFormPaths* paths);

// The text of that report: counts, then every refusal and error, one a line.
QString ImportReportText(const OwnImportResult& outcome);

}  // namespace zendra
