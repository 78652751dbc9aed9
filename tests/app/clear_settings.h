// The program's per-user settings emptied, so each window test starts as a first run.
#pragma once

#include <QSettings>

#include "app/settings.h"

namespace zendra::test {

inline void ClearProgramSettings() {
  QSettings s(kSettingsOrganisation, kSettingsApplication);
  s.clear();
  s.sync();
}

}  // namespace zendra::test
