// Inside the platform's music service: the segment and segment-state records shared by the loader
// (music_loader.cpp) and the performance (music_performance.cpp), whichever renderer plays: FluidSynth or Timidity.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/music.h"

namespace platform {

struct MusicSegment {
  std::vector<uint8_t> bytes;                      // the whole standard MIDI file
  bool isStandardMidiFile = false;                 // set by SegmentParam::StandardMidiFile
  MusicPerformanceObject* downloadedTo = nullptr;  // set by SegmentParam::Download
  uint32_t refCount = 1;
};

struct MusicSegmentState {
  uint64_t startNumber = 0;  // counts the starts of the performance
};

// Guards the performance's player against the audio thread that renders it.
std::mutex& MusicMutex();

// Called with MusicMutex held when a segment goes away, so no performance keeps pointing at it.
void ForgetMusicSegment(MusicSegment* segment);

}  // namespace platform
