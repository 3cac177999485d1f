// The RIFF chunk walker behind the WAVE loader. Every offset is computed in 64 bits and checked against the
// file's real length, so chunk sizes that lie (too big, 0xFFFFFFFF, odd) never lead outside the file.
#include "audio/riff_reader.h"

#include <algorithm>

namespace {

constexpr uint32_t kRiffId = MakeFourCc('R', 'I', 'F', 'F');
constexpr uint32_t kListId = MakeFourCc('L', 'I', 'S', 'T');

uint32_t ReadLittleEndian32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// Reads exactly count bytes at offset; false when the file ends first.
bool ReadAt(RiffFile* file, uint64_t offset, uint8_t* destination, size_t count) {
  if (offset > file->length || file->length - offset < count) return false;
  if (!platform::SeekFile(file->stream, static_cast<int64_t>(offset), platform::SeekFrom::Start)) return false;
  return platform::ReadFromFile(file->stream, destination, count) == count;
}

bool Matches(const ChunkInfo& wanted, uint32_t id, uint32_t formType, uint32_t flags) {
  if (flags & MMIO_FINDRIFF) return id == kRiffId && formType == wanted.fccType;
  if (flags & MMIO_FINDCHUNK) return id == wanted.ckid;
  return true;
}

}  // namespace

RiffFile* RiffOpen(const char* fileName) {
  if (!fileName) return nullptr;
  platform::File* stream = platform::OpenFileForReading(fileName, platform::FileContent::Bytes);
  if (!stream) return nullptr;
  int64_t length = -1;
  if (platform::SeekFile(stream, 0, platform::SeekFrom::End)) length = platform::FilePosition(stream);
  if (length < 0) {
    platform::CloseFile(stream);
    return nullptr;
  }
  return new RiffFile{stream, static_cast<uint64_t>(length), 0};
}

void RiffClose(RiffFile* file) {
  if (!file) return;
  platform::CloseFile(file->stream);
  delete file;
}

int32_t RiffDescend(RiffFile* file, ChunkInfo* chunk, const ChunkInfo* parent, uint32_t flags) {
  if (!file || !chunk) return kRiffInvalidParam;
  // The search ends at the parent's declared end or at the end of the file, whichever comes first.
  uint64_t end = file->length;
  if (parent) end = std::min<uint64_t>(end, static_cast<uint64_t>(parent->dwDataOffset) + parent->cksize);
  uint64_t position = file->position;
  while (position + 8 <= end) {
    uint8_t header[12];
    if (!ReadAt(file, position, header, 8)) return kRiffChunkNotFound;
    const uint32_t id = ReadLittleEndian32(header);
    const uint32_t size = ReadLittleEndian32(header + 4);
    const uint64_t dataOffset = position + 8;
    const bool hasFormType = id == kRiffId || id == kListId;
    uint32_t formType = 0;
    if (hasFormType) {
      if (!ReadAt(file, dataOffset, header + 8, 4)) return kRiffChunkNotFound;
      formType = ReadLittleEndian32(header + 8);
    }
    if (dataOffset > UINT32_MAX) return kRiffChunkNotFound;
    if (Matches(*chunk, id, formType, flags)) {
      *chunk = ChunkInfo{id, size, formType, static_cast<uint32_t>(dataOffset), 0};
      file->position = dataOffset + (hasFormType ? 4 : 0);
      return kRiffOk;
    }
    // Skip the whole chunk, padded to an even size as RIFF requires.
    position = dataOffset + size + (size & 1u);
  }
  return kRiffChunkNotFound;
}

int32_t RiffAscend(RiffFile* file, ChunkInfo* chunk, uint32_t /*flags*/) {
  if (!file || !chunk) return kRiffInvalidParam;
  file->position = static_cast<uint64_t>(chunk->dwDataOffset) + chunk->cksize + (chunk->cksize & 1u);
  return kRiffOk;
}

int32_t RiffRead(RiffFile* file, void* destination, int32_t count) {
  if (!file || count < 0 || (!destination && count > 0)) return -1;
  if (file->position >= file->length) return 0;
  const uint64_t available = file->length - file->position;
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(available, static_cast<uint64_t>(count)));
  if (wanted == 0) return 0;
  if (!platform::SeekFile(file->stream, static_cast<int64_t>(file->position), platform::SeekFrom::Start)) return 0;
  const size_t got = platform::ReadFromFile(file->stream, destination, wanted);
  file->position += got;
  return static_cast<int32_t>(got);
}
