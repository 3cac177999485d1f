// Test support: the generator's files written once into a scratch folder, and small independent readers
// for the three formats (24-bit BMP, 8-bit WAVE, standard MIDI file).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace asset_checks {

// The scratch folder holding a fresh set of generated files (made on first use).
const std::string& GeneratedFolder();
std::vector<uint8_t> ReadGeneratedFile(const std::string& relativePath);

struct Picture {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;  // top row first
  const uint8_t* At(int32_t x, int32_t y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
  bool IsBlack(int32_t x, int32_t y) const { return At(x, y)[0] == 0 && At(x, y)[1] == 0 && At(x, y)[2] == 0; }
};
// Parses an uncompressed 24-bit BMP; fails the current test (and returns an empty picture) on anything else.
Picture ReadPicture(const std::string& relativePath);
// True when the colour reads as black once reduced to 5-6-5 bits, the game's colour key.
bool IsKeyBlack(const uint8_t* rgb);
float LuminanceAt(const Picture& picture, int32_t x, int32_t y);

struct Wave {
  uint16_t format = 0, channels = 0, bitsPerSample = 0, blockAlign = 0;
  uint32_t sampleRate = 0, byteRate = 0;
  std::vector<uint8_t> samples;
};
Wave ReadWave(const std::string& relativePath);

struct MidiEvent {
  uint32_t tick = 0;
  uint8_t status = 0;  // 0xFF for meta events
  uint8_t metaType = 0;
  std::vector<uint8_t> data;  // channel message data bytes, or the meta event's payload
};
struct MidiFile {
  uint16_t format = 0, trackCount = 0, division = 0;
  std::vector<std::vector<MidiEvent>> tracks;
};
MidiFile ReadMidi(const std::string& relativePath);
// Seconds from the start to `tick`, following every tempo event of the file (120 bpm until the first).
double SecondsAt(const MidiFile& song, uint32_t tick);

}  // namespace asset_checks
