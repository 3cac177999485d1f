// Builds RIFF WAVE files byte by byte for the tests, including broken ones (wrong sizes, cut short).
// Header-only so that every test folder can use it.
#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace testwave {

struct WaveLayout {
  uint16_t formatTag = 1;
  uint16_t channels = 1;
  uint32_t rate = 11025;
  uint16_t bitsPerSample = 8;
  uint32_t fmtChunkSize = 16;     // 16 or 18 (or anything, to break it)
  std::vector<uint8_t> samples;   // the data chunk's bytes
  int64_t declaredDataSize = -1;  // -1: the real size
  int64_t declaredRiffSize = -1;  // -1: the real size
};

// Writes little-endian fields into a buffer sized in advance (g++ 12 warns falsely when a vector grows).
struct ByteWriter {
  std::vector<uint8_t>& out;
  size_t at = 0;
  void Bytes(const void* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) out[at++] = static_cast<const uint8_t*>(bytes)[i];
  }
  void U32(uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at++] = static_cast<uint8_t>(value >> (8 * i));
  }
  void U16(uint16_t value) {
    out[at++] = static_cast<uint8_t>(value);
    out[at++] = static_cast<uint8_t>(value >> 8);
  }
};

inline std::vector<uint8_t> BuildWave(const WaveLayout& wave) {
  const size_t fmtBytes = wave.fmtChunkSize > 16 ? wave.fmtChunkSize : 16;
  const size_t pad = (wave.samples.size() % 2 == 1 && wave.declaredDataSize < 0) ? 1 : 0;
  const size_t bodyBytes = 4 + 8 + fmtBytes + 8 + wave.samples.size() + pad;
  std::vector<uint8_t> file(8 + bodyBytes, 0);
  ByteWriter w{file};
  w.Bytes("RIFF", 4);
  w.U32(wave.declaredRiffSize >= 0 ? static_cast<uint32_t>(wave.declaredRiffSize) : static_cast<uint32_t>(bodyBytes));
  w.Bytes("WAVEfmt ", 8);
  w.U32(wave.fmtChunkSize);
  const uint16_t blockAlign = static_cast<uint16_t>(wave.channels * wave.bitsPerSample / 8);
  w.U16(wave.formatTag);
  w.U16(wave.channels);
  w.U32(wave.rate);
  w.U32(wave.rate * blockAlign);
  w.U16(blockAlign);
  w.U16(wave.bitsPerSample);
  w.at += fmtBytes - 16;
  w.Bytes("data", 4);
  w.U32(wave.declaredDataSize >= 0 ? static_cast<uint32_t>(wave.declaredDataSize)
                                   : static_cast<uint32_t>(wave.samples.size()));
  w.Bytes(wave.samples.data(), wave.samples.size());
  return file;
}

inline std::string WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// A short ramp of distinct sample values, so a test can tell which sample it hears.
inline std::vector<uint8_t> Ramp(size_t count, uint8_t start = 129) {
  std::vector<uint8_t> samples(count);
  for (size_t i = 0; i < count; ++i) samples[i] = static_cast<uint8_t>(start + i);
  return samples;
}

}  // namespace testwave
