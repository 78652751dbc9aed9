// The built-in sounds and their player. Nobody can listen here, so the waveforms are checked by
// their numbers: a well-formed 16-bit PCM header, a length that suits a sound the window waits
// for, a real signal that never clips and starts and ends quietly, and spectra far enough apart
// to tell the sounds from one another. The player is checked without an audio device and
// without its sound module (the Qt Multimedia part, loaded at the first sound): it must refuse
// promptly (so the caller beeps) and never hang.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "solving/solving_controller.h"
#include "sound/sound_player.h"

namespace zendra::test {
namespace {

// The sound module as the build made it.
const QString kModule = QStringLiteral(ZENDRA_SOUND_MODULE_PATH);

const int kNumbers[] = {kSoundClick,  kSoundWeakMove, kSoundSuccess,  kSoundSuccessFlagged,
                        kSoundSolved, kSoundFailure,  kSoundDataError};

uint32_t Le32(const QByteArray& b, int at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
int Le16(const QByteArray& b, int at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}

struct Wave {
  int rate = 0;
  std::vector<double> samples;  // -1..1
  int lengthMs() const { return static_cast<int>(samples.size() * 1000 / rate); }
};

// Reads sound `number` from the resources, checking its header on the way.
Wave ReadWave(int number) {
  Wave wave;
  QFile file(SoundPlayer::SoundPath(number));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << number;
  const QByteArray b = file.readAll();
  if (b.size() < 44) {
    ADD_FAILURE() << number << ": " << b.size() << " bytes";
    return wave;
  }
  EXPECT_EQ(b.left(4), "RIFF") << number;
  EXPECT_EQ(Le32(b, 4), static_cast<uint32_t>(b.size() - 8)) << number;
  EXPECT_EQ(b.mid(8, 8), "WAVEfmt ") << number;
  EXPECT_EQ(Le32(b, 16), 16u) << number;
  EXPECT_EQ(Le16(b, 20), 1) << number << ": PCM";
  EXPECT_EQ(Le16(b, 22), 1) << number << ": mono";
  wave.rate = static_cast<int>(Le32(b, 24));
  EXPECT_TRUE(wave.rate == 22050 || wave.rate == 44100) << number << ": " << wave.rate;
  EXPECT_EQ(Le32(b, 28), static_cast<uint32_t>(wave.rate * 2)) << number << ": bytes/s";
  EXPECT_EQ(Le16(b, 32), 2) << number << ": frame";
  EXPECT_EQ(Le16(b, 34), 16) << number << ": bits";
  EXPECT_EQ(b.mid(36, 4), "data") << number;
  EXPECT_EQ(Le32(b, 40), static_cast<uint32_t>(b.size() - 44)) << number;
  for (int at = 44; at + 1 < b.size(); at += 2)
    wave.samples.push_back(static_cast<int16_t>(Le16(b, at)) / 32768.0);
  return wave;
}

// Magnitude of the whole sound at frequency f (Goertzel).
double Magnitude(const Wave& wave, double f) {
  const double w = 2 * std::numbers::pi * f / wave.rate;
  const double c = 2 * std::cos(w);
  double s1 = 0, s2 = 0;
  for (double x : wave.samples) {
    const double s = x + c * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  return std::sqrt(s1 * s1 + s2 * s2 - c * s1 * s2) / static_cast<double>(wave.samples.size());
}

// The spectrum in semitone steps from 100 Hz to about 6.4 kHz, each bin the strongest of five
// probes across its width, normalised to length 1.
std::vector<double> Spectrum(const Wave& wave) {
  std::vector<double> bins;
  double norm = 0;
  for (int k = 0; k < 72; ++k) {
    double best = 0;
    for (int probe = -2; probe <= 2; ++probe)
      best = std::max(best, Magnitude(wave, 100 * std::pow(2.0, (k + probe / 5.0) / 12)));
    bins.push_back(best);
    norm += best * best;
  }
  for (double& v : bins) v /= std::sqrt(norm);
  return bins;
}

TEST(Sounds, EverySoundIsAWellFormedAudibleCleanWave) {
  for (int number : kNumbers) {
    const Wave wave = ReadWave(number);
    ASSERT_FALSE(wave.samples.empty()) << number;
    EXPECT_EQ(SoundPlayer::SoundLengthMs(number), wave.lengthMs()) << number;
    // Short: the window waits for every sound but the click, which comes with each move.
    if (number == kSoundClick) {
      EXPECT_GE(wave.lengthMs(), 20);
      EXPECT_LE(wave.lengthMs(), 100);
    } else {
      EXPECT_GE(wave.lengthMs(), 150) << number;
      EXPECT_LE(wave.lengthMs(), 1000) << number;
    }
    double peak = 0, energy = 0;
    for (double x : wave.samples) {
      peak = std::max(peak, std::abs(x));
      energy += x * x;
    }
    const double rms = std::sqrt(energy / static_cast<double>(wave.samples.size()));
    EXPECT_GT(peak, 0.4) << number << ": too quiet";
    EXPECT_LT(peak, 0.9) << number << ": too close to clipping";
    EXPECT_GT(rms, 0.02) << number << ": mostly silence";
    // No crack at either end.
    EXPECT_LT(std::abs(wave.samples.front()), 0.02) << number;
    EXPECT_LT(std::abs(wave.samples.back()), 0.02) << number;
  }
}

TEST(Sounds, SpectraAreFarApart) {
  std::vector<std::vector<double>> spectra;
  for (int number : kNumbers) spectra.push_back(Spectrum(ReadWave(number)));
  for (std::size_t i = 0; i < spectra.size(); ++i)
    for (std::size_t j = i + 1; j < spectra.size(); ++j) {
      double similarity = 0;
      for (std::size_t k = 0; k < spectra[i].size(); ++k)
        similarity += spectra[i][k] * spectra[j][k];
      EXPECT_LT(similarity, 0.6) << kNumbers[i] << " and " << kNumbers[j];
    }
}

TEST(Sounds, UnknownSoundHasNoLength) {
  EXPECT_EQ(SoundPlayer::SoundLengthMs(1234), 0);
  EXPECT_EQ(SoundPlayer::SoundLengthMs(-1), 0);
}

// ---- Player ---------------------------------------------------------------------------------

TEST(SoundPlayerTest, SilentPlaysNothingAndNeverBeeps) {
  SoundPlayer player(kModule);
  player.SetSilent(true);
  for (int number : kNumbers) {
    EXPECT_TRUE(player.Play(number, true)) << number;
    player.PlayOrBeep(number, true);
  }
  EXPECT_TRUE(player.Play(1234, true));  // silenced before anything is looked up
  EXPECT_EQ(player.BeepCount(), 0);
}

TEST(SoundPlayerTest, UnknownSoundBeeps) {
  SoundPlayer player(kModule);
  EXPECT_FALSE(player.Play(1234, false));
  EXPECT_FALSE(player.Play(1234, true));
  player.PlayOrBeep(1234, true);
  EXPECT_EQ(player.BeepCount(), 1);
}

// Without an audio device every sound is refused at once (the caller beeps); with one, a
// waiting play ends within the sound's length and its one second of grace. Either way it
// returns: a generous bound here only guards against a hang.
TEST(SoundPlayerTest, PlayReturnsAndRefusesWithoutADevice) {
  SoundPlayer player(kModule);
  const bool device = SoundPlayer::HasAudioOutput(kModule);
  for (int number : kNumbers) {
    for (bool wait : {false, true}) {
      QElapsedTimer clock;
      clock.start();
      const bool played = player.Play(number, wait);
      EXPECT_LT(clock.elapsed(), SoundPlayer::SoundLengthMs(number) + 3000) << number;
      if (!device) {
        EXPECT_FALSE(played) << number;
      }
    }
  }
  if (!device) {
    for (int number : kNumbers) player.PlayOrBeep(number, true);
    EXPECT_EQ(player.BeepCount(), 7);
  }
  std::printf("[ info ] audio output present: %s\n", device ? "yes" : "no");
}

// ---- Sound module ---------------------------------------------------------------------------

TEST(SoundModuleTest, ModuleLoadsAndOffersItsFactory) {
  QLibrary module(kModule);
  EXPECT_NE(module.resolve("zendra_make_sound_backend"), nullptr)
      << qPrintable(module.errorString());
}

TEST(SoundModuleTest, DefaultModuleIsBesideTheProgram) {
  EXPECT_EQ(SoundPlayer::DefaultModuleFile(),
            QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(kModule).fileName()));
}

// Without its module the player refuses every sound at once, so the caller beeps; silenced it
// still plays nothing and never beeps.
void ExpectRefusesEverySound(const QString& moduleFile) {
  EXPECT_FALSE(SoundPlayer::HasAudioOutput(moduleFile));
  SoundPlayer player(moduleFile);
  for (int number : kNumbers) {
    for (bool wait : {false, true}) {
      QElapsedTimer clock;
      clock.start();
      EXPECT_FALSE(player.Play(number, wait)) << number;
      EXPECT_LT(clock.elapsed(), 1000) << number;
    }
  }
  for (int number : kNumbers) player.PlayOrBeep(number, true);
  EXPECT_EQ(player.BeepCount(), 7);
  player.SetSilent(true);
  for (int number : kNumbers) {
    EXPECT_TRUE(player.Play(number, true)) << number;
    player.PlayOrBeep(number, true);
  }
  EXPECT_EQ(player.BeepCount(), 7);
}

TEST(SoundModuleTest, MissingModuleRefusesEverySound) {
  const QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ExpectRefusesEverySound(dir.filePath(QFileInfo(kModule).fileName()));
  ExpectRefusesEverySound(QString());
}

TEST(SoundModuleTest, BrokenModuleRefusesEverySound) {
  const QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QFileInfo(kModule).fileName());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a shared library\n");
  file.close();
  ExpectRefusesEverySound(path);
}

}  // namespace
}  // namespace zendra::test
