// Standard MIDI file encoding: events sorted per track, delta times as variable-length quantities,
// big-endian chunk lengths.
#include "tools/asset_generator/midi_writer.h"

#include <algorithm>
#include <cmath>

#include "tools/asset_generator/file_bytes.h"

namespace assets {

namespace {

constexpr uint8_t kMetaRank = 0, kNoteOffRank = 1, kChannelRank = 2, kNoteOnRank = 3;

void PutBe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

// Seven bits per byte, most significant first, the high bit set on every byte but the last.
void PutVariableLength(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = uint8_t(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count-- > 0) out.push_back(uint8_t(groups[count] | (count > 0 ? 0x80 : 0x00)));
}

}  // namespace

void MidiTrack::Add(uint32_t tick, uint8_t rank, std::vector<uint8_t> bytes) {
  events_.push_back(MidiEvent{tick, rank, std::move(bytes)});
}

void MidiTrack::Name(const std::string& name) {
  std::vector<uint8_t> bytes = {0xFF, 0x03, uint8_t(name.size())};
  bytes.insert(bytes.end(), name.begin(), name.end());
  Add(0, kMetaRank, bytes);
}

void MidiTrack::Tempo(uint32_t tick, double beatsPerMinute) {
  const uint32_t microseconds = uint32_t(std::lround(60000000.0 / beatsPerMinute));
  Add(tick, kMetaRank,
      {0xFF, 0x51, 0x03, uint8_t(microseconds >> 16), uint8_t(microseconds >> 8), uint8_t(microseconds)});
}

void MidiTrack::TimeSignature(uint32_t tick, uint8_t numerator, uint8_t denominatorPower) {
  // 24 MIDI clocks per metronome click, eight 32nd notes per quarter.
  Add(tick, kMetaRank, {0xFF, 0x58, 0x04, numerator, denominatorPower, 24, 8});
}

void MidiTrack::KeySignature(uint32_t tick, int8_t sharps, bool minor) {
  Add(tick, kMetaRank, {0xFF, 0x59, 0x02, uint8_t(sharps), uint8_t(minor ? 1 : 0)});
}

void MidiTrack::Program(uint32_t tick, uint8_t channel, uint8_t program) {
  Add(tick, kChannelRank, {uint8_t(0xC0 | (channel & 0x0F)), uint8_t(program & 0x7F)});
}

void MidiTrack::Controller(uint32_t tick, uint8_t channel, uint8_t controller, uint8_t value) {
  Add(tick, kChannelRank, {uint8_t(0xB0 | (channel & 0x0F)), uint8_t(controller & 0x7F), uint8_t(value & 0x7F)});
}

void MidiTrack::Note(uint32_t tick, uint8_t channel, uint8_t key, uint8_t velocity, uint32_t duration) {
  Add(tick, kNoteOnRank,
      {uint8_t(0x90 | (channel & 0x0F)), uint8_t(key & 0x7F), uint8_t(std::clamp<int>(velocity, 1, 127))});
  Add(tick + duration, kNoteOffRank, {uint8_t(0x80 | (channel & 0x0F)), uint8_t(key & 0x7F), 0});
}

std::vector<MidiEvent> MidiTrack::SortedEvents() const {
  std::vector<MidiEvent> sorted = events_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const MidiEvent& a, const MidiEvent& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.rank < b.rank;
  });
  const uint32_t last = sorted.empty() ? 0 : sorted.back().tick;
  sorted.push_back(MidiEvent{std::max(last, endTick_), kMetaRank, {0xFF, 0x2F, 0x00}});
  return sorted;
}

std::vector<uint8_t> EncodeMidiFile(const std::vector<MidiTrack>& tracks, uint16_t ticksPerQuarter) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
  PutBe(out, 6, 4);
  PutBe(out, 1, 2);
  PutBe(out, uint32_t(tracks.size()), 2);
  PutBe(out, ticksPerQuarter, 2);
  for (const MidiTrack& track : tracks) {
    std::vector<uint8_t> body;
    uint32_t previous = 0;
    for (const MidiEvent& event : track.SortedEvents()) {
      PutVariableLength(body, event.tick - previous);
      previous = event.tick;
      body.insert(body.end(), event.bytes.begin(), event.bytes.end());
    }
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    PutBe(out, uint32_t(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

bool WriteMidiFile(const std::string& path, const std::vector<MidiTrack>& tracks, uint16_t ticksPerQuarter,
                   std::string* error) {
  return WriteBytes(path, EncodeMidiFile(tracks, ticksPerQuarter), error);
}

}  // namespace assets
