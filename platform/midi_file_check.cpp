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

enum class TrackWalk { Fits, PastTrackEnd, PlayerStops };

// One track's events from `at` (its data) to trackEnd, read as the player reads them: running status taken from
// every status byte and kept from one track to the next, an event begun inside the track read to its end even past the
// track's end, the walk ended by the end-of-track event or by bytes that are no event (the player stops reading the
// file there). A meta or system-exclusive event states its length, and the player sets that much memory aside before it
// reads the bytes: a length past the track's end (a few bytes claiming 256 MB) is PastTrackEnd. Leaves `at` where the
// player's reading of the track ends.
TrackWalk WalkTrack(const uint8_t*& at, const uint8_t* trackEnd, const uint8_t* fileEnd, uint8_t& running) {
  constexpr uint8_t kMeta = 0xFF, kEndOfTrack = 0x2F, kSysEx = 0xF0, kSysExContinued = 0xF7;
  uint32_t number = 0;
  while (at < trackEnd) {
    if (!ReadVariableLength(at, fileEnd, &number) || at == fileEnd) return TrackWalk::PlayerStops;  // delta time
    if (*at & 0x80) running = *at++;
    if (running == 0) return TrackWalk::PlayerStops;
    if (running == kMeta || running == kSysEx || running == kSysExContinued) {
      uint8_t metaType = 0;
      if (running == kMeta) {
        if (at == fileEnd) return TrackWalk::PlayerStops;
        metaType = *at++;
      }
      if (!ReadVariableLength(at, fileEnd, &number)) return TrackWalk::PlayerStops;
      const uint64_t left = at < trackEnd ? static_cast<uint64_t>(trackEnd - at) : 0;
      if (number > left) return TrackWalk::PastTrackEnd;
      at += number;
      if (running == kMeta && metaType == kEndOfTrack) break;
      continue;
    }
    const uint8_t kind = running & 0xF0;
    if (kind == 0xF0) return TrackWalk::PlayerStops;  // system common and real-time bytes start no event in a file
    const ptrdiff_t dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    if (fileEnd - at < dataBytes) return TrackWalk::PlayerStops;
    at += dataBytes;
  }
  if (at < trackEnd) at = trackEnd;  // the player skips what is left of the track
  return TrackWalk::Fits;
}

// Whether the tracks the player reads keep their events inside them. The player takes the first declared number
// of "MTrk" chunks one after another with one cursor (other chunks skipped by their length): each chunk header is
// read where the reading of the track before it ended, so an event running past its track moves every later one.
bool PlayerTracksFit(const uint8_t* bytes, size_t size, uint64_t start, uint16_t declaredTracks) {
  const uint8_t* at = bytes + start;
  const uint8_t* const end = bytes + size;
  uint8_t running = 0;
  for (uint16_t track = 0; track < declaredTracks;) {
    if (end - at < 8) return true;  // no chunk header left: the player stops
    const bool isTrack = std::memcmp(at, "MTrk", 4) == 0;
    const uint64_t length = BigEndian32(at + 4);
    at += 8;
    const uint64_t left = static_cast<uint64_t>(end - at);
    if (!isTrack) {
      if (length > left) return true;  // the player cannot skip it and stops
      at += length;
      continue;
    }
    const TrackWalk walk = WalkTrack(at, length <= left ? at + length : end, end, running);
    if (walk == TrackWalk::PastTrackEnd) return false;
    if (walk == TrackWalk::PlayerStops) return true;
    ++track;
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
    if (std::memcmp(chunk, "MTrk", 4) == 0) ++tracks;
    position += 8 + length;
  }
  if (tracks < declaredTracks) return false;
  return PlayerTracksFit(bytes, size, 8 + static_cast<uint64_t>(headerLength), declaredTracks);
}

}  // namespace platform
