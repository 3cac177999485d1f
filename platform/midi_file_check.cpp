// The standard MIDI file check the music loader applies before it accepts a file.
// Walks the chunks by their declared lengths in 64-bit arithmetic; nothing is read past `size`.
#include <cstring>

#include "platform/music.h"

namespace platform {

namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

uint16_t BigEndian16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

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
    if (std::memcmp(chunk, "MTrk", 4) == 0) ++tracks;
    position += 8 + length;
  }
  return tracks >= declaredTracks;
}

}  // namespace platform
