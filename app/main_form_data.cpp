// The window's data file changing while it runs: another data file chosen after the shipped one
// could not be read, and the player's own collections: their entries under the four shipped
// ones, opening, renaming and removing them, and importing SGF problems from the menu, a drop
// or a later start.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <optional>
#include <utility>

#include "app/library_session.h"
#include "app/main_form.h"
#include "app/missing_data.h"
#include "app/own_collections.h"
#include "app/own_problems.h"
#include "library/review_stored_source.h"
#include "index/go_index.h"

namespace zendra {
namespace {

// The settings value naming the own collection open at the last close (its folder's name).
constexpr char kOwnCollectionKey[] = "OwnCollection";
// An import puts every problem into one collection, this one.
constexpr int kOwnGroup = 0;

// The local files and folders of a drag.
QStringList LocalPaths(const QMimeData* data) {
  QStringList paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && QFileInfo::exists(url.toLocalFile())) paths << url.toLocalFile();
  }
  return paths;
}

}  // namespace

void TLattixMainForm::SwitchData(const QString& dataFile, const QString& historyFile, int group,
                                 int topRow) {
  std::string error;
  if (historyOpen_) library_->SaveHistory(&error);
  paths_.dataFile = dataFile.toStdString();
  if (!historyFile.isEmpty()) paths_.historyFile = historyFile.toStdString();
  library_->Reopen(paths_.dataFile, paths_.historyFile);
  storedSources_.clear();  // the file left may have changed, and the one opened is live now
  remarks_.clear();
  LoadRemarks();
  const std::string historyMessage = library_->OpenHistory();
  historyOpen_ = true;
  if (!historyMessage.empty()) {
    QMessageBox::information(this, BoxCaption(), QString::fromStdString(historyMessage));
  }
  OpenCollection(group, topRow);
}

void TLattixMainForm::OfferOtherDataFile(const QString& message) {
  const std::optional<OtherData> other = OfferOtherData(this, message, own_->userDataDir);
  if (!other) return;
  if (!other->historyFile.isEmpty()) {
    // Imported: a collection of the player's own.
    ShowOwnCollections();
    OpenOwnCollection(QFileInfo(other->dataFile).absolutePath());
    return;
  }
  // Another data file takes the shipped one's place, at the collection asked for.
  own_->shippedDataFile = other->dataFile.toStdString();
  own_->open.clear();
  SwitchData(other->dataFile, QString(), std::max(0, library_->OpenCollectionNumber()));
}

// ---- The own collections in the menus -------------------------------------------------------

void TLattixMainForm::CreateOwnCommands(QMenu* file) {
  own_ = std::make_unique<OwnCollectionsState>();
  own_->userDataDir = paths_.userDataDir.isEmpty()
                          ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                          : paths_.userDataDir;
  own_->shippedDataFile = paths_.dataFile;
  own_->shippedHistoryFile = paths_.historyFile;

  own_->fileEnd = file->addSeparator();
  own_->importCommand = MakeAction("miImportSgf1", T(Text::kMiImportSgf));
  connect(own_->importCommand, &QAction::triggered, this,
          &TLattixMainForm::ImportSgfProblemsCommand);
  own_->renameCommand = MakeAction("miRenameCollection1", T(Text::kMiRenameCollection));
  connect(own_->renameCommand, &QAction::triggered, this, &TLattixMainForm::RenameCollection);
  own_->removeCommand = MakeAction("miRemoveCollection1", T(Text::kMiRemoveCollection));
  connect(own_->removeCommand, &QAction::triggered, this, &TLattixMainForm::RemoveCollection);
  file->addActions({own_->importCommand, own_->renameCommand, own_->removeCommand});
  own_->openEnd = OpenMenu->addSeparator();

  // The title's progress follows every solve.
  auto solvedChanged = std::move(library_->OnSolvedCountChanged);
  library_->OnSolvedCountChanged = [this, solvedChanged](int solved) {
    if (solvedChanged) solvedChanged(solved);
    ShowCollectionState();
  };
  setAcceptDrops(true);
  ShowOwnCollections();
}

void TLattixMainForm::ShowOwnCollections() {
  storedSources_.clear();
  for (QAction* a : std::as_const(own_->entries)) delete a;
  own_->entries.clear();
  auto* fileMenu = qobject_cast<QMenu*>(own_->fileEnd->parent());
  const QList<OwnCollection> collections = ListOwnCollections(own_->userDataDir);
  int n = 0;
  for (const OwnCollection& c : collections) {
    ++n;
    const QString caption = QString(c.name).replace('&', QStringLiteral("&&"));
    QAction* entry = new QAction(caption, fileMenu);
    entry->setObjectName(QStringLiteral("miOwnCollection%1").arg(n));
    QAction* drop = new QAction(caption, OpenMenu);
    drop->setObjectName(QStringLiteral("OpenmiOwnCollection%1").arg(n));
    for (QAction* a : {entry, drop}) {
      a->setData(c.folder);
      a->setCheckable(true);
      connect(a, &QAction::triggered, this, [this, folder = c.folder] { OpenOwnCollection(folder); });
      own_->entries.push_back(a);
    }
    fileMenu->insertAction(own_->fileEnd, entry);
    OpenMenu->addAction(drop);
  }
  own_->openEnd->setVisible(!collections.isEmpty());
  ShowCollectionState();
}

void TLattixMainForm::ShowCollectionState() {
  const bool ownOpen = !own_->open.isEmpty();
  for (QAction* a : std::as_const(own_->entries)) {
    const bool current = ownOpen && a->data().toString() == own_->open;
    a->setChecked(current);
    QFont f = a->font();
    f.setBold(current);
    a->setFont(f);
  }
  own_->renameCommand->setEnabled(ownOpen);
  own_->removeCommand->setEnabled(ownOpen);
  own_->importCommand->setEnabled(own_->job == nullptr);
  // The system adds the program's name to any other title ("My problems: 2 / 5 solved —
  // Zendra").
  setWindowTitle(ownOpen ? QStringLiteral("%1: %2").arg(own_->openName,
                                                        SolvedProgress(GoIndex1->Games()))
                         : QStringLiteral("Zendra"));
}

QString TLattixMainForm::OwnCollectionOpen() const { return own_->open; }

SgfImportJob* TLattixMainForm::RunningImport() const { return own_->job; }

// ---- Opening, renaming, removing ------------------------------------------------------------

void TLattixMainForm::OpenShippedCollection(int group) {
  if (own_->open.isEmpty()) {
    OpenCollection(group);
    return;
  }
  own_->open.clear();
  own_->openName.clear();
  SwitchData(QString::fromStdString(own_->shippedDataFile),
             QString::fromStdString(own_->shippedHistoryFile), group);
}

void TLattixMainForm::OpenOwnCollection(const QString& folder, int topRow) {
  const std::optional<OwnCollection> c = OwnCollectionIn(folder);
  if (!c) {
    QMessageBox::information(this, BoxCaption(),
                             QStringLiteral("The collection in \"%1\" is gone.").arg(folder));
    ShowOwnCollections();
    return;
  }
  if (own_->open.isEmpty() && library_->OpenCollectionNumber() >= 0)
    own_->lastShipped = library_->OpenCollectionNumber();
  own_->open = c->folder;
  own_->openName = c->name;
  SwitchData(c->dataFile, c->historyFile, kOwnGroup, topRow);
}

void TLattixMainForm::RenameCollection() {
  if (own_->open.isEmpty()) return;
  bool ok = false;
  const QString name =
      QInputDialog::getText(this, QStringLiteral("Rename collection"),
                            QStringLiteral("Name of the collection:"), QLineEdit::Normal,
                            own_->openName, &ok);
  if (!ok) return;
  QString error;
  if (!zendra::RenameOwnCollection(own_->open, name, &error)) {
    QMessageBox::information(this, BoxCaption(), error);
    return;
  }
  if (const std::optional<OwnCollection> c = OwnCollectionIn(own_->open)) own_->openName = c->name;
  ShowOwnCollections();
}

void TLattixMainForm::RemoveCollection() {
  if (own_->open.isEmpty()) return;
  const QString question =
      QStringLiteral("Remove the collection \"%1\"?\n\nIts problems and your history on them "
                     "(%2) are deleted for good.")
          .arg(own_->openName, SolvedProgress(GoIndex1->Games()));
  const auto answer = QMessageBox::question(this, QStringLiteral("Remove collection"), question,
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  const QString folder = own_->open;
  // Leave it first: its history is saved and closed before the file goes.
  int shipped = own_->lastShipped.value_or(-1);
  if (shipped < 0) {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    shipped = ReadMainSettings(settings).database;
  }
  library_->NextCollectionFromSettings();
  OpenShippedCollection(shipped);
  QString error;
  if (!zendra::RemoveOwnCollection(own_->userDataDir, folder, &error))
    QMessageBox::warning(this, BoxCaption(), error);
  ShowOwnCollections();
}

// ---- Importing ------------------------------------------------------------------------------

void TLattixMainForm::ImportSgfProblemsCommand() {
  QMessageBox ask(QMessageBox::Question, QStringLiteral("Import SGF problems"),
                  QStringLiteral("Import the SGF problems of a folder (with its subfolders), or "
                                 "of files you choose?"),
                  QMessageBox::Cancel, this);
  ask.setObjectName(QStringLiteral("ImportChoiceBox"));
  QPushButton* folderButton = ask.addButton(QStringLiteral("Folder…"), QMessageBox::ActionRole);
  QPushButton* filesButton = ask.addButton(QStringLiteral("Files…"), QMessageBox::ActionRole);
  ask.setDefaultButton(folderButton);
  ask.exec();
  QStringList sources;
  if (ask.clickedButton() == folderButton) {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Import SGF problems from folder"));
    if (!folder.isEmpty()) sources << folder;
  } else if (ask.clickedButton() == filesButton) {
    sources = QFileDialog::getOpenFileNames(this, QStringLiteral("Import SGF problems"), QString(),
                                            QStringLiteral("SGF files (*.sgf *.SGF);;All files (*)"));
  }
  if (!sources.isEmpty()) ImportSources(sources);
}

void TLattixMainForm::ImportSources(const QStringList& sources) {
  if (sources.isEmpty()) return;
  if (own_->job) {
    QMessageBox::information(this, QStringLiteral("Import SGF problems"),
                             QStringLiteral("An import is running. Wait for it to end, or cancel "
                                            "it, before starting another."));
    return;
  }
  own_->job = new SgfImportJob(this, sources, OwnDataFor(sources, own_->userDataDir),
                               Qt::NonModal);
  connect(own_->job, &SgfImportJob::Finished, this, &TLattixMainForm::ImportFinished);
  ShowCollectionState();
}

void TLattixMainForm::ImportFinished() {
  SgfImportJob* job = std::exchange(own_->job, nullptr);
  if (!job) return;
  const OwnImportResult result = job->Result();
  const OwnDataFiles target = job->Target();
  job->deleteLater();
  ShowCollectionState();
  if (result.cancelled) return;
  const std::optional<OwnCollection> c = OwnCollectionIn(target.folder);
  ShowImportReport(this, result, c ? c->name : target.name, /*onlyTroubles=*/false);
  ShowOwnCollections();
  if (result.written) OpenOwnCollection(target.folder);
}

void TLattixMainForm::StopImport() {
  delete std::exchange(own_->job, nullptr);  // stops before the next file and waits
}

void TLattixMainForm::dragEnterEvent(QDragEnterEvent* e) {
  if (!LocalPaths(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TLattixMainForm::dropEvent(QDropEvent* e) {
  const QStringList sources = LocalPaths(e->mimeData());
  if (sources.isEmpty()) return;
  e->acceptProposedAction();
  // Once the drop has ended, so that the file manager is not kept waiting by a message.
  QTimer::singleShot(0, this, [this, sources] { ImportSources(sources); });
}

// ---- Start and close ------------------------------------------------------------------------

bool TLattixMainForm::OpenFirstOwnCollection(int topRow) {
  QString folder = paths_.firstOwnCollection;
  if (folder.isEmpty()) {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    const QString stored =
        settings.value(QStringLiteral("%1/%2").arg(kSettingsGroup, kOwnCollectionKey)).toString();
    // Only a folder name: the value cannot point outside the own collections.
    if (stored.isEmpty() || stored.contains('/') || stored.startsWith('.')) return false;
    folder = QDir(OwnCollectionsRoot(own_->userDataDir)).filePath(stored);
  } else {
    topRow = 0;
  }
  if (!OwnCollectionIn(folder)) return false;
  OpenOwnCollection(folder, topRow);
  return true;
}

std::optional<int> TLattixMainForm::ShippedCollectionToSave() const {
  // The shipped file's choice is kept while an own collection is open.
  if (!own_->open.isEmpty()) return own_->lastShipped;
  if (library_->OpenCollectionNumber() >= 0) return library_->OpenCollectionNumber();
  return std::nullopt;
}

void TLattixMainForm::SaveOwnCollectionSetting(QSettings& settings) const {
  if (own_->open.isEmpty()) {
    settings.remove(kOwnCollectionKey);
  } else {
    settings.setValue(kOwnCollectionKey, QFileInfo(own_->open).fileName());
  }
}

}  // namespace zendra
