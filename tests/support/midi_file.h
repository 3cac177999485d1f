// Builds small standard MIDI files for the tests: one track of timed note events, and raw chunks for
// broken files. Header-only.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace testmidi {

struct Note {
  uint32_t startTicks;
  uint32_t lengthTicks;
  uint8_t key;
};

inline void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void AppendVariableLength(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value > 0);
  while (count > 1) out.push_back(static_cast<uint8_t>(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

inline std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out(id, id + 4);
  AppendBigEndian(out, static_cast<uint32_t>(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline std::vector<uint8_t> Header(uint16_t format, uint16_t tracks, uint16_t division, size_t extraBytes = 0) {
  std::vector<uint8_t> body;
  AppendBigEndian(body, format, 2);
  AppendBigEndian(body, tracks, 2);
  AppendBigEndian(body, division, 2);
  body.resize(body.size() + extraBytes, 0);
  return Chunk("MThd", body);
}

// One track at 96 ticks per quarter note and 120 beats per minute (a tick is 1/192 s): piano notes that
// end at endTicks (the end-of-track event's time; at least the last note's end).
inline std::vector<uint8_t> Song(const std::vector<Note>& notes, uint32_t endTicks) {
  struct Event {
    uint32_t time;
    uint8_t status, key, velocity;
  };
  std::vector<Event> events;
  for (const Note& n : notes) {
    events.push_back({n.startTicks, 0x90, n.key, 110});
    events.push_back({n.startTicks + n.lengthTicks, 0x80, n.key, 0});
  }
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.time < b.time; });
  std::vector<uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000 us per quarter
                                0x00, 0xC0, 0x00};                         // piano on channel 1
  uint32_t now = 0;
  for (const Event& e : events) {
    AppendVariableLength(track, e.time - now);
    now = e.time;
    track.insert(track.end(), {e.status, e.key, e.velocity});
  }
  AppendVariableLength(track, endTicks > now ? endTicks - now : 0);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});
  std::vector<uint8_t> file = Header(0, 1, 96);
  std::vector<uint8_t> trackChunk = Chunk("MTrk", track);
  file.insert(file.end(), trackChunk.begin(), trackChunk.end());
  return file;
}

}  // namespace testmidi
