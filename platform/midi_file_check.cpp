// The standard MIDI file check the music loader applies before it accepts a file.
// Walks the chunks by their declared lengths in 64-bit arithmetic, and the events of the tracks the player
// reads; nothing is read past `size`.
#include <cstddef>
#include <cstring>

#include "platform/music.h"

namespace platform {

namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

uint16_t BigEndian16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

// A variable-length number of at most four bytes at `at`; false when it is longer or runs past `end`.
bool ReadVariableLength(const uint8_t*& at, const uint8_t* end, uint32_t* value) {
  *value = 0;
  for (int i = 0; i < 4 && at < end; ++i) {
    const uint8_t byte = *at++;
    *value = (*value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

// Whether the meta and system-exclusive events of a track end inside it. The player sets aside the length such
// an event states before it reads the bytes, so a few bytes claiming 256 MB would cost that much; they are
// refused here. The walk reads events as the player does (running status taken from every status byte) and
// stops where the player stops reading the track: at its end-of-track event, or at bytes that are no event.
bool TrackEventsFit(const uint8_t* at, const uint8_t* end) {
  constexpr uint8_t kMeta = 0xFF, kEndOfTrack = 0x2F, kSysEx = 0xF0, kSysExContinued = 0xF7;
  uint8_t running = 0;
  uint32_t number = 0;
  while (at < end) {
    if (!ReadVariableLength(at, end, &number) || at == end) return true;  // delta time
    if (*at & 0x80) running = *at++;
    if (running == 0) return true;
    if (running == kMeta || running == kSysEx || running == kSysExContinued) {
      const uint8_t metaType = running == kMeta && at < end ? *at++ : 0;
      if (!ReadVariableLength(at, end, &number)) return true;
      if (number > static_cast<uint64_t>(end - at)) return false;
      at += number;
      if (running == kMeta && metaType == kEndOfTrack) return true;
      continue;
    }
    const uint8_t kind = running & 0xF0;
    if (kind == 0xF0) return true;  // system common and real-time bytes start no event in a file
    const ptrdiff_t dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    if (end - at < dataBytes) return true;
    at += dataBytes;
  }
  return true;
}

}  // namespace

bool IsStandardMidiFile(const uint8_t* bytes, size_t size) {
  if (!bytes || size < 14 || std::memcmp(bytes, "MThd", 4) != 0) return false;
  const uint32_t headerLength = BigEndian32(bytes + 4);
  if (headerLength < 6 || headerLength > size - 8) return false;
  const uint16_t format = BigEndian16(bytes + 8);
  const uint16_t declaredTracks = BigEndian16(bytes + 10);
  const uint16_t division = BigEndian16(bytes + 12);
  if (format > 2 || declaredTracks == 0 || division == 0) return false;
  // After the header (and any extra header bytes): chunks, each wholly inside the file.
  uint64_t position = 8 + static_cast<uint64_t>(headerLength);
  uint32_t tracks = 0;
  // A few trailing bytes too short to be a chunk (padding some writers add) are ignored.
  while (size - position >= 8) {
    const uint8_t* chunk = bytes + position;
    const uint64_t length = BigEndian32(chunk + 4);
    if (length > size - position - 8) return false;
    if (std::memcmp(chunk, "MTrk", 4) == 0) {
      // The player reads the first declared number of tracks.
      if (tracks < declaredTracks && !TrackEventsFit(chunk + 8, chunk + 8 + length)) return false;
      ++tracks;
    }
    position += 8 + length;
  }
  return tracks >= declaredTracks;
}

}  // namespace platform
