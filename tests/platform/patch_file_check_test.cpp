// The instrument patch check at its edges: a loop ending at the sample data's end or one past it, 16-bit data of
// even and odd byte length, a played loop of no length, a sample ending at the file's last byte or one byte beyond
// it, the most data points and the root frequencies the renderer can step through.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/music.h"

namespace {

constexpr size_t kHeaderBytes = 239, kSampleHeaderBytes = 96;
constexpr uint8_t kSixteenBit = 0x01, kLooping = 0x04, kReversed = 0x10;

// One sample as its header gives it; dataBytes is how much data follows in the file (the length field unless a
// case cuts the file short).
struct Sample {
  uint32_t length;
  uint32_t loopStart, loopEnd;
  uint8_t modes;
  uint32_t dataBytes;
  uint32_t rate = 22050;            // Hz
  uint32_t rootFrequency = 261626;  // thousandths of a hertz
};

void PutLittleEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A patch of one instrument and one layer holding the samples in order.
std::vector<uint8_t> Patch(const std::vector<Sample>& samples) {
  std::vector<uint8_t> bytes(kHeaderBytes);
  const char magic[] = "GF1PATCH110\0ID#000002";
  std::copy(magic, magic + sizeof magic, bytes.begin());
  bytes[82] = 1;   // instruments
  bytes[151] = 1;  // layers
  bytes[198] = static_cast<uint8_t>(samples.size());
  for (const Sample& sample : samples) {
    const size_t at = bytes.size();
    bytes.resize(at + kSampleHeaderBytes + sample.dataBytes, 0x40);
    std::fill_n(bytes.begin() + at, kSampleHeaderBytes, 0);
    PutLittleEndian(bytes, at + 8, sample.length, 4);
    PutLittleEndian(bytes, at + 12, sample.loopStart, 4);
    PutLittleEndian(bytes, at + 16, sample.loopEnd, 4);
    PutLittleEndian(bytes, at + 20, sample.rate, 2);
    PutLittleEndian(bytes, at + 30, sample.rootFrequency, 4);
    bytes[at + 55] = sample.modes;
  }
  return bytes;
}

TEST(PatchFileCheck, LoopsLengthsAndTheFilesEndAtTheirEdges) {
  struct Case {
    const char* edge;
    std::vector<Sample> samples;
    bool playable;
  };
  const Case cases[] = {
      {"loop ending at the data's end", {{64, 16, 64, kLooping, 64}}, true},
      {"loop ending one past the data", {{64, 16, 65, kLooping, 64}}, false},
      {"played loop of no length", {{64, 64, 64, kLooping, 64}}, false},
      {"reversed sample's loop of no length", {{64, 0, 0, kReversed, 64}}, false},
      {"unplayed loop of no length", {{64, 64, 64, 0, 64}}, true},
      {"loop of one point at the data's end", {{64, 63, 64, kLooping, 64}}, true},
      {"loop starting after its end", {{64, 33, 32, kLooping, 64}}, false},
      {"16-bit data of even byte length", {{64, 0, 64, kSixteenBit | kLooping, 64}}, true},
      {"16-bit data of odd byte length", {{63, 0, 62, kSixteenBit | kLooping, 63}}, false},
      {"8-bit data of odd byte length", {{63, 0, 63, kLooping, 63}}, true},
      {"sample ending at the file's last byte", {{64, 0, 0, 0, 64}}, true},
      {"sample ending one byte beyond the file", {{65, 0, 0, 0, 64}}, false},
      {"second sample ending at the file's last byte", {{32, 0, 32, kLooping, 32}, {48, 0, 0, 0, 48}}, true},
      {"second sample ending one byte beyond the file", {{32, 0, 32, kLooping, 32}, {49, 0, 0, 0, 48}}, false},
      {"16-bit second sample of odd byte length", {{32, 0, 32, 0, 32}, {47, 0, 0, kSixteenBit, 47}}, false},
      // The renderer's positions in 32 bits with 12 of fraction: at most 2^18 points of data.
      {"8-bit data of the most points", {{1 << 18, 0, 0, 0, 1 << 18}}, true},
      {"8-bit data of one point more", {{(1 << 18) + 1, 0, 0, 0, (1 << 18) + 1}}, false},
      {"16-bit data of the most points", {{1 << 19, 0, 0, kSixteenBit, 1 << 19}}, true},
      {"16-bit data of one point more", {{(1 << 19) + 2, 0, 0, kSixteenBit, (1 << 19) + 2}}, false},
      // The renderer divides by its step through the data, sample rate x note / root: never 0 when the root is a
      // note's (8.176 Hz to 12543.854 Hz) below half the sample rate.
      {"root at the lowest note", {{64, 0, 0, 0, 64, 22050, 8176}}, true},
      {"root below the lowest note", {{64, 0, 0, 0, 64, 22050, 8175}}, false},
      {"root at the highest note", {{64, 0, 0, 0, 64, 44100, 12543854}}, true},
      {"root above the highest note", {{64, 0, 0, 0, 64, 44100, 12543855}}, false},
      {"root just below half the sample rate", {{64, 0, 0, 0, 64, 22050, 11024999}}, true},
      {"root at half the sample rate", {{64, 0, 0, 0, 64, 22050, 11025000}}, false},
      {"no sample rate", {{64, 0, 0, 0, 64, 0, 261626}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edge);
    const std::vector<uint8_t> patch = Patch(c.samples);
    EXPECT_EQ(platform::IsPlayablePatchFile(patch.data(), patch.size()), c.playable);
  }
}

}  // namespace
