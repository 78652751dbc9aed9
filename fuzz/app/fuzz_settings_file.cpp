// The settings file (~/.config/Tarnwick/Lattix.conf, an INI file): the bytes are read the way
// the main window reads its settings at the first activation, and the stored place is put on
// two screens; the window always lands on a screen, within its size.
#include <QCoreApplication>
#include <QSettings>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings.h"
#include "fuzz/fuzz_files.h"

namespace {

const std::string& SettingsPath() {
  static const std::string path = zendra::fuzz::WorkFolder("settings") + "/Lattix.conf";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(SettingsPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  QSettings settings(QString::fromStdString(SettingsPath()), QSettings::IniFormat);
  settings.beginGroup(zendra::kSettingsGroup);
  const zendra::MainSettings m = zendra::ReadMainSettings(settings);
  if (m.delay && (*m.delay < 0 || *m.delay > 30)) __builtin_trap();

  const QList<QRect> screens = {QRect(0, 0, 1024, 768), QRect(1024, -200, 1920, 1080)};
  const QRect place =
      zendra::RestoredGeometry(m, screens, QPoint(3, 4), QSize(896, 672), QSize(600, 0));
  if (!zendra::SaneGeometry(place, screens)) __builtin_trap();
  return 0;
}
