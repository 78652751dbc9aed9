#include "app/settings.h"

#include <QSettings>
#include <algorithm>

namespace zendra {
namespace {

QString Text(QSettings& s, const char* key) { return s.value(key).toString(); }

// A switch whose default is on: only "0" turns it off.
bool OnUnlessZero(QSettings& s, const char* key) { return Text(s, key) != "0"; }
// A switch whose default is off: only "1" turns it on.
bool OnlyOne(QSettings& s, const char* key) { return Text(s, key) == "1"; }

std::optional<int> Number(QSettings& s, const char* key) {
  bool ok = false;
  const int v = Text(s, key).trimmed().toInt(&ok);
  if (!ok) return std::nullopt;
  return v;
}

QString Switch(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
QString Decimal(int n) { return QString::number(n); }

}  // namespace

QSize DefaultWindowSize(QSize screen) {
  int w = screen.width();
  int h = screen.height();
  if (w > 640) w = w * 7 / 8;
  if (h > 480) h = h * 7 / 8;
  return {w, h};
}

QRect RestoredGeometry(const MainSettings& m, const QList<QRect>& screens, QPoint current,
                       QSize fallback, QSize minimum) {
  // Beyond this no screen lies; it keeps the arithmetic below far from overflow.
  static constexpr int kFar = 1 << 20;
  const auto bound = [](int v) { return std::clamp(v, -kFar, kFar); };
  QSize size(m.width && *m.width > 0 ? std::min(*m.width, kFar) : fallback.width(),
             m.height && *m.height > 0 ? std::min(*m.height, kFar) : fallback.height());
  const bool placed = m.top || m.left;
  QPoint pos(bound(m.left.value_or(current.x())), bound(m.top.value_or(current.y())));

  // The screen the stored place lies on most, else the window's own.
  QRect screen = screens.isEmpty() ? QRect(0, 0, 640, 480) : screens.front();
  if (placed) {
    const QRect wanted(pos, size);
    long long best = 0;
    for (const QRect& s : screens) {
      const QRect common = s.intersected(wanted);
      const long long area = static_cast<long long>(common.width()) * common.height();
      if (area > best) {
        best = area;
        screen = s;
      }
    }
  }
  size = size.boundedTo(screen.size()).expandedTo(minimum);
  if (!placed) pos = screen.center() - QPoint(size.width() / 2, size.height() / 2);
  pos.setX(std::clamp(pos.x(), screen.left(),
                      std::max(screen.left(), screen.right() + 1 - size.width())));
  pos.setY(std::clamp(pos.y(), screen.top(),
                      std::max(screen.top(), screen.bottom() + 1 - size.height())));
  return QRect(pos, size);
}

bool SaneGeometry(const QRect& frame, const QList<QRect>& screens) {
  if (frame.width() <= 0 || frame.height() <= 0) return false;
  return std::any_of(screens.begin(), screens.end(), [&](const QRect& s) {
    return s.intersects(frame) && frame.width() <= s.width() && frame.height() <= s.height();
  });
}

MainSettings ReadMainSettings(QSettings& s) {
  MainSettings m;
  if (s.childKeys().isEmpty()) return m;
  m.stored = true;
  m.displaySplashForm1 = OnUnlessZero(s, "DisplaySplashForm1");
  m.displaySplashForm2 = OnUnlessZero(s, "DisplaySplashForm2");
  m.silent = OnlyOne(s, "Silent");
  if (s.contains("HintAllowed")) m.hintAllowed = OnlyOne(s, "HintAllowed");
  m.displayNumbers = OnUnlessZero(s, "DisplayNumbers");
  m.nextProblemAutomatically = OnlyOne(s, "NextProblemAutomatically");
  m.takebackAutomatically = OnlyOne(s, "TakebackAutomatically");
  if (s.contains("StudyAtNewWindow")) m.studyAtNewWindow = OnlyOne(s, "StudyAtNewWindow");
  if (s.contains("BestCounterMoveOnly")) m.bestCounterMoveOnly = OnlyOne(s, "BestCounterMoveOnly");
  m.computerDoNotPlayBadMove = OnlyOne(s, "ComputerDoNotPlayBadMove");
  m.checkOffTreeMoves = OnlyOne(s, "CheckMovesTheAnswerDoesNotKnow");
  if (s.contains("Database")) m.database = Number(s, "Database").value_or(2);
  if (s.contains("TopRow")) m.topRow = Number(s, "TopRow").value_or(0);
  if (const auto d = Number(s, "DelayBeforeTakebackAutomatically"); d && *d >= 0 && *d <= 30)
    m.delay = d;
  m.width = Number(s, "Width");
  m.height = Number(s, "Height");
  m.top = Number(s, "Top");
  m.left = Number(s, "Left");
  return m;
}

MainOptions StoredOptions(const MainSettings& m, MainOptions o) {
  o.silent = m.silent;
  if (m.hintAllowed) o.hintAllowed = *m.hintAllowed;
  o.displayNumbers = m.displayNumbers;
  o.nextProblemAutomatically = m.nextProblemAutomatically;
  o.takebackAutomatically = m.takebackAutomatically;
  o.studyAtNewWindow = m.studyAtNewWindow;
  o.bestCounterMoveOnly = m.bestCounterMoveOnly;
  // A missing value reads as off, also at a first run (the settings are made then): the
  // window's creation value (on) holds only until the stored values are read.
  o.computerDoNotPlayBadMove = m.computerDoNotPlayBadMove;
  o.checkOffTreeMoves = m.checkOffTreeMoves;
  if (m.delay) o.delay = *m.delay;
  return o;
}

void WriteMainSettings(QSettings& s, const ClosingState& c) {
  s.setValue("BestCounterMoveOnly", Switch(c.bestCounterMoveOnly));
  s.setValue("ComputerDoNotPlayBadMove", Switch(c.computerDoNotPlayBadMove));
  s.setValue("CheckMovesTheAnswerDoesNotKnow", Switch(c.checkOffTreeMoves));
  s.setValue("StudyAtNewWindow", Switch(c.studyAtNewWindow));
  s.setValue("DefaultHint", QStringLiteral("1"));
  if (c.database) s.setValue("Database", Decimal(*c.database));
  s.setValue("TopRow", Decimal(c.topRow));
  if (c.selected >= 0) s.setValue("Selected", Decimal(c.selected));
  if (c.height && c.width && c.top && c.left) {
    s.setValue("Height", Decimal(*c.height));
    s.setValue("Width", Decimal(*c.width));
    s.setValue("Top", Decimal(*c.top));
    s.setValue("Left", Decimal(*c.left));
  }
  s.setValue("Silent", Switch(c.silent));
  s.setValue("DisplayNumbers", Switch(c.displayNumbers));
  s.setValue("NextProblemAutomatically", Switch(c.nextProblemAutomatically));
  s.setValue("TakebackAutomatically", Switch(c.takebackAutomatically));
  s.setValue("DelayBeforeTakebackAutomatically", Decimal(c.delay));
  if (!s.contains("InstallDir")) s.setValue("InstallDir", c.installDir);
}

}  // namespace zendra
