// The window tests run on Qt's offscreen platform with their own empty XDG folders, so the
// settings, the history file and the instance lock never touch the user's or the system's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
    qputenv(name, home.filePath(name).toUtf8());
  qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
  // The per-machine settings (the study window's place) too, instead of the system's folder.
  for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::SystemScope, home.filePath("system-config"));
  QCoreApplication::setOrganizationName("Tarnwick");
  QCoreApplication::setApplicationName("Lattix");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
