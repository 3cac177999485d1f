// An optional record of when each flipped frame reached the window, for measuring the game's pacing from outside.
// Off unless the environment variable TAVO_FRAME_LOG is set when the program starts; off, it costs one test.
#pragma once
#include <cstdint>

namespace platform {

// Called by the SDL presentation after each shown flip with the picture it showed. With TAVO_FRAME_LOG set,
// writes one line "frame <microseconds on a monotonic clock>" to standard error; with TAVO_FRAME_LOG=img the
// line ends in " img=<16 hex digits>", the picture's fingerprint as the replay trace prints it. Else nothing.
void LogFramePresented(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel);

}  // namespace platform
