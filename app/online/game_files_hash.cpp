// The game files' fingerprint: every file of the asset catalogue read through the platform's small-file read,
// hashed with its name, once per run.
#include "app/online/game_files_hash.h"

#include <string>

#include "app/asset_catalogue.h"
#include "platform/file_system.h"

namespace {

constexpr size_t kLargestAssetBytes = 16u << 20;

void HashBytes(uint64_t* hash, const void* bytes, size_t count) {
  const auto* byte = static_cast<const uint8_t*>(bytes);
  for (size_t i = 0; i < count; ++i) *hash = (*hash ^ byte[i]) * 0x100000001B3ull;
}

}  // namespace

uint64_t GameFilesHash() {
  static uint64_t hash = 0;
  if (hash != 0) return hash;
  hash = 0xCBF29CE484222325ull;
  for (int32_t index = 0; index < AssetFileCount(); ++index) {
    const std::string path = AssetFilePath(index);
    HashBytes(&hash, path.c_str(), path.size() + 1);
    std::string contents;
    std::string error;
    if (platform::ReadSmallFile(path, kLargestAssetBytes, &contents, &error) == platform::FileRead::Read)
      HashBytes(&hash, contents.data(), contents.size());
  }
  return hash;
}
