// The program's numbered sounds, played with Qt Multimedia.
//
// Each sound is a WAV resource ":/sounds/<number>.wav" made at build time. The program itself
// does not link Qt Multimedia: the player loads the sound module (zendra_sound_module, beside
// the program) with QLibrary when the first sound is played, so neither it nor the audio
// libraries behind it load before the first window shows. When the module is missing or fails
// to load, every sound is refused (the caller beeps). In the module a sound's player
// (QSoundEffect) is made the first time the sound is asked for. Waiting playback runs a local
// event loop that ignores user input until the sound ends, and never longer than the sound's
// length plus one second.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "solving/solving_ports.h"

namespace zendra {

class SoundBackend;

class SoundPlayer : public QObject, public SolvingSounds {
  Q_OBJECT

 public:
  // Plays through the sound module beside the program or installed (DefaultModuleFile()).
  explicit SoundPlayer(QObject* parent = nullptr);
  // Plays through the sound module `moduleFile`, loaded on first use.
  explicit SoundPlayer(const QString& moduleFile, QObject* parent = nullptr);
  ~SoundPlayer() override;

  // Plays sound `number`; with wait, returns once it has ended (user input is held back
  // meanwhile; at most its length + 1 s). True while silenced (nothing is played). False when
  // it cannot be played: no such sound, no sound module, no audio output, or the sound fails to
  // load; the caller then beeps.
  bool Play(int number, bool wait) override;
  // Play, with QApplication::beep() standing in for a sound that cannot be played.
  void PlayOrBeep(int number, bool wait);

  // "&Silent": while on, nothing is played and nothing beeps.
  void SetSilent(bool on) { silent_ = on; }
  bool Silent() const { return silent_; }

  // How many times PlayOrBeep beeped instead of playing.
  int BeepCount() const { return beeps_; }

  // The resource path of sound `number`, ":/sounds/<number>.wav".
  static QString SoundPath(int number);
  // The length of sound `number` in milliseconds, read from its WAV header; 0 when the program
  // holds no such sound or its header is not 16-bit PCM.
  static int SoundLengthMs(int number);
  // True when the system offers an audio output device; false as well when the sound module
  // `moduleFile` cannot be loaded.
  static bool HasAudioOutput(const QString& moduleFile = DefaultModuleFile());
  // The sound module in the program's folder, else in <prefix>/lib/zendra when installed.
  static QString DefaultModuleFile();

 private:
  // The module's player, made on first use; null when the module cannot be loaded (then it is
  // not tried again).
  SoundBackend* Backend();

  QString moduleFile_;
  std::unique_ptr<SoundBackend> backend_;
  bool backendTried_ = false;
  bool silent_ = false;
  int beeps_ = 0;
};

}  // namespace zendra
