// Feeds arbitrary bytes to the GUS patch check, then every patch it accepts to the Timidity renderer's own reader,
// which must make an instrument of it and play it without reading or writing outside what it owns.
#include <cstdint>
#include <vector>

#include "platform/music.h"
#include "platform/tool_support/timidity_patch_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> exact(data, data + size);
  if (!platform::IsPlayablePatchFile(exact.data(), exact.size())) return 0;
  // The check let the patch through, so the reader must take it too: a refusal means the two disagree.
  if (!platform::timidity_reader::ReadAndPlayPatch(exact.data(), exact.size())) __builtin_trap();
  return 0;
}
