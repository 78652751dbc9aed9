// The statistics window: per collection how many problems were tried, solved and solved
// cleanly at the first try; charts of attempts and clean solves per day, of the level estimate
// over time, and of the reviews due on the coming days.
//
// The window and Qt Charts live in a module of their own (libzendra_statistics_module.so),
// loaded the first time the window opens, so neither is on the way to the first window.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "library/review_statistics.h"

class QWidget;

namespace zendra {

// What the window shows: the numbers, the name of each of their collections (in the order of
// `numbers.collections`) and today's local day.
struct StatisticsContent {
  Statistics numbers;
  QStringList collectionNames;
  int64_t today = 0;
};

// The module's factory, by this name: a new top-level window (deleted on close) for `content`.
inline constexpr const char* kStatisticsWindowFactory = "ZendraStatisticsWindow";
using StatisticsWindowFactory = QWidget* (*)(const StatisticsContent& content, QWidget* parent);

// The factory from the module `file`, or when that is empty the one beside the program (or in
// the install's library folder); null with `error` when it cannot be loaded. The module stays
// loaded once it was.
StatisticsWindowFactory LoadStatisticsWindow(const QString& file, QString* error);

// A local day number as a date: "2026-12-10".
inline QString DayText(int64_t day) {
  return QDate(1970, 1, 1).addDays(day).toString(Qt::ISODate);
}

}  // namespace zendra
