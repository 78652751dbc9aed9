// Where the program finds its shipped files: beside the program (the build folder), in the
// share/zendra folder of its install prefix, or in the XDG data folders (/usr/share/zendra ...).
#pragma once

#include <QString>
#include <QStringList>

namespace zendra {

// The places Zendra.dgo is looked for, in order: beside the program, <program>/../share/zendra,
// then zendra/ in every XDG data folder.
QStringList DataFileCandidates(const QString& programDir);

// The first candidate that exists; the first candidate when none does (the collection load then
// tells the user).
QString FindDataFile(const QString& programDir);

// The remark list that goes with a data file: Remark.txt in the data file's folder, else the one
// in the current folder (where older set-ups keep it); the first path when neither exists.
QString RemarkFileFor(const QString& dataFile);
// The same for the remark file `fileName` (RemarkGB.txt, the Chinese list).
QString RemarkFileFor(const QString& dataFile, const QString& fileName);

}  // namespace zendra
