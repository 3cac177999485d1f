// Audio measures. BM_MixerCallback_EffectsAndSong: one device period (512 frames at 48000 Hz) of the mix with
// two effects and a song playing; "budget_share" is the CPU time it takes as a share of the period it fills.
// BM_PlaySoundEffectToFirstSample: wall time from PlaySoundEffect to the end of the SDL device callback whose
// mix first carries the sound (SDL's dummy driver unless SDL_AUDIODRIVER names another); at most one period.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/backend.h"
#include "platform/sound.h"
#include "platform/headless/headless.h"

namespace {

constexpr uint32_t kRate = 48000;
constexpr uint32_t kPeriod = 512;

std::string TempPath(const std::string& name) { return "/tmp/tavo_audio_bench_" + std::to_string(getpid()) + name; }

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes, bool bigEndian) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * (bigEndian ? bytes - 1 - i : i))));
}

// An 8-bit mono 11025 Hz square-wave blip of `samples` samples.
std::string WriteEffect(const std::string& name, uint32_t samples, uint32_t halfPeriod) {
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F'};
  Put(file, 36 + samples, 4, false);
  for (char c : std::string("WAVEfmt ")) file.push_back(static_cast<uint8_t>(c));
  Put(file, 16, 4, false);
  for (uint32_t v : {1u, 1u}) Put(file, v, 2, false);
  Put(file, 11025, 4, false);
  Put(file, 11025, 4, false);
  for (uint32_t v : {1u, 8u}) Put(file, v, 2, false);
  for (char c : std::string("data")) file.push_back(static_cast<uint8_t>(c));
  Put(file, samples, 4, false);
  for (uint32_t i = 0; i < samples; ++i) file.push_back((i / halfPeriod) % 2 ? 160 : 96);
  const std::string path = TempPath(name);
  WriteBytes(path, file);
  return path;
}

// Ten minutes of four-note piano chords on every beat with a bass line: a busy song that never ends here.
std::string WriteSong() {
  std::vector<uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xC0, 0x00, 0x00, 0xC1, 0x21};
  const uint8_t chords[4][4] = {{57, 60, 64, 69}, {53, 57, 60, 65}, {55, 59, 62, 67}, {52, 56, 59, 64}};
  for (int beat = 0; beat < 1200; ++beat) {
    const uint8_t* chord = chords[(beat / 4) % 4];
    for (int n = 0; n < 4; ++n) track.insert(track.end(), {0x00, 0x90, chord[n], 90});
    track.insert(track.end(), {0x00, 0x91, static_cast<uint8_t>(chord[0] - 24), 110});
    track.insert(track.end(), {0x5A, 0x80, chord[0], 0});  // 90 ticks later
    for (int n = 1; n < 4; ++n) track.insert(track.end(), {0x00, 0x80, chord[n], 0});
    track.insert(track.end(), {0x00, 0x81, static_cast<uint8_t>(chord[0] - 24), 0});
    track.insert(track.end(), {0x06, 0xFF, 0x01, 0x00});  // a 6-tick gap, as an empty text event
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
  Put(file, static_cast<uint32_t>(track.size()), 4, true);
  file.insert(file.end(), track.begin(), track.end());
  const std::string path = TempPath("song.mid");
  WriteBytes(path, file);
  return path;
}

void StartAudio(platform::Backend backend) {
  platform::SelectBackend(backend);
  ShutdownMusic();
  ShutdownSound();
  SoundInitPending = 1;
}

void StopAudio() {
  platform::SetSoundOutputTap(nullptr, nullptr);
  ShutdownMusic();
  ShutdownSound();
  platform::SelectBackend(platform::Backend::Headless);
}

void BM_MixerCallback_EffectsAndSong(benchmark::State& state) {
  StartAudio(platform::Backend::Headless);
  if (InitSound() != 1 || InitMusic() != 1) {
    state.SkipWithError("no sound device or no SoundFont");
    return;
  }
  const int32_t bounce = LoadWav(WriteEffect("bounce.wav", 660, 6).c_str());
  const int32_t score = LoadWav(WriteEffect("score.wav", 4400, 10).c_str());
  const int32_t song = LoadMidi(WriteSong().c_str());
  PlaySoundEffect(bounce, DSBPLAY_LOOPING, 0, 0, 0);
  PlaySoundEffect(score, DSBPLAY_LOOPING, 0, 0, 0);
  PlayMidi(song);
  std::vector<float> mix(2 * kPeriod);
  const auto started = std::chrono::steady_clock::now();
  for (auto _ : state) {
    platform::RenderHeadlessAudio(mix.data(), kPeriod, kRate);
    benchmark::DoNotOptimize(mix.data());
  }
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
  if (GetMidiStatus(song) != kMidiStatePlaying || GetSoundStatus(bounce) != 5) state.SkipWithError("not all playing");
  // The callback's budget is the period it fills: 512 frames at 48000 Hz, 10.67 ms.
  const double periodSeconds = static_cast<double>(kPeriod) / kRate;
  const double perCallback = spent.count() / static_cast<double>(std::max<int64_t>(1, state.iterations()));
  state.counters["budget_pct"] = 100.0 * perCallback / periodSeconds;
  state.counters["period_ms"] = periodSeconds * 1000;
  StopAudio();
}
BENCHMARK(BM_MixerCallback_EffectsAndSong);

struct LatencyProbe {
  std::atomic<bool> armed{false};
  std::atomic<int64_t> heardAt{0};
};

int64_t NowNanos() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void ListenForFirstSample(const float* mixed, uint32_t frames, uint32_t /*rate*/, void* user) {
  auto* probe = static_cast<LatencyProbe*>(user);
  if (!probe->armed) return;
  for (uint32_t i = 0; i < 2 * frames; ++i) {
    if (std::abs(mixed[i]) > 0.01f) {
      probe->heardAt = NowNanos();
      probe->armed = false;
      return;
    }
  }
}

void BM_PlaySoundEffectToFirstSample(benchmark::State& state) {
  if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
  StartAudio(platform::Backend::Sdl);
  if (InitSound() != 1) {
    state.SkipWithError("no SDL audio device");
    StopAudio();
    return;
  }
  const int32_t blip = LoadWav(WriteEffect("blip.wav", 2000, 6).c_str());
  LatencyProbe probe;
  platform::SetSoundOutputTap(ListenForFirstSample, &probe);
  std::vector<double> latenciesMs;
  uint32_t phase = 1;
  for (auto _ : state) {
    StopSoundEffect(blip);
    // Start at a different point of the device period each time.
    phase = phase * 1103515245u + 12345u;
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + (phase >> 8) % 11000));
    probe.armed = true;
    const int64_t playedAt = NowNanos();
    PlaySoundEffect(blip, 0, 0, 0, 0);
    while (probe.armed) std::this_thread::yield();
    const double seconds = static_cast<double>(probe.heardAt - playedAt) / 1e9;
    latenciesMs.push_back(seconds * 1000);
    state.SetIterationTime(seconds);
  }
  std::sort(latenciesMs.begin(), latenciesMs.end());
  if (!latenciesMs.empty()) {
    state.counters["p95_ms"] = latenciesMs[latenciesMs.size() * 95 / 100];
    state.counters["worst_ms"] = latenciesMs.back();
  }
  state.counters["device_period_ms"] = 1000.0 * static_cast<double>(kPeriod) / kRate;
  StopAudio();
}
BENCHMARK(BM_PlaySoundEffectToFirstSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
