// Saving and loading a palette as text. The reader takes numbers of any length and sign without overflow,
// keeping the low 8 bits of each, and stops quietly at the first thing that is not a number.
#include "gfx/extras/palette_file.h"

#include <cctype>

namespace {

// Reads one decimal integer after optional white space and an optional sign, as "%d" would.
// Returns false when no digit follows. The value wraps modulo 2^32, which keeps its low 8 bits exact.
bool ReadDecimal(std::FILE* stream, uint8_t* lowByte) {
  int c = std::fgetc(stream);
  while (c != EOF && std::isspace(c)) c = std::fgetc(stream);
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = (c == '-');
    c = std::fgetc(stream);
  }
  if (c == EOF || !std::isdigit(c)) return false;
  uint32_t value = 0;
  while (c != EOF && std::isdigit(c)) {
    value = value * 10u + static_cast<uint32_t>(c - '0');
    c = std::fgetc(stream);
  }
  if (c != EOF) std::ungetc(c, stream);
  if (negative) value = 0u - value;
  *lowByte = static_cast<uint8_t>(value & 0xFFu);
  return true;
}

}  // namespace

int32_t SavePaletteText(const char* path, const PaletteEntry* entries) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) return 0;
  bool written = true;
  for (int32_t i = 0; i < 256 && written; ++i) {
    const PaletteEntry& e = entries[i];
    // KEEP: each entry begins with its newline: the saved file's layout (PaletteOnDisplay.SavedFile... checks).
    written = std::fprintf(file, "\n%d %d %d %d", e.red, e.green, e.blue, e.flags) > 0;
  }
  // A full disk shows up here at the latest; a file that was not written whole is a failure.
  if (std::fclose(file) != 0) written = false;
  return written ? 1 : 0;
}

int32_t ReadPaletteTextStream(std::FILE* stream, PaletteEntry* entries) {
  for (int32_t i = 0; i < 256; ++i) {
    uint8_t values[4];
    for (uint8_t& value : values) {
      if (!ReadDecimal(stream, &value)) return i;
    }
    entries[i] = PaletteEntry{values[0], values[1], values[2], values[3]};
  }
  return 256;
}

int32_t LoadPaletteText(const char* path, PaletteEntry* entries) {
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) return 0;
  // KEEP: a short or malformed file loads (1), unread entries kept (PaletteOnDisplay.LoadingTolerates...).
  ReadPaletteTextStream(file, entries);
  std::fclose(file);
  return 1;
}
