// Feeds arbitrary bytes to the palette text reader: it must read within the input, fill at most 256
// entries, never touch the entries it did not fill, and load a file the same way it reads a stream.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "gfx/extras/palette_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PaletteEntry entries[257];
  std::memset(entries, 0xA5, sizeof entries);
  if (size == 0) return 0;
  std::FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (stream == nullptr) return 0;
  int32_t filled = ReadPaletteTextStream(stream, entries);
  std::fclose(stream);
  if (filled < 0 || filled > 256) std::abort();
  // The entries past the last one filled keep their old bytes, and nothing is written past the array.
  for (int32_t i = filled; i < 257; ++i) {
    const PaletteEntry& e = entries[i];
    if (e.red != 0xA5 || e.green != 0xA5 || e.blue != 0xA5 || e.flags != 0xA5) std::abort();
  }

  // Through a file: the same entries.
  static const std::string path = std::string("palette_text_fuzz_") + std::to_string(getpid()) + ".txt";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  PaletteEntry loaded[256];
  std::memset(loaded, 0xA5, sizeof loaded);
  if (LoadPaletteText(path.c_str(), loaded) != 1) std::abort();
  if (std::memcmp(loaded, entries, sizeof loaded) != 0) std::abort();
  std::remove(path.c_str());
  return 0;
}
