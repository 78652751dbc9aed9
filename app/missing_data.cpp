#include "app/missing_data.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/own_problems.h"

namespace zendra {

std::optional<OtherData> OfferOtherData(QWidget* parent, const QString& message,
                                        const QString& userDataDir) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Zendra"), message, QMessageBox::Close,
                  parent);
  box.setObjectName(QStringLiteral("MissingDataBox"));
  box.setInformativeText(
      QStringLiteral("Without a data file there are no problems to show. Open another data "
                     "file, or import SGF problems of your own?"));
  QPushButton* open = box.addButton(QStringLiteral("Open data file…"), QMessageBox::ActionRole);
  QPushButton* import =
      box.addButton(QStringLiteral("Import SGF problems…"), QMessageBox::ActionRole);
  box.setDefaultButton(QMessageBox::Close);
  box.exec();

  if (box.clickedButton() == open) {
    const QString file = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Open data file"), QString(),
        QStringLiteral("Zendra data files (*.dgo);;All files (*)"));
    if (file.isEmpty()) return std::nullopt;
    return OtherData{file, QString()};
  }
  if (box.clickedButton() == import) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("Import SGF problems from folder"));
    if (folder.isEmpty()) return std::nullopt;
    const OwnDataFiles target = OwnDataFor({folder}, userDataDir);
    const OwnImportResult outcome = ImportSgfProblemsShowingProgress(parent, {folder}, target);
    if (!outcome.written) return std::nullopt;
    return OtherData{target.dataFile, target.historyFile};
  }
  return std::nullopt;
}

}  // namespace zendra
