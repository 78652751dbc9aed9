// When the data file cannot be read, the window says so and offers the player another data file
// or an import of SGF problems, rather than an empty index.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace zendra {

// The files to read instead.
struct OtherData {
  QString dataFile;
  QString historyFile;  // empty: keep the history in use
};

// Shows `message` (why the data file could not be read) with "Open data file…", "Import SGF
// problems…" and Close. Returns the files chosen and, for an import, written; nothing when the
// player closed the question or gave up in a file dialog. Imports go under `userDataDir`.
std::optional<OtherData> OfferOtherData(QWidget* parent, const QString& message,
                                        const QString& userDataDir);

}  // namespace zendra
