// Feeds arbitrary bytes to the GUS patch check: it must accept or refuse every input without reading past it.
// The input is copied into a buffer of exactly its size, so a read past the end is caught by the sanitizers.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/music.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> exact(data, data + size);
  platform::IsPlayablePatchFile(exact.data(), exact.size());
  return 0;
}
