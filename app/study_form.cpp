#include "app/study_form.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "app/board_values.h"
#include "app/settings.h"
#include "app/window_notices.h"
#include "board/widget/lattix.h"

namespace zendra {
namespace {

constexpr int kBoardPanelMin = 100;
constexpr int kBoardPanelMax = 800;
// The window's design size; stored sizes count only above the smallest sensible one.
constexpr QSize kDesignSize(560, 470);
constexpr int kSmallestStoredWidth = 320;
constexpr int kSmallestStoredHeight = 240;
// Below this many bits per pixel the board uses its reduced colours.
constexpr int kFewestFullColourBits = 15;

constexpr char kCommonGroup[] = "Common";

std::optional<int> StoredNumber(QSettings& s, const char* key) {
  if (!s.contains(key)) return std::nullopt;
  bool ok = false;
  const int v = s.value(key).toString().trimmed().toInt(&ok);
  if (!ok) return std::nullopt;
  return v;
}

}  // namespace

TStudyForm::TStudyForm(const Localizer& text, QWidget* parent)
    : QWidget(parent, Qt::Window), text_(text) {
  setObjectName("StudyForm");
  setWindowTitle(Say(Text::kStudyCaption));
  setMinimumSize(kSmallestStoredWidth, kSmallestStoredHeight);
  resize(kDesignSize);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* left = new QVBoxLayout;
  left->setSpacing(2);
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  Panel1->setMinimumWidth(kBoardPanelMin);
  Panel1->setMaximumSize(kBoardPanelMax, kBoardPanelMax);
  Panel1->installEventFilter(this);
  Lattix1 = new TLattix(Panel1);
  Lattix1->setObjectName("Lattix1");
  ApplyStoredBoardValues(*Lattix1, kStudyBoardValues);
  if (screen() && screen()->depth() < kFewestFullColourBits) Lattix1->SetPal256(true);
  sb1 = new QScrollBar(Qt::Horizontal, this);
  sb1->setObjectName("sb1");
  sb1->setRange(0, 0);
  sb1->hide();
  left->addWidget(Panel1, 1);
  left->addWidget(sb1);
  layout->addLayout(left, 1);

  auto* buttons = new QVBoxLayout;
  const auto make = [&](const char* name, Text caption) {
    auto* b = new QPushButton(Say(caption), this);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    buttons->addWidget(b);
    return b;
  };
  btnTakeBack = make("btnTakeBack", Text::kStudyTakeBack);
  btnNext = make("btnNext", Text::kStudyNextMove);
  btnNext->setEnabled(false);
  btn1 = make("btn1", Text::kStudyBeginFrom1);
  btnStudy = make("btnStudy", Text::kStudyRestoreFirst);
  btnStudy->setCheckable(true);
  buttons->addStretch(1);
  btnClose = make("btnClose", Text::kStudyFinish);
  layout->addLayout(buttons);

  connect(btnTakeBack, &QPushButton::clicked, this, &TStudyForm::TakeBack);
  connect(btnNext, &QPushButton::clicked, this, &TStudyForm::NextMove);
  connect(btn1, &QPushButton::clicked, this, &TStudyForm::BeginFrom1);
  connect(btnStudy, &QPushButton::clicked, this, [this] { StudyToggled(true); });
  connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);
  connect(sb1, &QScrollBar::valueChanged, this, [this](int a) { GoToMove(a, true); });
  Lattix1->OnLegalMove = [this](LattixEngine*, int16_t, int16_t, int16_t, int16_t, bool) {
    btnTakeBack->setEnabled(true);
  };

  ReadPlacement();
}

TStudyForm::~TStudyForm() {
  Lattix1->OnLegalMove = nullptr;
  WritePlacement();
}

QString TStudyForm::Say(Text id) const {
  const std::string s = text_.Say(id);
  if (!text_.Chinese() || FormsOf(id).gb == nullptr) return QString::fromStdString(s);
  return DecodeChinese(s, text_.language == Language::kTraditionalChinese && text_.convert);
}

// ---- Opening and moving -----------------------------------------------------------------------

void TStudyForm::Open(const LattixEngine& b) {
  // The problem's set-up stones and first player come along, so the line replays on the
  // position it was played on (the set-up strings go after InitialProc, which sets them too).
  Lattix1->SetFirstToPlay(b.FirstToPlay());
  Lattix1->SetInitialProc(b.InitialProc());
  Lattix1->SetArrangedSideP(b.ArrangedSideP());
  Lattix1->SetArrangedSideN(b.ArrangedSideN());
  Lattix1->DrawBoard();
  Lattix1->NewGame(true);

  handicap_ = b.Handicap();
  Lattix1->SetHandicap(handicap_);
  Lattix1->SetGivenProcess(b.Process());
  {
    const QSignalBlocker block(sb1);
    sb1->setMaximum(GivenMoves());
  }
  GoToMove(b.NextMove() - 1);

  UpdateStudyButtons();
  show();
  raise();
  activateWindow();

  btnStudy->setChecked(true);
  StudyToggled(false);
}

void TStudyForm::GoToMove(int a, bool fromScrollBar) {
  const int next = Lattix1->NextMove();
  if (next == a + 1) {
    // Already there.
  } else if (next == a) {
    const std::string& line = Lattix1->GivenProcess();
    if (a >= 1 && a <= GivenMoves()) {
      const auto at = static_cast<std::size_t>(2 * (a - 1));
      const int p = Lattix1->LetterToCoord(line[at]);
      const int q = Lattix1->LetterToCoord(line[at + 1]);
      if (Lattix1->IsOnBoard(p, q)) Lattix1->PlayMove(p, q, true);
    }
  } else if (next == a + 2) {
    Lattix1->TakeBack();
  } else {
    Lattix1->DrawBoard();
    Lattix1->SetHandicap(handicap_);
    Lattix1->NewGame(true);
    Lattix1->GoToMove(a, true);
  }
  if (!fromScrollBar) SetScrollBar(Lattix1->NextMove() - 1);
  UpdateStudyButtons();
}

void TStudyForm::TakeBack() {
  Lattix1->TakeBack();
  SetScrollBar(Lattix1->NextMove() - 1);
  UpdateStudyButtons();
}

void TStudyForm::NextMove() {
  btnNext->setEnabled(false);
  const int next = Lattix1->NextMove();
  if (next >= 1 && next <= GivenMoves()) {
    const std::string& line = Lattix1->GivenProcess();
    const auto at = static_cast<std::size_t>(2 * (next - 1));
    Lattix1->PlayMove(Lattix1->LetterToCoord(line[at]), Lattix1->LetterToCoord(line[at + 1]), true);
  }
  SetScrollBar(Lattix1->NextMove() - 1);
  UpdateStudyButtons();
}

void TStudyForm::BeginFrom1() {
  btnStudy->setChecked(false);
  StudyToggled(false);
  SetScrollBar(0);
  GoToMove(0);
}

void TStudyForm::StudyToggled(bool byUser) {
  btnStudy->setEnabled(false);
  const bool down = btnStudy->isChecked();
  Lattix1->SetStudy(down);
  if (down) {
    studyStart_ = Lattix1->NextMove() - 1;
    Lattix1->SetNewMoveEnabled(true);
    sb1->hide();
    btnStudy->setText(Say(Text::kStudyRestore));
  } else {
    Lattix1->SetNewMoveEnabled(false);
    if (byUser) {
      // The explored moves go; the scroll bar shows the move the board is back on.
      Lattix1->GoToMove(studyStart_, true);
      SetScrollBar(Lattix1->NextMove() - 1);
    }
    sb1->show();
    btnStudy->setText(Say(Text::kStudyStudy));
  }
  UpdateStudyButtons();
  btnStudy->setEnabled(true);
}

void TStudyForm::UpdateStudyButtons() {
  const int next = Lattix1->NextMove();
  const int last = btnStudy->isChecked() ? studyStart_ : GivenMoves();
  btnNext->setEnabled(next <= last);
  btnTakeBack->setEnabled(next > 1);
}

void TStudyForm::SetScrollBar(int value) {
  const QSignalBlocker block(sb1);
  sb1->setValue(value);
}

int TStudyForm::GivenMoves() const { return static_cast<int>(Lattix1->GivenProcess().size() / 2); }

// ---- Board panel ------------------------------------------------------------------------------

bool TStudyForm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == Panel1 && e->type() == QEvent::Resize) LayoutBoard();
  return QWidget::eventFilter(watched, e);
}

void TStudyForm::LayoutBoard() {
  Lattix1->setGeometry(1, 1, std::max(1, Panel1->width() - 2), std::max(1, Panel1->height() - 2));
}

// ---- Placement --------------------------------------------------------------------------------

std::unique_ptr<QSettings> TStudyForm::CommonSettings() {
  auto s = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope,
                                       kSettingsOrganisation, kSettingsApplication);
  s->beginGroup(kCommonGroup);
  return s;
}

void TStudyForm::ReadPlacement() {
  MainSettings stored;  // only the placement counts here
  {
    const std::unique_ptr<QSettings> s = CommonSettings();
    if (const auto w = StoredNumber(*s, "StudyFormWidth"); w && *w > kSmallestStoredWidth)
      stored.width = w;
    if (const auto h = StoredNumber(*s, "StudyFormHeight"); h && *h > kSmallestStoredHeight)
      stored.height = h;
    stored.top = StoredNumber(*s, "StudyFormTop");
    stored.left = StoredNumber(*s, "StudyFormLeft");
  }
  // Kept on a screen and within its size, as the main window's place is.
  const QRect place =
      RestoredGeometry(stored, AvailableScreenAreas(*this), pos(), size(), minimumSize());
  resize(place.size());
  move(place.topLeft());
}

void TStudyForm::WritePlacement() {
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  if (!SaneGeometry(QRect(pos(), size()), AvailableScreenAreas(*this))) return;
  // Where the settings cannot be written (a system folder the user may not change), the place
  // is simply not kept.
  const std::unique_ptr<QSettings> s = CommonSettings();
  s->setValue("StudyFormWidth", QString::number(width()));
  s->setValue("StudyFormHeight", QString::number(height()));
  s->setValue("StudyFormTop", QString::number(y()));
  s->setValue("StudyFormLeft", QString::number(x()));
  s->sync();
}

}  // namespace zendra
