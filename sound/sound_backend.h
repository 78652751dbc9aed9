// The part of the sound player that needs Qt Multimedia. It lives in a module of its own
// (zendra_sound_module, beside the program) so the program starts without loading Qt
// Multimedia and the audio, codec and network libraries behind it; SoundPlayer loads the
// module with QLibrary when the first sound is played.
#pragma once

#include <QString>

namespace zendra {

class SoundBackend {
 public:
  virtual ~SoundBackend() = default;
  // True when the system offers an audio output device.
  virtual bool HasAudioOutput() = 0;
  // Plays the WAV resource at `path` (":/sounds/<number>.wav"), which lasts `lengthMs`; with
  // wait, returns once it has ended (user input is held back meanwhile; at most its length
  // + 1 s). False when it cannot be played: no audio output, or the sound fails to load.
  virtual bool Play(const QString& path, int lengthMs, bool wait) = 0;
};

// The module's one exported function: a new backend, owned by the caller. The module stays
// loaded for the rest of the process, so the backend may be deleted at any time.
using SoundBackendFactory = SoundBackend* (*)();
inline constexpr char kSoundBackendFactory[] = "zendra_make_sound_backend";

}  // namespace zendra
