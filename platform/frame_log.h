// An optional record of when each flipped frame reached the window, for measuring the game's pacing from outside.
// Off unless the environment variable TAVO_FRAME_LOG is set when the program starts; off, it costs one test.
#pragma once

namespace platform {

// Called by the SDL presentation after each shown flip. With TAVO_FRAME_LOG set, writes one line
// "frame <microseconds on a monotonic clock>" to standard error; otherwise does nothing.
void LogFramePresented();

}  // namespace platform
