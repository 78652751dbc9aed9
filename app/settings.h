// The main window's settings: the options, the open collection, the grid's top row and the
// window placement, kept between runs as strings under QSettings (organisation "Tarnwick",
// application "Lattix", group "Zendra"). Switches are "1" / "0", numbers are decimal.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QSettings;

namespace zendra {

// The QSettings organisation and application names, and the group of the per-user values.
inline constexpr const char* kSettingsOrganisation = "Tarnwick";
inline constexpr const char* kSettingsApplication = "Lattix";
inline constexpr const char* kSettingsGroup = "Zendra";

// The option switches and the takeback delay: the one value the window keeps, shows in its
// Options entries, hands to the solving controller, takes from the stored values at the first
// activation and writes at close. The defaults are those of a first run.
struct MainOptions {
  bool computerDoNotPlayBadMove = true;
  bool displayNumbers = true;
  bool nextProblemAutomatically = false;
  bool takebackAutomatically = false;
  bool silent = false;
  bool hintAllowed = true;
  bool studyAtNewWindow = false;
  bool bestCounterMoveOnly = false;
  bool checkOffTreeMoves = false;  // "Check moves the answer does not know"
  int delay = 10;  // seconds, 0..30
};

// Everything read at the first activation and written at close. Optional members are the
// values that only count when stored.
struct MainSettings {
  bool stored = false;  // the group held values; otherwise the window keeps its own defaults
  bool displaySplashForm1 = true;
  bool displaySplashForm2 = true;
  bool silent = false;
  std::optional<bool> hintAllowed;
  bool displayNumbers = true;
  bool nextProblemAutomatically = false;
  bool takebackAutomatically = false;
  bool studyAtNewWindow = false;
  bool bestCounterMoveOnly = false;
  bool computerDoNotPlayBadMove = false;
  bool checkOffTreeMoves = false;
  int database = 2;
  int topRow = 0;
  std::optional<int> delay;  // only a whole number 0..30 is kept
  std::optional<int> width;
  std::optional<int> height;
  std::optional<int> top;
  std::optional<int> left;
};

// What the window hands over at close: its options (all but the hint lock are written) and
// where it stands.
struct ClosingState : MainOptions {
  // The open collection; nothing when none was loaded in this run, which keeps the stored one
  // so that a run without the data file does not leave every later start on an empty grid.
  std::optional<int> database;
  int topRow = 1;
  int selected = -1;  // written only when 0 or more
  // Placement, written only when the window is neither minimised nor maximised.
  std::optional<int> height, width, top, left;
  QString installDir;  // written only when no value exists yet
};

// The window size used when none is stored: each side of the screen, cut to 7/8 when it is
// larger than 640 x 480 in that direction.
QSize DefaultWindowSize(QSize screen);

// Where the window goes at the first activation: the stored size (else `fallback`) and the
// stored position (else `current` for a missing one, or centred when neither is stored), kept
// on one of the available screen areas `screens` (the window's own first): no larger than that
// screen, no smaller than `minimum`, and moved onto it where it would lie beside it.
QRect RestoredGeometry(const MainSettings& m, const QList<QRect>& screens, QPoint current,
                       QSize fallback, QSize minimum);

// True when a window at `frame` (its position and size) lies on one of the `screens` and is no
// larger than it; only such a place is written back.
bool SaneGeometry(const QRect& frame, const QList<QRect>& screens);

// Reads the values from `settings` (already in the group "Zendra"). When the group holds no
// value at all, the defaults stand.
MainSettings ReadMainSettings(QSettings& settings);

// The options after the stored values: `current` with each value the settings hold; a missing
// switch reads as its stored default (the bad-move switch as off, even at a first run); the
// hint lock and the delay count only when stored (the delay only as a whole number 0..30).
MainOptions StoredOptions(const MainSettings& stored, MainOptions current);

// Writes the values into `settings` (already in the group "Zendra") in their fixed order.
void WriteMainSettings(QSettings& settings, const ClosingState& state);

}  // namespace zendra
