// The window's data file changing while it runs: another data file chosen, or the player's own
// problems imported, after the shipped data file could not be read.
#include <QMessageBox>
#include <QStandardPaths>
#include <algorithm>
#include <optional>

#include "app/library_session.h"
#include "app/main_form.h"
#include "app/missing_data.h"
#include "index/go_index.h"

namespace zendra {

void TLattixMainForm::SwitchData(const QString& dataFile, const QString& historyFile,
                                 int group) {
  std::string error;
  if (historyOpen_) library_->SaveHistory(&error);
  paths_.dataFile = dataFile.toStdString();
  if (!historyFile.isEmpty()) paths_.historyFile = historyFile.toStdString();
  library_->Reopen(paths_.dataFile, paths_.historyFile);
  remarks_.clear();
  LoadRemarks();
  const std::string historyMessage = library_->OpenHistory();
  historyOpen_ = true;
  if (!historyMessage.empty()) {
    QMessageBox::information(this, windowTitle(), QString::fromStdString(historyMessage));
  }
  OpenCollection(group);
}

void TLattixMainForm::OfferOtherDataFile(const QString& message) {
  const std::optional<OtherData> other = OfferOtherData(
      this, message, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  if (!other) return;
  // An import fills collection 0; another data file opens at the collection asked for.
  const int group = other->historyFile.isEmpty() ? std::max(0, library_->OpenCollectionNumber())
                                                 : 0;
  SwitchData(other->dataFile, other->historyFile, group);
}

}  // namespace zendra
