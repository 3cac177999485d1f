// File contents built byte by byte and written out whole: the pieces the BMP, WAVE and MIDI writers share.
// Each writer builds its whole file in memory and hands it over at once; a failed write leaves a reason.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assets {

// Appends the low `bytes` bytes of value, least significant first.
void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes);

// Writes bytes to path, replacing any file there. Returns false and a reason in *error when it cannot.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

}  // namespace assets
