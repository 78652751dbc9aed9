// The program's numbered sounds, played with Qt Multimedia.
//
// Each sound is a WAV resource ":/sounds/<number>.wav" made at build time. A sound's player
// (QSoundEffect) is made the first time the sound is asked for, so nothing is loaded before
// the first window shows. Waiting playback runs a local event loop that ignores user input
// until the sound ends, and never longer than the sound's length plus one second.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>

#include "solving/solving_ports.h"

class QSoundEffect;

namespace zendra {

class SoundPlayer : public QObject, public SolvingSounds {
  Q_OBJECT

 public:
  explicit SoundPlayer(QObject* parent = nullptr);
  ~SoundPlayer() override;

  // Plays sound `number`; with wait, returns once it has ended (user input is held back
  // meanwhile; at most its length + 1 s). True while silenced (nothing is played). False when
  // it cannot be played: no such sound, no audio output, or the sound fails to load; the caller
  // then beeps.
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
  // True when the system offers an audio output device.
  static bool HasAudioOutput();

 private:
  // The player of sound `number`, made on first use.
  QSoundEffect* Effect(int number);

  std::map<int, std::unique_ptr<QSoundEffect>> effects_;
  bool silent_ = false;
  int beeps_ = 0;
};

}  // namespace zendra
