// Where the program finds its data file and remark list: the build folder, an install prefix,
// the XDG data folders.
#include "app/data_paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <vector>

namespace zendra {
namespace {

class DataPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDataHome_ = qgetenv("XDG_DATA_HOME");
    savedDataDirs_ = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_HOME", root_.filePath("xdg-home").toUtf8());
    qputenv("XDG_DATA_DIRS", root_.filePath("xdg-system").toUtf8());
  }
  void TearDown() override {
    qputenv("XDG_DATA_HOME", savedDataHome_);
    qputenv("XDG_DATA_DIRS", savedDataDirs_);
  }
  // Makes the file `relative` (with its folders) under the temporary root; returns its path.
  QString Make(const QString& relative) {
    const QString path = root_.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return QDir::cleanPath(path);
  }
  QString Path(const QString& relative) { return QDir::cleanPath(root_.filePath(relative)); }

  QTemporaryDir root_;
  QByteArray savedDataHome_, savedDataDirs_;
};

TEST_F(DataPaths, DataFileIsTakenFromTheFirstPlaceHoldingIt) {
  struct Case {
    const char* name;
    std::vector<const char*> files;  // made under the root before the look-up
    const char* expected;            // relative to the root
  };
  const Case cases[] = {
      {"build folder", {"bin/Zendra.dgo", "share/zendra/Zendra.dgo"}, "bin/Zendra.dgo"},
      {"install prefix", {"share/zendra/Zendra.dgo", "xdg-system/zendra/Zendra.dgo"},
       "share/zendra/Zendra.dgo"},
      {"user data folder", {"xdg-home/zendra/Zendra.dgo", "xdg-system/zendra/Zendra.dgo"},
       "xdg-home/zendra/Zendra.dgo"},
      {"system data folder", {"xdg-system/zendra/Zendra.dgo"}, "xdg-system/zendra/Zendra.dgo"},
      {"a folder named like the file is passed over",
       {"bin/Zendra.dgo/x", "share/zendra/Zendra.dgo"}, "share/zendra/Zendra.dgo"},
      {"nowhere: beside the program", {}, "bin/Zendra.dgo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(QDir(root_.path()).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(root_.filePath("bin")));
    for (const char* f : c.files) Make(f);
    EXPECT_EQ(FindDataFile(Path("bin")), Path(c.expected));
  }
}

TEST_F(DataPaths, RemarksGoWithTheDataFile) {
  const QString savedCurrent = QDir::currentPath();
  ASSERT_TRUE(QDir().mkpath(root_.filePath("elsewhere")));
  ASSERT_TRUE(QDir::setCurrent(root_.filePath("elsewhere")));
  const QString data = Make("share/zendra/Zendra.dgo");
  const QString beside = Path("share/zendra/Remark.txt");

  EXPECT_EQ(RemarkFileFor(data), beside) << "neither exists: the one beside the data file";
  const QString current = Make("elsewhere/Remark.txt");
  EXPECT_EQ(QFileInfo(RemarkFileFor(data)).canonicalFilePath(),
            QFileInfo(current).canonicalFilePath())
      << "only the current folder holds one";
  Make("share/zendra/Remark.txt");
  EXPECT_EQ(RemarkFileFor(data), beside) << "the one beside the data file comes first";

  ASSERT_TRUE(QDir::setCurrent(savedCurrent));
}

}  // namespace
}  // namespace zendra
