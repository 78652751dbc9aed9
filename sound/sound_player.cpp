#include "sound/sound_player.h"

#include <QApplication>
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace zendra {

namespace {

// A sound may take this much longer than its own length before waiting gives up: room for
// the output to start, and the guarantee that a stuck device never hangs the window.
constexpr int kGraceMs = 1000;

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

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() = default;

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

bool SoundPlayer::HasAudioOutput() { return !QMediaDevices::audioOutputs().isEmpty(); }

QSoundEffect* SoundPlayer::Effect(int number) {
  std::unique_ptr<QSoundEffect>& effect = effects_[number];
  if (!effect) {
    effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl(QStringLiteral("qrc") + SoundPath(number)));
  }
  return effect.get();
}

bool SoundPlayer::Play(int number, bool wait) {
  if (silent_) return true;
  const int length = SoundLengthMs(number);
  if (length <= 0 || !HasAudioOutput()) return false;
  QSoundEffect* effect = Effect(number);
  if (effect->status() == QSoundEffect::Error) return false;
  if (!wait) {
    // A sound still loading starts as soon as it is ready.
    effect->play();
    return true;
  }
  QElapsedTimer clock;
  clock.start();
  const int deadline = length + kGraceMs;
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  // 1. Loading (the first time only).
  if (effect->status() != QSoundEffect::Ready) {
    const auto settled = connect(effect, &QSoundEffect::statusChanged, &loop, [&] {
      if (effect->status() == QSoundEffect::Ready || effect->status() == QSoundEffect::Error)
        loop.quit();
    });
    limit.start(deadline);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    disconnect(settled);
    if (effect->status() != QSoundEffect::Ready) return false;
  }
  // 2. Playing to the end; the window takes no input meanwhile.
  const auto ended = connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
    if (!effect->isPlaying()) loop.quit();
  });
  effect->play();
  const int left = deadline - static_cast<int>(clock.elapsed());
  if (left > 0 && effect->status() != QSoundEffect::Error) {
    limit.start(left);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  disconnect(ended);
  if (effect->isPlaying()) effect->stop();  // overran its time: cut it off
  return effect->status() != QSoundEffect::Error;
}

void SoundPlayer::PlayOrBeep(int number, bool wait) {
  if (Play(number, wait)) return;
  ++beeps_;
  QApplication::beep();
}

}  // namespace zendra
