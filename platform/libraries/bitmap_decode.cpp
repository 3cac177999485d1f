// BMP decoding through SDL_LoadBMP_RW from memory, converted to 0x00RRGGBB rows of our own. The header's size is
// checked first, against the limits and against the bytes the file holds, so a lying header allocates nothing.
#include "platform/bitmap_decode.h"

#include <SDL.h>

#include "platform/file_system.h"

namespace platform {

namespace {

// The largest file we read: a 16384 x 16384 picture at 32 bits and its headers fit well below this.
constexpr size_t kMaxFileBytes = size_t(1) << 30;

int32_t Read16(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }
int32_t Read32(const uint8_t* p) {
  return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24));
}

// Whether the bytes after the pixel-data offset could fill the picture the headers state: uncompressed rows take
// their width in bits padded to 4 bytes each; run lengths give at most 255 pixels for every 2 bytes.
bool DataCouldFill(const uint8_t* data, size_t size, uint32_t infoSize, int64_t width, int64_t height) {
  const uint8_t* info = data + 14;
  const int64_t bits = infoSize == 12 ? Read16(info + 10) & 0xFFFF : Read16(info + 14) & 0xFFFF;
  const uint32_t compression = infoSize >= 20 && size >= 14 + 20 ? static_cast<uint32_t>(Read32(info + 16)) : 0;
  const uint32_t offset = static_cast<uint32_t>(Read32(data + 10));
  const int64_t available = offset <= size ? static_cast<int64_t>(size - offset) : 0;
  constexpr uint32_t kRle8 = 1, kRle4 = 2;
  if (compression == kRle8 || compression == kRle4) return width * height <= available / 2 * 255;
  const int64_t rowBytes = (width * bits + 31) / 32 * 4;
  return rowBytes * height <= available;
}

// Checks the signature, the picture's size as the headers state it, and that the file could hold that picture.
bool CheckHeaders(const uint8_t* data, size_t size, std::string* error) {
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') {
    *error = "not a BMP file";
    return false;
  }
  const uint8_t* info = data + 14;
  uint32_t infoSize = static_cast<uint32_t>(Read32(info));
  int64_t width, height;
  if (infoSize == 12) {
    width = Read16(info + 4) & 0xFFFF;
    height = Read16(info + 6) & 0xFFFF;
  } else {
    if (infoSize < 16 || size < 14 + 16) {
      *error = "BMP info header is too short";
      return false;
    }
    width = Read32(info + 4);
    height = Read32(info + 8);
  }
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
      width * height > kMaxPicturePixels) {
    *error = "BMP picture size out of range";
    return false;
  }
  // Refused here, before the decoder allocates the picture a lying header asks for.
  if (!DataCouldFill(data, size, infoSize, width, height)) {
    *error = "BMP pixel data too short for the picture size";
    return false;
  }
  return true;
}

}  // namespace

bool DecodeBitmapBytes(const uint8_t* data, size_t size, DecodedPicture* out, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (data == nullptr || out == nullptr || !CheckHeaders(data, size, error)) return false;
  SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (stream == nullptr) {
    *error = SDL_GetError();
    return false;
  }
  SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
  if (loaded == nullptr) {
    *error = SDL_GetError();
    return false;
  }
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XRGB8888, 0);
  SDL_FreeSurface(loaded);
  if (converted == nullptr) {
    *error = SDL_GetError();
    return false;
  }
  out->width = converted->w;
  out->height = converted->h;
  out->rgb.resize(static_cast<size_t>(converted->w) * converted->h);
  SDL_LockSurface(converted);
  for (int32_t y = 0; y < converted->h; ++y) {
    const auto* row = static_cast<const uint8_t*>(converted->pixels) + static_cast<size_t>(y) * converted->pitch;
    SDL_memcpy(out->rgb.data() + static_cast<size_t>(y) * converted->w, row, static_cast<size_t>(converted->w) * 4);
  }
  SDL_UnlockSurface(converted);
  SDL_FreeSurface(converted);
  for (uint32_t& pixel : out->rgb) pixel &= 0xFFFFFF;
  return true;
}

bool DecodeBitmapFile(const char* path, DecodedPicture* out, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (path == nullptr) {
    *error = "no file name";
    return false;
  }
  File* file = OpenFileForReading(path, FileContent::Bytes);
  if (file == nullptr) {
    *error = std::string("cannot open ") + path;
    return false;
  }
  const int64_t length = SeekFile(file, 0, SeekFrom::End) ? FilePosition(file) : -1;
  if (length < 0 || static_cast<uint64_t>(length) > kMaxFileBytes) {
    CloseFile(file);
    *error = std::string("unreadable or oversized file ") + path;
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  const size_t got = SeekFile(file, 0, SeekFrom::Start) ? ReadFromFile(file, bytes.data(), bytes.size()) : 0;
  CloseFile(file);
  if (got != bytes.size()) {
    *error = std::string("short read of ") + path;
    return false;
  }
  return DecodeBitmapBytes(bytes.data(), bytes.size(), out, error);
}

}  // namespace platform
