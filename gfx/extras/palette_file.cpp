// Saving and loading a palette as text. The reader takes numbers of any length and sign without overflow,
// keeping the low 8 bits of each, and stops quietly at the first thing that is not a number.
#include "gfx/extras/palette_file.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr int kEndOfFile = -1;

// The reading side of one file, a byte at a time through the file service's buffer, with the byte that ended a
// number held back for the next read (as the C library's ungetc would).
struct TextReader {
  platform::File* file;
  int heldBack = kEndOfFile;
  bool holding = false;
};

int NextByte(TextReader* reader) {
  if (reader->holding) {
    reader->holding = false;
    return reader->heldBack;
  }
  unsigned char byte;
  return platform::ReadFromFile(reader->file, &byte, 1) == 1 ? byte : kEndOfFile;
}

void HoldBack(TextReader* reader, int c) {
  reader->heldBack = c;
  reader->holding = true;
}

// Reads one decimal integer after optional white space and an optional sign, as "%d" would.
// Returns false when no digit follows. The value wraps modulo 2^32, which keeps its low 8 bits exact.
bool ReadDecimal(TextReader* reader, uint8_t* lowByte) {
  int c = NextByte(reader);
  while (c != kEndOfFile && std::isspace(c)) c = NextByte(reader);
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = (c == '-');
    c = NextByte(reader);
  }
  if (c == kEndOfFile || !std::isdigit(c)) return false;
  uint32_t value = 0;
  while (c != kEndOfFile && std::isdigit(c)) {
    value = value * 10u + static_cast<uint32_t>(c - '0');
    c = NextByte(reader);
  }
  if (c != kEndOfFile) HoldBack(reader, c);
  if (negative) value = 0u - value;
  *lowByte = static_cast<uint8_t>(value & 0xFFu);
  return true;
}

}  // namespace

int32_t SavePaletteText(const char* path, const PaletteEntry* entries) {
  platform::File* file = platform::CreateFileForWriting(path, platform::FileContent::Text);
  if (file == nullptr) return 0;
  bool written = true;
  for (int32_t i = 0; i < 256 && written; ++i) {
    const PaletteEntry& e = entries[i];
    // KEEP: each entry begins with its newline: the saved file's layout (PaletteOnDisplay.SavedFile... checks).
    char line[32];
    const int length = std::snprintf(line, sizeof line, "\n%d %d %d %d", e.red, e.green, e.blue, e.flags);
    written = platform::WriteToFile(file, line, static_cast<size_t>(length));
  }
  // A full disk shows up here at the latest; a file that was not written whole is a failure.
  if (!platform::CloseFile(file)) written = false;
  return written ? 1 : 0;
}

int32_t ReadPaletteTextStream(platform::File* file, PaletteEntry* entries) {
  TextReader reader{file};
  for (int32_t i = 0; i < 256; ++i) {
    uint8_t values[4];
    for (uint8_t& value : values) {
      if (!ReadDecimal(&reader, &value)) return i;
    }
    entries[i] = PaletteEntry{values[0], values[1], values[2], values[3]};
  }
  return 256;
}

int32_t LoadPaletteText(const char* path, PaletteEntry* entries) {
  platform::File* file = platform::OpenFileForReading(path, platform::FileContent::Text);
  if (file == nullptr) return 0;
  // KEEP: a short or malformed file loads (1), unread entries kept (PaletteOnDisplay.LoadingTolerates...).
  ReadPaletteTextStream(file, entries);
  platform::CloseFile(file);
  return 1;
}
