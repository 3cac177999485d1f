// Standard MIDI files: tracks of timed events collected in any order, and the writer that sorts and encodes them.
// Events at one tick are ordered by rank, so a note can end and the next one start on the same tick.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assets {

struct MidiEvent {
  uint32_t tick = 0;
  // At one tick, events are written by rank: meta events, then note-offs, then other channel
  // messages (programs, controllers), then note-ons, so a note can end and a new one start on the same tick.
  uint8_t rank = 0;
  std::vector<uint8_t> bytes;  // the status byte and data, or FF type length data for a meta event
};

class MidiTrack {
 public:
  void Name(const std::string& name);
  void Tempo(uint32_t tick, double beatsPerMinute);
  void TimeSignature(uint32_t tick, uint8_t numerator, uint8_t denominatorPower);
  void KeySignature(uint32_t tick, int8_t sharps, bool minor);
  void Program(uint32_t tick, uint8_t channel, uint8_t program);
  void Controller(uint32_t tick, uint8_t channel, uint8_t controller, uint8_t value);
  // A note-on at `tick` and its note-off `duration` ticks later.
  void Note(uint32_t tick, uint8_t channel, uint8_t key, uint8_t velocity, uint32_t duration);
  // Where the end-of-track event goes; never earlier than the last event.
  void EndAt(uint32_t tick) { endTick_ = tick; }

  // The events sorted by tick and rank (stable otherwise), ending with the end-of-track event.
  std::vector<MidiEvent> SortedEvents() const;

 private:
  void Add(uint32_t tick, uint8_t rank, std::vector<uint8_t> bytes);
  std::vector<MidiEvent> events_;
  uint32_t endTick_ = 0;
};

// Encodes a format-1 file: the MThd header with the track count and ticks per quarter note, then one
// MTrk chunk per track with variable-length delta times (no running status).
std::vector<uint8_t> EncodeMidiFile(const std::vector<MidiTrack>& tracks, uint16_t ticksPerQuarter);
bool WriteMidiFile(const std::string& path, const std::vector<MidiTrack>& tracks, uint16_t ticksPerQuarter,
                   std::string* error);

}  // namespace assets
