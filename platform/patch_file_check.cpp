// The instrument patch check the Timidity music renderer applies before its own reader sees a patch file
// (a GUS patch): that reader takes counts, lengths and loop points as they come, so a damaged file must not
// reach it. Nothing is read past `size`.
#include <cstring>

#include "platform/music.h"

namespace platform {

namespace {

constexpr size_t kHeaderBytes = 239;       // the file, instrument and layer headers
constexpr size_t kSampleHeaderBytes = 96;  // each sample's header, before its data
constexpr size_t kInstrumentCountAt = 82, kLayerCountAt = 151, kSampleCountAt = 198;
constexpr uint8_t kSixteenBitMode = 0x01;
// The modes under which the renderer plays the loop: looping, or reversed (which it turns into a loop).
constexpr uint8_t kLoopedModes = 0x04 | 0x10;
// The root frequencies of MIDI notes 0 and 127, in thousandths of a hertz as a patch gives them.
constexpr uint32_t kLowestNoteMilliHz = 8176, kHighestNoteMilliHz = 12543854;
// The renderer keeps positions in the data as 32-bit numbers with 12 bits of fraction; below 2^30 a position
// plus one step stays inside them.
constexpr uint32_t kMostSamplePoints = 1u << 18;

uint32_t LittleEndian(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

}  // namespace

bool IsPlayablePatchFile(const uint8_t* bytes, size_t size) {
  if (size < kHeaderBytes) return false;
  if (std::memcmp(bytes, "GF1PATCH110\0ID#000002", 22) != 0 && std::memcmp(bytes, "GF1PATCH100\0ID#000002", 22) != 0)
    return false;
  // One instrument of one layer (a count of 0 means 1 to some patch makers), and at least one sample.
  if (bytes[kInstrumentCountAt] > 1 || bytes[kLayerCountAt] > 1 || bytes[kSampleCountAt] == 0) return false;
  size_t at = kHeaderBytes;
  for (int sample = 0; sample < bytes[kSampleCountAt]; ++sample) {
    if (size - at < kSampleHeaderBytes) return false;
    const uint8_t* header = bytes + at;
    const uint32_t length = LittleEndian(header + 8, 4), loopStart = LittleEndian(header + 12, 4),
                   loopEnd = LittleEndian(header + 16, 4), rate = LittleEndian(header + 20, 2),
                   rootFrequency = LittleEndian(header + 30, 4);
    const bool sixteenBit = header[55] & kSixteenBitMode, looped = header[55] & kLoopedModes;
    at += kSampleHeaderBytes;
    // The data fits in the file, holds whole samples, and the loop lies inside it, start before end.
    if (length == 0 || length > size - at || (sixteenBit && length % 2 != 0)) return false;
    if (loopStart > loopEnd || loopEnd > length) return false;
    // A played loop holds at least one point: the renderer steps back by its length until it is inside it.
    if (looped && loopStart == loopEnd) return false;
    if ((sixteenBit ? length / 2 : length) > kMostSamplePoints) return false;
    // The renderer steps through the data by sample rate x note / root frequency, dividing by the step: a root
    // among the notes' and below half the sample rate (the highest a sample can hold) keeps every step above 0.
    if (rootFrequency < kLowestNoteMilliHz || rootFrequency > kHighestNoteMilliHz) return false;
    if (uint64_t{rootFrequency} * 2 >= uint64_t{rate} * 1000) return false;
    at += length;
  }
  return true;
}

}  // namespace platform
