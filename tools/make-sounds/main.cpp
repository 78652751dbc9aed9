// make-sounds: writes the program's numbered sounds as WAV files into a folder.
//
//   make-sounds OUTDIR
//
// Every sound is synthesised here, 16-bit mono PCM at 22050 Hz: 1999 the stone click, 2010 the
// success chime, 2030 the success chime of a line with doubtful moves, 2095 the solved fanfare,
// 2020 the failure tone, 2091 the warning for a weak move, 2094 the data-error tone. They are
// short (under one second, the click 60 ms) because the solving code waits for all but the
// click, and distinct in pitch, rhythm and colour.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
// Peak level of every sound: about -3 dB, loud enough to hear, clear of clipping.
constexpr double kPeak = 0.7;

using Samples = std::vector<double>;

Samples Silence(double seconds) { return Samples(static_cast<std::size_t>(seconds * kRate), 0.0); }

// A struck tone: partials (multiple of the pitch, relative level) under an exponential decay
// of time constant `decay` seconds, with a short attack so the start does not click.
struct Partial {
  double multiple;
  double level;
};
void AddBell(Samples& out, double start, double pitch, double seconds, double decay,
             const std::vector<Partial>& partials, double level, double attack = 0.004) {
  const std::size_t first = static_cast<std::size_t>(start * kRate);
  const std::size_t count = static_cast<std::size_t>(seconds * kRate);
  if (out.size() < first + count) out.resize(first + count, 0.0);
  for (std::size_t n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    double v = 0;
    for (const Partial& p : partials) {
      // Higher partials die away faster, as on a struck bar.
      const double d = decay / std::sqrt(p.multiple);
      v += p.level * std::exp(-t / d) * std::sin(2 * std::numbers::pi * pitch * p.multiple * t);
    }
    const double rise = std::min(1.0, t / attack);
    out[first + n] += level * rise * v;
  }
}

// A held tone with an attack and release ramp: partials at constant level, optional pitch glide
// from `pitch` to `endPitch`.
void AddTone(Samples& out, double start, double pitch, double endPitch, double seconds,
             const std::vector<Partial>& partials, double level, double ramp = 0.015) {
  const std::size_t first = static_cast<std::size_t>(start * kRate);
  const std::size_t count = static_cast<std::size_t>(seconds * kRate);
  if (out.size() < first + count) out.resize(first + count, 0.0);
  double phase = 0;
  for (std::size_t n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double f = pitch + (endPitch - pitch) * t / seconds;
    phase += 2 * std::numbers::pi * f / kRate;
    double v = 0;
    for (const Partial& p : partials) v += p.level * std::sin(phase * p.multiple);
    const double envelope = std::min({1.0, t / ramp, (seconds - t) / ramp});
    out[first + n] += level * envelope * v;
  }
}

// The click of a stone set on wood: a very short burst of noise through two resonances.
Samples StoneClick() {
  Samples out = Silence(0.06);
  uint32_t seed = 0x5EED1999u;
  auto noise = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<double>(seed >> 8) / (1u << 23) - 1.0;
  };
  // Two-pole resonators at the wood's ringing frequencies.
  struct Resonator {
    double f, r, y1 = 0, y2 = 0;
    double Step(double x) {
      const double y = x + 2 * r * std::cos(2 * std::numbers::pi * f / kRate) * y1 - r * r * y2;
      y2 = y1;
      y1 = y;
      return y;
    }
  } low{1900, 0.985}, high{3400, 0.975};
  for (std::size_t n = 0; n < out.size(); ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double excitation = t < 0.003 ? noise() * (1 - t / 0.003) : 0.0;
    out[n] = low.Step(excitation) * 0.6 + high.Step(excitation) * 0.4;
    out[n] *= std::exp(-t / 0.012);
  }
  return out;
}

const std::vector<Partial> kBell = {{1, 1.0}, {2.0, 0.35}, {3.0, 0.12}, {4.2, 0.06}};
const std::vector<Partial> kSoftBell = {{1, 1.0}, {2.0, 0.2}, {3.0, 0.05}};
const std::vector<Partial> kBrass = {{1, 1.0}, {2, 0.5}, {3, 0.33}, {4, 0.2}, {5, 0.12}};
const std::vector<Partial> kHollow = {{1, 1.0}, {3, 0.3}, {5, 0.12}};
const std::vector<Partial> kBuzz = {{1, 1.0}, {2, 0.6}, {3, 0.5}, {4, 0.35}, {5, 0.3}, {6, 0.2}};

// Success: two bright bell notes rising a fifth, E6 then B6.
Samples SuccessChime() {
  Samples out;
  AddBell(out, 0.00, 1318.5, 0.25, 0.12, kBell, 0.8);
  AddBell(out, 0.11, 1975.5, 0.34, 0.14, kBell, 0.8);
  return out;
}

// Success along a line with doubtful moves: the same bell, but a rise of only a minor third
// and a softer timbre, G5 then B-flat 5.
Samples DoubtfulChime() {
  Samples out;
  AddBell(out, 0.00, 784.0, 0.22, 0.11, kSoftBell, 0.8);
  AddBell(out, 0.14, 932.3, 0.32, 0.13, kSoftBell, 0.8);
  return out;
}

// Solved: a rising major arpeggio C5 E5 G5 with a held C6 on top.
Samples SolvedFanfare() {
  Samples out;
  const double notes[] = {523.25, 659.25, 783.99};
  for (int k = 0; k < 3; ++k) AddTone(out, 0.11 * k, notes[k], notes[k], 0.12, kBrass, 0.45);
  AddTone(out, 0.33, 1046.5, 1046.5, 0.42, kBrass, 0.45, 0.03);
  AddBell(out, 0.33, 1046.5, 0.45, 0.2, kBell, 0.35);
  return out;
}

// Failure: a low, hollow two-note fall, A3 to F3, the second note sliding down a little.
Samples FailureTone() {
  Samples out;
  AddTone(out, 0.00, 220.0, 220.0, 0.18, kHollow, 0.7);
  AddTone(out, 0.20, 174.6, 164.8, 0.30, kHollow, 0.7, 0.03);
  return out;
}

// Warning: two short, clear beeps at A5.
Samples WarningTone() {
  Samples out;
  AddTone(out, 0.00, 880.0, 880.0, 0.08, kHollow, 0.7, 0.008);
  AddTone(out, 0.14, 880.0, 880.0, 0.08, kHollow, 0.7, 0.008);
  return out;
}

// Data error: a dull, buzzing low tone, unlike anything a move earns.
Samples ErrorTone() {
  Samples out;
  AddTone(out, 0.00, 140.0, 140.0, 0.40, kBuzz, 0.5, 0.02);
  return out;
}

// Scales to the common peak level and writes a 16-bit mono PCM WAV file.
bool WriteWav(const std::filesystem::path& path, Samples samples) {
  // A ramp of one millisecond at the start and a short fade at the end, so neither edge
  // cracks (the click keeps its sharp attack: a millisecond is below what the ear resolves).
  const std::size_t rise = std::min<std::size_t>(kRate / 1000, samples.size() / 4);
  for (std::size_t n = 0; n < rise; ++n)
    samples[n] *= static_cast<double>(n) / static_cast<double>(rise);
  // A short fade at the end, so a cut-off tail does not click.
  const std::size_t fade = std::min<std::size_t>(kRate * 3 / 100, samples.size() / 4);
  for (std::size_t n = 0; n < fade; ++n)
    samples[samples.size() - 1 - n] *= static_cast<double>(n) / static_cast<double>(fade);
  double peak = 0;
  for (double s : samples) peak = std::max(peak, std::abs(s));
  if (peak > 0)
    for (double& s : samples) s *= kPeak / peak;
  std::vector<int16_t> pcm(samples.size());
  for (std::size_t n = 0; n < samples.size(); ++n)
    pcm[n] = static_cast<int16_t>(std::lround(std::clamp(samples[n], -1.0, 1.0) * 32767));
  const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&out](uint32_t v) {
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    out.write(b, 4);
  };
  auto u16 = [&out](uint16_t v) {
    const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    out.write(b, 2);
  };
  out.write("RIFF", 4);
  u32(36 + dataBytes);
  out.write("WAVEfmt ", 8);
  u32(16);         // format chunk size
  u16(1);          // PCM
  u16(1);          // mono
  u32(kRate);      // samples per second
  u32(kRate * 2);  // bytes per second
  u16(2);          // bytes per frame
  u16(16);         // bits per sample
  out.write("data", 4);
  u32(dataBytes);
  for (int16_t s : pcm) u16(static_cast<uint16_t>(s));
  out.close();
  if (out) return true;
  std::fprintf(stderr, "make-sounds: cannot write %s\n", path.string().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-sounds OUTDIR\n");
    return 2;
  }
  const std::filesystem::path dir(argv[1]);
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "make-sounds: cannot create %s\n", argv[1]);
    return 1;
  }
  const struct {
    int number;
    Samples (*make)();
  } sounds[] = {{1999, StoneClick},    {2010, SuccessChime}, {2030, DoubtfulChime},
                {2095, SolvedFanfare}, {2020, FailureTone},  {2091, WarningTone},
                {2094, ErrorTone}};
  bool ok = true;
  for (const auto& sound : sounds)
    ok = WriteWav(dir / (std::to_string(sound.number) + ".wav"), sound.make()) && ok;
  return ok ? 0 : 1;
}
