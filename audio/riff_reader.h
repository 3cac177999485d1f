// A small reader of RIFF files that walks chunks the way the classic multimedia file calls do:
// open, descend into a chunk (by form type or chunk id), read, ascend, close. It never reads outside the file.
#pragma once
#include <cstdint>

#include "platform/file_system.h"

// Four-character codes as little-endian 32-bit values ("WAVE" is 0x45564157).
constexpr uint32_t MakeFourCc(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

// Flags of RiffDescend.
constexpr uint32_t MMIO_FINDCHUNK = 0x10;  // find a chunk with the given chunk id
constexpr uint32_t MMIO_FINDRIFF = 0x20;   // find a "RIFF" chunk with the given form type

// A chunk record: id, declared size, form type (RIFF and LIST chunks), where its data starts, flags.
struct ChunkInfo {
  uint32_t ckid;
  uint32_t cksize;
  uint32_t fccType;
  uint32_t dwDataOffset;
  uint32_t dwFlags;
};

// An open RIFF file: the platform's open file, its length and the reading position.
struct RiffFile {
  platform::File* stream;
  uint64_t length;
  uint64_t position;
};

// Results: 0 success; the failures below.
constexpr int32_t kRiffOk = 0;
constexpr int32_t kRiffChunkNotFound = 265;
constexpr int32_t kRiffCannotSeek = 262;
constexpr int32_t kRiffInvalidParam = 273;

// Opens fileName for reading; null when it cannot be opened. Close with RiffClose.
RiffFile* RiffOpen(const char* fileName);
void RiffClose(RiffFile* file);

// Searches from the current position (within parent's data when parent is given) for the chunk that chunk
// names (its ckid with MMIO_FINDCHUNK, its fccType with MMIO_FINDRIFF; with no flag the next chunk), fills
// the record and leaves the position at the start of its data (after the form type for RIFF/LIST).
int32_t RiffDescend(RiffFile* file, ChunkInfo* chunk, const ChunkInfo* parent, uint32_t flags);

// Moves the position to the end of chunk (padded to an even size).
int32_t RiffAscend(RiffFile* file, ChunkInfo* chunk, uint32_t flags);

// Reads up to count bytes at the position, not limited to the current chunk; returns the count read
// (less only at the end of the file), or -1 for a bad argument.
int32_t RiffRead(RiffFile* file, void* destination, int32_t count);
