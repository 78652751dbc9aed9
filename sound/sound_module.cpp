// The sound module: plays the program's sounds with Qt Multimedia (QSoundEffect). Built as a
// shared module that SoundPlayer loads on first use; see sound_backend.h.
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtGlobal>
#include <map>
#include <memory>

#include "sound/sound_backend.h"

namespace zendra {

namespace {

// A sound may take this much longer than its own length before waiting gives up: room for
// the output to start, and the guarantee that a stuck device never hangs the window.
constexpr int kGraceMs = 1000;

class QtSoundBackend final : public SoundBackend {
 public:
  bool HasAudioOutput() override { return !QMediaDevices::audioOutputs().isEmpty(); }
  bool Play(const QString& path, int lengthMs, bool wait) override;

 private:
  // The player of the sound at `path`, made on first use.
  QSoundEffect* Effect(const QString& path);

  std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
};

QSoundEffect* QtSoundBackend::Effect(const QString& path) {
  std::unique_ptr<QSoundEffect>& effect = effects_[path];
  if (!effect) {
    effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl(QStringLiteral("qrc") + path));
  }
  return effect.get();
}

bool QtSoundBackend::Play(const QString& path, int lengthMs, bool wait) {
  if (lengthMs <= 0 || !HasAudioOutput()) return false;
  QSoundEffect* effect = Effect(path);
  if (effect->status() == QSoundEffect::Error) return false;
  if (!wait) {
    // A sound still loading starts as soon as it is ready.
    effect->play();
    return true;
  }
  QElapsedTimer clock;
  clock.start();
  const int deadline = lengthMs + kGraceMs;
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  // 1. Loading (the first time only).
  if (effect->status() != QSoundEffect::Ready) {
    const auto settled = QObject::connect(effect, &QSoundEffect::statusChanged, &loop, [&] {
      if (effect->status() == QSoundEffect::Ready || effect->status() == QSoundEffect::Error)
        loop.quit();
    });
    limit.start(deadline);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(settled);
    if (effect->status() != QSoundEffect::Ready) return false;
  }
  // 2. Playing to the end; the window takes no input meanwhile.
  const auto ended = QObject::connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
    if (!effect->isPlaying()) loop.quit();
  });
  effect->play();
  const int left = deadline - static_cast<int>(clock.elapsed());
  if (left > 0 && effect->status() != QSoundEffect::Error) {
    limit.start(left);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  QObject::disconnect(ended);
  if (effect->isPlaying()) effect->stop();  // overran its time: cut it off
  return effect->status() != QSoundEffect::Error;
}

}  // namespace

}  // namespace zendra

extern "C" Q_DECL_EXPORT zendra::SoundBackend* zendra_make_sound_backend() {
  return new zendra::QtSoundBackend();
}
