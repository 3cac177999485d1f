// Little-endian byte appending and whole-file writing for the generator's file writers.
// Each writer builds its whole file in memory first, so a file is written in one piece or reported as failed.
#include "tools/asset_generator/file_bytes.h"

#include <fstream>

namespace assets {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  file.close();  // a small file may reach the disk only here, so its failure shows only here
  if (!file) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace assets
