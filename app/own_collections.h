// The player's own collections: every import folder under <user data>/Imported that holds a
// data file, with the name the player sees (Name.txt in the folder), and what the window keeps
// about them while it runs.
#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <string>
#include <vector>

class QAction;

namespace zendra {

class SgfImportJob;

struct OwnCollection {
  QString folder;
  QString name;
  QString dataFile;     // Zendra.dgo
  QString historyFile;  // History1.cds
};

// <user data>/Imported.
QString OwnCollectionsRoot(const QString& userDataDir);

// The own collections under `userDataDir`, by name (case ignored), then folder.
QList<OwnCollection> ListOwnCollections(const QString& userDataDir);

// The own collection in `folder`; nothing when it holds no data file.
std::optional<OwnCollection> OwnCollectionIn(const QString& folder);

// Names the collection in `folder` `name` (trimmed, one line). False with `error` for an empty
// name or a file that cannot be written.
bool RenameOwnCollection(const QString& folder, const QString& name, QString* error);

// Deletes the collection in `folder`, a folder of `userDataDir`'s Imported/: its data file,
// remark list, name and history (with the history's journal and set-aside copies), then the
// folder when nothing else is left in it. False with `error` when `folder` is no such folder or
// a file could not be deleted.
bool RemoveOwnCollection(const QString& userDataDir, const QString& folder, QString* error);

// "12 / 25 solved": the solved marks of the problem-list entries `entries`.
QString SolvedProgress(const std::vector<std::string>& entries);

// What the main window keeps about the own collections (main_form_data.cpp).
struct OwnCollectionsState {
  QString userDataDir;
  std::string shippedDataFile;     // the data file and history the window started with
  std::string shippedHistoryFile;
  QString open;                    // the folder of the own collection open; empty: shipped
  QString openName;
  std::optional<int> lastShipped;  // the shipped collection opened last in this run
  QAction* importCommand = nullptr;  // miImportSgf1
  QAction* renameCommand = nullptr;  // miRenameCollection1
  QAction* removeCommand = nullptr;  // miRemoveCollection1
  QAction* fileEnd = nullptr;        // the File menu's separator after the own entries
  QAction* openEnd = nullptr;        // the Open drop-down's (its last entry)
  QList<QAction*> entries;           // the own entries of both menus
  SgfImportJob* job = nullptr;       // the import running, a child of the window
};

}  // namespace zendra
