// Times the program's own import path: the SgfImportJob the window runs for "Import SGF
// problems…" (the importer on a thread of its own, the progress dialog polled on the window
// thread), on the offscreen platform, with nothing else in the process.
//
//   import_probe USER_DATA_DIR SOURCE...
//
// Prints one line of key=value pairs: the SGF files read, the problems imported, when the
// dialog first showed a count of files read (ms after the start), the whole import (ms, until
// the data file is written and the job has ended), and the longest time the window thread went
// without running its 10 ms timer meanwhile (how long a click would have waited at worst).
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/own_problems.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: import_probe USER_DATA_DIR SOURCE...\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  const QStringList sources = args.mid(2);
  const zendra::OwnDataFiles target = zendra::OwnDataFor(sources, args[1]);

  QElapsedTimer clock;
  clock.start();
  qint64 firstCount = -1;
  qint64 lastTick = 0;
  qint64 longestGap = 0;
  zendra::SgfImportJob job(nullptr, sources, target, Qt::NonModal);
  QTimer tick;
  tick.setInterval(10);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    longestGap = std::max(longestGap, now - lastTick);
    lastTick = now;
    if (firstCount < 0 && job.Dialog() && job.Dialog()->value() > 0) firstCount = now;
  });
  tick.start();
  QObject::connect(&job, &zendra::SgfImportJob::Finished, &app, &QCoreApplication::quit);
  app.exec();
  const qint64 total = clock.elapsed();
  const zendra::OwnImportResult& r = job.Result();
  std::printf("files=%d imported=%d refused=%lld written=%d first_count_ms=%lld total_ms=%lld "
              "longest_gap_ms=%lld folder=%s\n",
              r.files, r.imported, static_cast<long long>(r.refusals.size()), r.written ? 1 : 0,
              static_cast<long long>(firstCount), static_cast<long long>(total),
              static_cast<long long>(longestGap), qPrintable(target.folder));
  return r.written ? 0 : 1;
}
