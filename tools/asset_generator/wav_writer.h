// Writes sounds as RIFF WAVE files: PCM, unsigned 8-bit, mono, at the given rate.
// That is the format the game's sound loader and mixer take.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assets {

// Converts samples in [-1, 1] to unsigned 8-bit (128 is silence); values beyond the range are clamped.
std::vector<uint8_t> ToUnsigned8(const std::vector<float>& samples);

// Writes the RIFF header, a 16-byte "fmt " chunk and the "data" chunk (padded to an even size).
// Returns false and a reason in *error when the file cannot be written.
bool WriteWav8(const std::string& path, const std::vector<float>& samples, uint32_t sampleRate, std::string* error);

}  // namespace assets
