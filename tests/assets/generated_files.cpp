// Test support: generates the assets once into a scratch folder and reads them back with readers written
// from the file formats, independent of the writers under test.
#include "tests/assets/generated_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <unistd.h>

#include "tools/asset_generator/asset_files.h"

namespace asset_checks {

namespace {

// Removes the scratch folder once every test has run.
class ScratchFolderCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / ("tavo_assets_" + std::to_string(::getpid())),
                                ignored);
  }
};
[[maybe_unused]] ::testing::Environment* const kCleanup = ::testing::AddGlobalTestEnvironment(new ScratchFolderCleanup);

}  // namespace

const std::string& GeneratedFolder() {
  static const std::string folder = [] {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tavo_assets_" + std::to_string(::getpid()));
    std::filesystem::remove_all(path);
    return path.string();
  }();
  return folder;
}

std::vector<uint8_t> ReadGeneratedFile(const std::string& relativePath) {
  // Each file is made the first time a test asks for it, so a test pays only for what it reads.
  static std::set<std::string> made;
  if (made.insert(relativePath).second) {
    std::string error;
    if (!assets::GenerateAsset(GeneratedFolder(), relativePath, &error))
      ADD_FAILURE() << "generation failed: " << error;
  }
  std::ifstream file(std::filesystem::path(GeneratedFolder()) / relativePath, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

namespace {

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + size_t(i)];
  return v;
}

uint32_t Be(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | b[at + size_t(i)];
  return v;
}

}  // namespace

Picture ReadPicture(const std::string& relativePath) {
  const std::vector<uint8_t> b = ReadGeneratedFile(relativePath);
  Picture picture;
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
    ADD_FAILURE() << relativePath << ": not a BMP file";
    return picture;
  }
  const uint32_t offset = Le(b, 10, 4);
  const int32_t width = int32_t(Le(b, 18, 4)), height = int32_t(Le(b, 22, 4));
  EXPECT_EQ(Le(b, 2, 4), b.size()) << relativePath << ": file size field";
  EXPECT_EQ(Le(b, 14, 4), 40u) << relativePath << ": information header size";
  EXPECT_EQ(Le(b, 26, 2), 1u) << relativePath << ": planes";
  EXPECT_EQ(Le(b, 28, 2), 24u) << relativePath << ": bits per pixel";
  EXPECT_EQ(Le(b, 30, 4), 0u) << relativePath << ": compression";
  const size_t rowBytes = (size_t(width) * 3 + 3) & ~size_t(3);
  if (width <= 0 || height <= 0 || offset + rowBytes * size_t(height) != b.size()) {
    ADD_FAILURE() << relativePath << ": pixel data does not match " << width << " x " << height;
    return picture;
  }
  picture.width = width;
  picture.height = height;
  picture.rgb.resize(size_t(width) * size_t(height) * 3);
  for (int32_t y = 0; y < height; ++y) {
    const size_t row = offset + rowBytes * size_t(height - 1 - y);  // bottom-up
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* out = &picture.rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
      out[0] = b[row + size_t(x) * 3 + 2];
      out[1] = b[row + size_t(x) * 3 + 1];
      out[2] = b[row + size_t(x) * 3];
    }
  }
  return picture;
}

bool IsKeyBlack(const uint8_t* rgb) { return rgb[0] < 8 && rgb[1] < 4 && rgb[2] < 8; }

float LuminanceAt(const Picture& picture, int32_t x, int32_t y) {
  const uint8_t* p = picture.At(x, y);
  return 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
}

Wave ReadWave(const std::string& relativePath) {
  const std::vector<uint8_t> b = ReadGeneratedFile(relativePath);
  Wave wave;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    ADD_FAILURE() << relativePath << ": not a RIFF WAVE file";
    return wave;
  }
  EXPECT_EQ(Le(b, 4, 4) + 8, b.size()) << relativePath << ": RIFF size field";
  // Walk the chunks: an id, a little-endian size, the body, a pad byte after odd sizes.
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string id(b.begin() + long(at), b.begin() + long(at) + 4);
    const uint32_t size = Le(b, at + 4, 4);
    if (at + 8 + size > b.size()) {
      ADD_FAILURE() << relativePath << ": chunk " << id << " runs past the end";
      break;
    }
    if (id == "fmt " && size >= 16) {
      wave.format = uint16_t(Le(b, at + 8, 2));
      wave.channels = uint16_t(Le(b, at + 10, 2));
      wave.sampleRate = Le(b, at + 12, 4);
      wave.byteRate = Le(b, at + 16, 4);
      wave.blockAlign = uint16_t(Le(b, at + 20, 2));
      wave.bitsPerSample = uint16_t(Le(b, at + 22, 2));
    } else if (id == "data") {
      wave.samples.assign(b.begin() + long(at) + 8, b.begin() + long(at + 8 + size));
    }
    at += 8 + size + (size & 1u);
  }
  return wave;
}

namespace {

uint32_t ReadVariableLength(const std::vector<uint8_t>& b, size_t& at, size_t end) {
  uint32_t value = 0;
  for (int i = 0; i < 4 && at < end; ++i) {
    const uint8_t byte = b[at++];
    value = (value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return value;
  }
  ADD_FAILURE() << "bad variable-length quantity";
  return value;
}

std::vector<MidiEvent> ParseTrack(const std::vector<uint8_t>& b, size_t at, size_t end) {
  std::vector<MidiEvent> events;
  uint32_t tick = 0;
  uint8_t running = 0;
  while (at < end) {
    tick += ReadVariableLength(b, at, end);
    MidiEvent event;
    event.tick = tick;
    if (at >= end) break;
    uint8_t status = b[at];
    if (status & 0x80) ++at;
    else status = running;  // running status allowed by the format
    event.status = status;
    if (status == 0xFF) {
      event.metaType = b[at++];
      const uint32_t length = ReadVariableLength(b, at, end);
      if (at + length > end) {
        ADD_FAILURE() << "meta event runs past its track";
        break;
      }
      event.data.assign(b.begin() + long(at), b.begin() + long(at + length));
      at += length;
    } else if (status >= 0x80 && status < 0xF0) {
      running = status;
      const size_t count = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
      if (at + count > end) {
        ADD_FAILURE() << "channel message runs past its track";
        break;
      }
      event.data.assign(b.begin() + long(at), b.begin() + long(at + count));
      at += count;
    } else {
      ADD_FAILURE() << "unexpected status byte " << int(status);
      break;
    }
    events.push_back(event);
  }
  return events;
}

}  // namespace

MidiFile ReadMidi(const std::string& relativePath) {
  const std::vector<uint8_t> b = ReadGeneratedFile(relativePath);
  MidiFile song;
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || Be(b, 4, 4) != 6) {
    ADD_FAILURE() << relativePath << ": no MThd header";
    return song;
  }
  song.format = uint16_t(Be(b, 8, 2));
  song.trackCount = uint16_t(Be(b, 10, 2));
  song.division = uint16_t(Be(b, 12, 2));
  size_t at = 14;
  while (at + 8 <= b.size()) {
    const uint32_t length = Be(b, at + 4, 4);
    EXPECT_EQ(std::string(b.begin() + long(at), b.begin() + long(at) + 4), "MTrk");
    if (at + 8 + length > b.size()) {
      ADD_FAILURE() << relativePath << ": track runs past the end of the file";
      break;
    }
    song.tracks.push_back(ParseTrack(b, at + 8, at + 8 + length));
    at += 8 + length;
  }
  EXPECT_EQ(at, b.size()) << relativePath << ": bytes after the last track";
  return song;
}

double SecondsAt(const MidiFile& song, uint32_t tick) {
  std::map<uint32_t, uint32_t> tempoAt = {{0, 500000}};
  for (const auto& track : song.tracks)
    for (const MidiEvent& e : track)
      if (e.status == 0xFF && e.metaType == 0x51 && e.data.size() == 3)
        tempoAt[e.tick] = (uint32_t(e.data[0]) << 16) | (e.data[1] << 8) | e.data[2];
  double seconds = 0;
  for (auto it = tempoAt.begin(); it != tempoAt.end() && it->first < tick; ++it) {
    const auto next = std::next(it);
    const uint32_t until = next == tempoAt.end() ? tick : std::min(tick, next->first);
    seconds += double(until - it->first) * it->second / 1e6 / song.division;
  }
  return seconds;
}

}  // namespace asset_checks
