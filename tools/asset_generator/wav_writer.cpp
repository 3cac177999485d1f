// RIFF WAVE output for the sound effects: unsigned 8-bit mono PCM, the format the game's mixer plays.
// The data chunk is padded to an even size, as every RIFF chunk must be.
#include "tools/asset_generator/wav_writer.h"

#include <algorithm>
#include <cmath>

#include "tools/asset_generator/file_bytes.h"

namespace assets {

namespace {

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<uint8_t> ToUnsigned8(const std::vector<float>& samples) {
  std::vector<uint8_t> bytes;
  bytes.reserve(samples.size());
  for (const float s : samples) bytes.push_back(uint8_t(std::clamp(std::lround(128.0f + s * 127.0f), 0L, 255L)));
  return bytes;
}

bool WriteWav8(const std::string& path, const std::vector<float>& samples, uint32_t sampleRate, std::string* error) {
  const std::vector<uint8_t> data = ToUnsigned8(samples);
  const uint32_t dataSize = uint32_t(data.size());
  const uint32_t padding = dataSize & 1u;
  const uint32_t riffSize = 4 + (8 + 16) + (8 + dataSize + padding);
  std::vector<uint8_t> out;
  out.reserve(8 + size_t(riffSize));
  PutTag(out, "RIFF");
  PutLe(out, riffSize, 4);
  PutTag(out, "WAVE");
  // Format: PCM (1), one channel, the rate, bytes per second, one byte per frame, 8 bits per sample.
  PutTag(out, "fmt ");
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);
  PutLe(out, 1, 2);
  PutLe(out, sampleRate, 4);
  PutLe(out, sampleRate, 4);
  PutLe(out, 1, 2);
  PutLe(out, 8, 2);
  PutTag(out, "data");
  PutLe(out, dataSize, 4);
  out.insert(out.end(), data.begin(), data.end());
  if (padding != 0) out.push_back(0);
  return WriteBytes(path, out, error);
}

}  // namespace assets
