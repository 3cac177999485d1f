// The music table: 64 slots of standard MIDI songs played one at a time through the music performance.
// A song's id is its slot's index; ids outside 0..63 (a failed load's -1 above all) are refused like a free slot.
#pragma once
#include <cstdint>
#include <string>

#include "platform/music.h"

// One record of the table, fields in this order.
struct MidiSlot {
  platform::MusicSegment* segment;            // the loaded song, or null when the slot is free
  platform::MusicSegmentState* segmentState;  // filled each time the song is started
  int32_t id;                                 // the slot's own index
  int32_t state;                              // 0 free, 1 loaded, 2 playing, 3 stopped
};

constexpr int32_t kMidiSlotCount = 64;

// Slot states.
constexpr int32_t kMidiStateFree = 0;
constexpr int32_t kMidiStateLoaded = 1;
constexpr int32_t kMidiStatePlaying = 2;
constexpr int32_t kMidiStateStopped = 3;

// Owned by the music table; written only by the operations below.
extern MidiSlot MidiTable[kMidiSlotCount];
extern platform::MusicPerformanceObject* MusicPerformance;  // null until InitMusic creates it
extern platform::MusicLoaderObject* MusicLoader;            // null until InitMusic creates it
extern int32_t CurrentMidi;                                 // the song last started, -1 when none

// Start-up, after InitSound: creates the performance on the sound device and the loader. 1, or 0 at the
// first failing step (no SoundFont: one "MUSIC: ..." line on stderr).
int32_t InitMusic();

// Loads a standard MIDI file (relative to the working folder) into the lowest free slot: its id, or -1.
int32_t LoadMidi(const char* fileName);
// Why the last LoadMidi gave -1, as the loader said it; empty after one that succeeded.
const std::string& LastMidiLoadError();

// Stops the current song (even when it is this one) and starts song id from its beginning. 1, or 0
// when slot id holds no song.
int32_t PlayMidi(int32_t id);

// Stops song id at once; the slot reads stopped and CurrentMidi becomes -1. 1, or 0 for no song.
int32_t StopMidi(int32_t id);

// Asks the performance: 2 playing, 3 stopped (or ended by itself); 0 when slot id holds no song.
int32_t GetMidiStatus(int32_t id);

// Frees slot id without stopping the song; CurrentMidi is left as it is. Always 1.
int32_t DeleteMidi(int32_t id);
int32_t DeleteAllMidi();

// Shut-down: stops everything, frees every slot, closes the performance and the loader. Always 1.
int32_t ShutdownMusic();
