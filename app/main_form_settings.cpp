// The main window's settings: the options, the first activation (stored values, placement,
// history and collection) and the close.
#include "app/main_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QSlider>
#include <QStyle>

#include "app/command_icons.h"
#include "app/library_session.h"
#include "app/password_dialog.h"
#include "app/window_notices.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "solving/solving_controller.h"
#include "tools/make-icon/program_icon.h"

namespace zendra {

// ---- Options --------------------------------------------------------------------------------

void TLattixMainForm::ApplyOptions(const MainOptions& options) {
  options_ = options;
  const std::pair<QAction*, bool> switches[] = {
      {commands_.computerDoNotPlayBadMove, options_.computerDoNotPlayBadMove},
      {commands_.displayNumbers, options_.displayNumbers},
      {commands_.nextProblemAutomatically, options_.nextProblemAutomatically},
      {commands_.hintAllowed, options_.hintAllowed},
      {commands_.takebackAutomatically, options_.takebackAutomatically},
      {commands_.checkOffTreeMoves, options_.checkOffTreeMoves},
  };
  // The entries' own handlers would change the options back one by one (and Display numbers
  // would restart the problem): they are silenced while the value is shown.
  for (const auto& [entry, on] : switches) {
    const QSignalBlocker block(entry);
    entry->setChecked(on);
  }
  {
    const QSignalBlocker block(TrackBar1);
    TrackBar1->setValue(options_.delay);
  }
  ShowSilent();
  controller_->SetSilent(options_.silent);
  controller_->SetHintAllowed(options_.hintAllowed);
  controller_->SetDisplayNumbers(options_.displayNumbers);
  controller_->SetNextProblemAutomatically(options_.nextProblemAutomatically);
  controller_->SetTakebackAutomatically(options_.takebackAutomatically);
  controller_->SetComputerDoNotPlayBadMove(options_.computerDoNotPlayBadMove);
  controller_->SetCheckOffTreeMoves(options_.checkOffTreeMoves);
  controller_->SetDelay(options_.delay);
  tryMode_->SetStudyAtNewWindow(options_.studyAtNewWindow);
}

void TLattixMainForm::ClickHintAllowed() {
  // The entry has already flipped its check mark; the flow decides what it shows.
  if (passwordDlg_ == nullptr) passwordDlg_ = new TSetPasswordDlg(text_, this);
  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.beginGroup(kSettingsGroup);
  options_.hintAllowed = zendra::ClickHintAllowed(*passwordDlg_, settings, options_.hintAllowed,
                                                  [this] { Beep(); });
  settings.endGroup();
  const QSignalBlocker block(commands_.hintAllowed);
  commands_.hintAllowed->setChecked(options_.hintAllowed);
  controller_->SetHintAllowed(options_.hintAllowed);
}

void TLattixMainForm::ToggleSilent() {
  options_.silent = !options_.silent;
  controller_->SetSilent(options_.silent);
  ShowSilent();
}

void TLattixMainForm::ShowSilent() {
  commands_.silent->setIcon(
      MakeCommandIcon(options_.silent ? CommandIcon::kSoundOff : CommandIcon::kSoundOn));
  commands_.silent->setToolTip(options_.silent ? "Sounds are off" : "Sounds are on");
}

// ---- Activation and close -------------------------------------------------------------------

bool TLattixMainForm::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FirstActivation();
  return QMainWindow::event(e);
}

void TLattixMainForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  // The window is painted first; the library is read right after.
  if (!activated_)
    QMetaObject::invokeMethod(this, &TLattixMainForm::FirstActivation, Qt::QueuedConnection);
}

void TLattixMainForm::FirstActivation() {
  if (activated_) return;
  activated_ = true;
  // The program's icon is painted when the window system first asks for it: after the window
  // is up, as this runs.
  if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ProgramIcon());

  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.beginGroup(kSettingsGroup);
  const MainSettings m = ReadMainSettings(settings);
  settings.endGroup();

  displaySplashForm1_ = m.displaySplashForm1;
  displaySplashForm2_ = m.displaySplashForm2;
  ApplyOptions(StoredOptions(m, options_));

  // The stored place, kept on a screen and within its size.
  const QList<QRect> screens = AvailableScreenAreas(*this);
  const QSize fallback = DefaultWindowSize(screens.value(0, QRect(0, 0, 640, 480)).size());
  const QRect place = RestoredGeometry(m, screens, pos(), fallback, minimumSize());
  resize(place.size());
  move(place.topLeft());

  const std::string historyMessage = library_->OpenHistory();
  historyOpen_ = true;
  if (!historyMessage.empty()) QMessageBox::information(this, BoxCaption(), Q(historyMessage));
  if (paths_.firstCollection >= 0) {
    OpenCollection(paths_.firstCollection);
  } else if (!OpenFirstOwnCollection(m.topRow)) {
    library_->NextCollectionFromSettings();
    OpenCollection(m.database, m.topRow);
  }
  savedRadius_ = Lattix1->Radius();
  UpdateCommands();
}

void TLattixMainForm::closeEvent(QCloseEvent* e) {
  SaveOnClose();
  QMainWindow::closeEvent(e);
}

void TLattixMainForm::SaveOnClose() {
  if (!activated_) return;
  StopImport();
  ClosingState c;
  static_cast<MainOptions&>(c) = options_;
  c.database = ShippedCollectionToSave();
  c.topRow = GoIndex1->TopRow();
  c.selected = GoIndex1->Selected();
  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) &&
      SaneGeometry(QRect(pos(), size()), AvailableScreenAreas(*this))) {
    c.height = height();
    c.width = width();
    c.top = y();
    c.left = x();
  }
  c.installDir = paths_.programDir.endsWith('/') ? paths_.programDir : paths_.programDir + '/';
  {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    WriteMainSettings(settings, c);
    SaveOwnCollectionSetting(settings);
    settings.endGroup();
    settings.sync();  // a failure to write is not the close's business
  }
  if (historyOpen_) {
    std::string error;
    if (!library_->SaveHistory(&error))
      ShowStorageProblem("Your progress of this session could not be saved.\n\n" + error + ".");
  }
}

}  // namespace zendra
