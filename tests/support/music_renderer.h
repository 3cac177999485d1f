// The music renderer the tree was built with, for the tests whose expectations name it: the environment
// variable that points it at its instruments, and the line it prints when they cannot be found.
#pragma once

namespace testmusic {

#ifdef TAVO_MUSIC_TIMIDITY
inline constexpr const char* kInstrumentsVariable = "TAVO_INSTRUMENTS";
inline constexpr const char* kMissingInstrumentsPath = "/nonexistent/timidity.cfg";
inline constexpr const char* kNoInstrumentsLine =
    "MUSIC: no instrument set found; the game looks for Instruments/timidity.cfg in its folder\n";
#else
inline constexpr const char* kInstrumentsVariable = "TAVO_SOUNDFONT";
inline constexpr const char* kMissingInstrumentsPath = "/nonexistent/none.sf2";
inline constexpr const char* kNoInstrumentsLine =
    "MUSIC: no General MIDI SoundFont found; install timgm6mb-soundfont\n";
#endif

}  // namespace testmusic
