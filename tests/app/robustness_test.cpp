// The program's shell under trouble: stale and foreign lock files, a second start, the system
// asking the program to end, absurd stored geometry, a history that cannot be written, and a
// stored collection the data file does not hold.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <atomic>
#include <thread>

#include "app/session_end.h"
#include "app/settings.h"
#include "app/single_instance.h"
#include "app/window_notices.h"
#include "index/go_index.h"
#include "tests/app/window_test_util.h"

namespace zendra {
namespace {

const QString kModule = QStringLiteral(ZENDRA_INSTANCE_MODULE_PATH);

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// ---- The lock ------------------------------------------------------------------------------

// Lock files no running copy holds are taken over; none of them stops the start.
TEST(SingleInstanceTest, StaleLocksAreTakenOver) {
  const struct {
    const char* what;
    std::function<void(const QString& path)> make;
  } cases[] = {
      {"an empty file", [](const QString& p) { WriteBytes(p, ""); }},
      {"garbage", [](const QString& p) { WriteBytes(p, QByteArray("\x01\xFF\x00zz\n\n", 7)); }},
      {"an empty folder", [](const QString& p) { QDir().mkdir(p); }},
      {"a folder with a file in it",
       [](const QString& p) {
         QDir().mkdir(p);
         WriteBytes(p + "/x", "x");
       }},
      {"a gone process", [](const QString& p) { WriteBytes(p, "999999999\napp_tests\n\n"); }},
      {"another program's process",
       [](const QString& p) {
         WriteBytes(p, QByteArray::number(static_cast<qint64>(getppid())) + "\napp_tests\n\n");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString path = dir.filePath("VexLattixZendra");
    c.make(path);
    SingleInstance instance({dir.path()}, kModule);
    ASSERT_EQ(instance.Acquire(), SingleInstance::Outcome::kFirst)
        << instance.Reason().toStdString();
    EXPECT_EQ(instance.LockPath(), path);
    qint64 pid = 0;
    QString host;
    QString app;
    QLockFile reader(path);
    ASSERT_TRUE(reader.getLockInfo(&pid, &host, &app));
    EXPECT_EQ(pid, QCoreApplication::applicationPid());
  }
}

// A later start finds the running copy, which comes to the front (shown, not minimised) and
// takes the files the later start was given, whatever their names hold, as absolute paths.
TEST(SingleInstanceTest, ALaterStartBringsTheRunningWindowToTheFrontWithItsFiles) {
  QTemporaryDir dir;
  SingleInstance running({dir.path()}, kModule);
  ASSERT_EQ(running.Acquire(), SingleInstance::Outcome::kFirst);
  QWidget window;
  int raised = 0;
  QStringList taken;
  QString error;
  ASSERT_TRUE(running.Listen(
      [&](const QStringList& files) {
        ++raised;
        taken = files;
        BringToFront(&window);
      },
      &error))
      << error.toStdString();

  const QString odd = dir.filePath("a b%20\nc\u00e9\u68cb.sgf");
  const QStringList cases[] = {
      {},
      {dir.filePath("one.sgf")},
      {odd, QStringLiteral("relative/problems"), dir.filePath("line\nbreak"), QString(9000, 'x')},
  };
  for (const QStringList& files : cases) {
    SCOPED_TRACE(files.join(", ").left(200).toStdString());
    window.showMinimized();
    SingleInstance later({dir.path()}, kModule);
    ASSERT_EQ(later.Acquire(), SingleInstance::Outcome::kOtherRuns);
    EXPECT_EQ(later.OtherPid(), QCoreApplication::applicationPid());
    // The later start waits for its answer, which the running copy gives from its event loop.
    std::atomic<bool> done{false};
    bool answered = false;
    QString why;
    std::thread ask([&] {
      answered = later.AskToRaise(5000, &why, files);
      done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ask.join();
    QCoreApplication::processEvents();
    EXPECT_TRUE(answered) << why.toStdString();
    QStringList absolute;
    for (const QString& f : files) absolute << QFileInfo(f).absoluteFilePath();
    EXPECT_EQ(taken, absolute);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
  }
  EXPECT_EQ(raised, 3);
}

// A running copy that does not listen: the later start says which process it is and ends.
TEST(SingleInstanceTest, ACopyThatDoesNotAnswerIsNamed) {
  QTemporaryDir dir;
  SingleInstance running({dir.path()}, kModule);
  ASSERT_EQ(running.Acquire(), SingleInstance::Outcome::kFirst);
  SingleInstance later({dir.path()}, kModule);
  ASSERT_EQ(later.Acquire(), SingleInstance::Outcome::kOtherRuns);
  QString why;
  EXPECT_FALSE(later.AskToRaise(300, &why));
  EXPECT_TRUE(why.contains("already running (process " +
                           QString::number(QCoreApplication::applicationPid()) + ")"))
      << why.toStdString();
  EXPECT_TRUE(why.contains("does not answer")) << why.toStdString();
}

// Where no lock can be made (a file stands where the folder should be), the next folder serves;
// where none can, the start goes on without a lock and says why.
TEST(SingleInstanceTest, TheLockMovesToTheNextFolderOrNowhere) {
  QTemporaryDir dir;
  WriteBytes(dir.filePath("blocked"), "not a folder");
  const QString blocked = dir.filePath("blocked/runtime");
  const QString data = dir.filePath("data");
  ASSERT_TRUE(QDir().mkdir(data));

  SingleInstance second({blocked, data}, kModule);
  ASSERT_EQ(second.Acquire(), SingleInstance::Outcome::kFirst);
  EXPECT_EQ(second.LockPath(), data + "/VexLattixZendra");

  SingleInstance none({blocked, dir.filePath("blocked/data")}, kModule);
  ASSERT_EQ(none.Acquire(), SingleInstance::Outcome::kNoLock);
  EXPECT_TRUE(none.Reason().contains(blocked + "/VexLattixZendra")) << none.Reason().toStdString();
  EXPECT_TRUE(none.Reason().contains(dir.filePath("blocked/data"))) << none.Reason().toStdString();
}

// ---- The system's request to end -------------------------------------------------------------

TEST(SessionEndTest, EachSignalClosesThroughTheEventLoop) {
  struct sigaction before {};
  sigaction(SIGTERM, nullptr, &before);
  {
    int closes = 0;
    SessionEnd end([&closes] { ++closes; });
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
      const int expected = closes + 1;
      ASSERT_EQ(raise(signal), 0);
      EXPECT_EQ(closes, expected - 1) << "nothing happens inside the signal handler";
      for (int i = 0; i < 50 && closes < expected; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      EXPECT_EQ(closes, expected) << "signal " << signal;
    }
  }
  struct sigaction after {};
  sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler) << "the old handler is back";
}

// ---- Geometry --------------------------------------------------------------------------------

TEST(GeometryTest, RestoredPlacesStayOnAScreen) {
  const QList<QRect> one = {QRect(0, 0, 1024, 768)};
  const QList<QRect> two = {QRect(0, 0, 1024, 768), QRect(1024, 0, 1280, 1024)};
  const QSize fallback(896, 672);
  const QSize minimum(600, 0);
  struct Case {
    const char* what;
    std::optional<int> left, top, width, height;
    QList<QRect> screens;
    QRect expected;
  };
  const Case cases[] = {
      {"nothing stored: the default size, centred", {}, {}, {}, {}, one, QRect(63, 47, 896, 672)},
      {"a sane place", 10, 20, 700, 500, one, QRect(10, 20, 700, 500)},
      {"far off to the top left", -100000, -100000, 700, 500, one, QRect(0, 0, 700, 500)},
      {"far off to the bottom right", 100000, 100000, 700, 500, one, QRect(324, 268, 700, 500)},
      {"larger than the screen", 0, 0, 30000, 30000, one, QRect(0, 0, 1024, 768)},
      {"larger and beside it", -5000, 9000, 30000, 30000, one, QRect(0, 0, 1024, 768)},
      {"the largest numbers", INT_MAX, INT_MIN, INT_MAX, INT_MAX, one, QRect(0, 0, 1024, 768)},
      {"no size: the default size", 10, 10, 0, -5, one, QRect(10, 10, 896, 672)},
      {"narrower than the window may be", 10, 10, 100, 100, one, QRect(10, 10, 600, 100)},
      {"on the second screen", 1100, 50, 900, 700, two, QRect(1100, 50, 900, 700)},
      {"too large for the first, on the second", 1024, 0, 1200, 1000, two,
       QRect(1024, 0, 1200, 1000)},
      {"half over the edge of the second", 2000, 100, 900, 700, two, QRect(1404, 100, 900, 700)},
  };
  for (const Case& c : cases) {
    MainSettings m;
    m.left = c.left;
    m.top = c.top;
    m.width = c.width;
    m.height = c.height;
    const QRect got = RestoredGeometry(m, c.screens, QPoint(5, 5), fallback, minimum);
    EXPECT_EQ(got, c.expected) << c.what;
    EXPECT_TRUE(SaneGeometry(got, c.screens)) << c.what;
  }
  EXPECT_FALSE(SaneGeometry(QRect(-100000, -100000, 700, 500), one));
  EXPECT_FALSE(SaneGeometry(QRect(0, 0, 30000, 500), one));
  EXPECT_FALSE(SaneGeometry(QRect(0, 0, 0, 500), one));
}

class WindowTest : public test::MainWindowTest {
 protected:
  static void Store(std::initializer_list<std::pair<const char*, const char*>> values) {
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    for (const auto& [key, value] : values) s.setValue(key, value);
  }
  static QString Stored(const char* key) {
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    return s.value(key).toString();
  }
  QMessageBox* Notice() const {
    return form->findChild<QMessageBox*>(kStorageNoticeName, Qt::FindDirectChildrenOnly);
  }
};

// A stored place far off screen and far larger than it: the window comes up on the screen and
// within its size, and only that sane place is written back.
TEST_F(WindowTest, AbsurdStoredGeometryIsKeptOnTheScreen) {
  Store({{"Left", "-100000"}, {"Top", "-100000"}, {"Width", "30000"}, {"Height", "400"}});
  TLattixMainForm& f = Start();
  const QRect screen = f.screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(QRect(f.pos(), f.size())))
      << "window at " << f.x() << "," << f.y() << " size " << f.width() << "x" << f.height();
  f.close();
  EXPECT_GE(Stored("Left").toInt(), screen.left());
  EXPECT_GE(Stored("Top").toInt(), screen.top());
  EXPECT_LE(Stored("Width").toInt(), screen.width());
}

// The history cannot be written (a file stands where its folder should be): the window says so
// once, without a modal box, the play goes on, and what was counted is written as soon as the
// folder can be made.
TEST_F(WindowTest, AWriteFailureIsToldOnceThroughTheWindow) {
  WriteBytes(dir.filePath("data"), "in the way");
  const QString history = dir.filePath("data/History1.cds");
  TLattixMainForm& f = Start("Zendra.dgo", history);
  f.Command("miSolveIt1")->trigger();
  Click(10, 10);  // a failure
  QMessageBox* notice = Notice();
  ASSERT_NE(notice, nullptr) << "the player is told";
  EXPECT_TRUE(notice->isVisible());
  EXPECT_FALSE(notice->isModal());
  EXPECT_TRUE(notice->text().contains("cannot be saved")) << notice->text().toStdString();
  EXPECT_TRUE(notice->text().contains(history)) << notice->text().toStdString();
  notice->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  f.Command("miSolveAgain1")->trigger();
  Click(11, 11);  // another failure: nothing more is said
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_EQ(f.LabelText("LabelFailureCount"), "Failure count: 2") << "the play went on";

  QFile::remove(dir.filePath("data"));
  ASSERT_TRUE(QDir().mkdir(dir.filePath("data")));
  f.Command("miSolveAgain1")->trigger();
  Click(12, 12);
  f.close();
  EXPECT_TRUE(boxes.texts.empty());
  TLattixMainForm& g = Start("Zendra.dgo", history);
  g.Command("miSolveIt1")->trigger();
  EXPECT_EQ(g.LabelText("LabelFailureCount"), "Failure count: 3") << "nothing was lost";
}

// A stored collection the data file does not hold: the first one it holds opens, and the
// player is told why.
TEST_F(WindowTest, AStoredCollectionThatIsNotThereFallsBackToTheFirst) {
  Store({{"Database", "7"}});
  TLattixMainForm& f = Start();
  EXPECT_EQ(f.Grid()->Count(), 1) << "collection 0 holds one problem";
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_TRUE(boxes.texts[0].contains("(7) is not in the data file"))
      << boxes.texts[0].toStdString();
  EXPECT_TRUE(boxes.texts[0].contains("Basic")) << boxes.texts[0].toStdString();
  f.close();
  EXPECT_EQ(Stored("Database"), "0");

  // A collection chosen from the menu is opened as it is, empty or not.
  TLattixMainForm& g = Start();
  EXPECT_EQ(g.Grid()->Count(), 1);
  g.OpenCollection(3);
  EXPECT_EQ(g.Grid()->Count(), 0);
}

}  // namespace
}  // namespace zendra
