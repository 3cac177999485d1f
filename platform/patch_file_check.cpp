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
    const bool sixteenBit = header[55] & kSixteenBitMode;
    at += kSampleHeaderBytes;
    // The data fits in the file, holds whole samples, and the loop lies inside it, start before end.
    if (length == 0 || length > size - at || (sixteenBit && length % 2 != 0)) return false;
    if (loopStart > loopEnd || loopEnd > length) return false;
    if (rate == 0 || rootFrequency == 0 || rootFrequency > 0x7FFFFFFF) return false;
    at += length;
  }
  return true;
}

}  // namespace platform
