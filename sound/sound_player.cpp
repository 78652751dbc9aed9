#include "sound/sound_player.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <algorithm>

#include "sound/sound_backend.h"

namespace zendra {

namespace {

// The module's factory; null (after a warning) when the module is missing or fails to load.
// A loaded module stays loaded for the rest of the process.
SoundBackendFactory LoadFactory(const QString& moduleFile) {
  if (moduleFile.isEmpty()) return nullptr;
  QLibrary module(moduleFile);
  const auto make = reinterpret_cast<SoundBackendFactory>(module.resolve(kSoundBackendFactory));
  if (!make) qWarning("No sounds (beeps instead): %s", qPrintable(module.errorString()));
  return make;
}

uint32_t Le32(const QByteArray& b, qsizetype at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

uint16_t Le16(const QByteArray& b, qsizetype at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

}  // namespace

SoundPlayer::SoundPlayer(QObject* parent) : SoundPlayer(DefaultModuleFile(), parent) {}

SoundPlayer::SoundPlayer(const QString& moduleFile, QObject* parent)
    : QObject(parent), moduleFile_(moduleFile) {}

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::DefaultModuleFile() {
  // Beside the program in the build folder; in the library folder of the install prefix.
  const QDir programDir(QCoreApplication::applicationDirPath());
  const QString beside = programDir.filePath(QStringLiteral(ZENDRA_SOUND_MODULE_FILE));
  if (QFileInfo::exists(beside)) return beside;
  const QString installed = QDir::cleanPath(programDir.filePath(
      QStringLiteral(ZENDRA_SOUND_MODULE_INSTALL_DIR "/" ZENDRA_SOUND_MODULE_FILE)));
  return QFileInfo::exists(installed) ? installed : beside;
}

QString SoundPlayer::SoundPath(int number) { return QStringLiteral(":/sounds/%1.wav").arg(number); }

int SoundPlayer::SoundLengthMs(int number) {
  QFile file(SoundPath(number));
  if (!file.open(QIODevice::ReadOnly)) return 0;
  const QByteArray b = file.readAll();
  if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") return 0;
  // Walk the chunks for the format and the data.
  uint32_t rate = 0, frameBytes = 0, dataBytes = 0;
  bool pcm16 = false, haveData = false;
  qsizetype at = 12;
  while (at + 8 <= b.size()) {
    const QByteArray id = b.mid(at, 4);
    const uint32_t size = Le32(b, at + 4);
    const qsizetype body = at + 8;
    if (id == "fmt " && size >= 16 && body + 16 <= b.size()) {
      pcm16 = Le16(b, body) == 1 && Le16(b, body + 14) == 16;
      rate = Le32(b, body + 4);
      frameBytes = Le16(b, body + 12);
    } else if (id == "data") {
      dataBytes = std::min<uint32_t>(size, static_cast<uint32_t>(b.size() - body));
      haveData = true;
      break;
    }
    at = body + size + (size & 1);
  }
  if (!pcm16 || !haveData || rate == 0 || frameBytes == 0) return 0;
  return static_cast<int>(static_cast<uint64_t>(dataBytes / frameBytes) * 1000 / rate);
}

SoundBackend* SoundPlayer::Backend() {
  if (!backendTried_) {
    backendTried_ = true;
    if (const SoundBackendFactory make = LoadFactory(moduleFile_)) backend_.reset(make());
  }
  return backend_.get();
}

bool SoundPlayer::HasAudioOutput(const QString& moduleFile) {
  const SoundBackendFactory make = LoadFactory(moduleFile);
  if (!make) return false;
  const std::unique_ptr<SoundBackend> backend(make());
  return backend && backend->HasAudioOutput();
}

bool SoundPlayer::Play(int number, bool wait) {
  if (silent_) return true;
  const int length = SoundLengthMs(number);
  if (length <= 0) return false;
  SoundBackend* backend = Backend();
  return backend && backend->Play(SoundPath(number), length, wait);
}

void SoundPlayer::PlayOrBeep(int number, bool wait) {
  if (Play(number, wait)) return;
  ++beeps_;
  QApplication::beep();
}

}  // namespace zendra
