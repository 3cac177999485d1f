// The Timidity renderer's own patch reader, reached directly by the patch fuzz target, so the patch check and the
// reader it guards are fuzzed together. Built only where a Timidity library is at hand (platform/CMakeLists.txt).
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform::timidity_reader {

// Has the renderer read the patch as the only patch of its instrument set, for a melodic program and for a drum
// note, and play a second of a song of both notes, so its loop points are played through. True when the reader
// made an instrument of it both times. The first call writes the set's config and readies the renderer; a failure
// there ends the process, since nothing could be read without them.
bool ReadAndPlayPatch(const uint8_t* bytes, size_t size);

}  // namespace platform::timidity_reader
