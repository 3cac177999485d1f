// Feeds arbitrary bytes to the palette text reader through a file: it must fill at most 256 entries, never touch
// the entries it did not fill, and load a file by name the same way it reads the file already open.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "gfx/extras/palette_file.h"
#include "platform/file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const std::string path = std::string("palette_text_fuzz_") + std::to_string(getpid()) + ".txt";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  PaletteEntry entries[257];
  std::memset(entries, 0xA5, sizeof entries);
  platform::File* file = platform::OpenFileForReading(path, platform::FileContent::Text);
  if (file == nullptr) std::abort();
  const int32_t filled = ReadPaletteTextStream(file, entries);
  platform::CloseFile(file);
  if (filled < 0 || filled > 256) std::abort();
  // The entries past the last one filled keep their old bytes, and nothing is written past the array.
  for (int32_t i = filled; i < 257; ++i) {
    const PaletteEntry& e = entries[i];
    if (e.red != 0xA5 || e.green != 0xA5 || e.blue != 0xA5 || e.flags != 0xA5) std::abort();
  }

  // By name: the same entries.
  PaletteEntry loaded[256];
  std::memset(loaded, 0xA5, sizeof loaded);
  if (LoadPaletteText(path.c_str(), loaded) != 1) std::abort();
  if (std::memcmp(loaded, entries, sizeof loaded) != 0) std::abort();
  std::remove(path.c_str());
  return 0;
}
