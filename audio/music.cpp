// The music table: the performance and loader, 64 song slots and the load/play/stop/status operations.
// Ids outside 0..63 and a missing performance or loader are refused without touching the table.
#include "audio/music.h"

#include <string>

#include "audio/sound_effects.h"
#include "platform/process_environment.h"

MidiSlot MidiTable[kMidiSlotCount];
platform::MusicPerformanceObject* MusicPerformance = nullptr;
platform::MusicLoaderObject* MusicLoader = nullptr;
int32_t CurrentMidi = -1;

namespace {

bool IsMidiId(int32_t id) { return id >= 0 && id < kMidiSlotCount; }

// A slot that play, stop and status may act on: inside the table, holding a song, with a performance.
bool HoldsSong(int32_t id) {
  return IsMidiId(id) && MidiTable[id].segment && MidiTable[id].state != kMidiStateFree && MusicPerformance;
}

int32_t FindFreeMidiSlot() {
  for (int32_t i = 0; i < kMidiSlotCount; ++i)
    if (MidiTable[i].state == kMidiStateFree) return i;
  return -1;
}

void ReleaseSegmentState(MidiSlot& slot) {
  platform::ReleaseMusicSegmentState(slot.segmentState);
  slot.segmentState = nullptr;
}

std::string lastLoadError;

// Keeps the reason for LastMidiLoadError; returns null for LoadSegment's callers.
platform::MusicSegment* RefuseSegment(const char* reason) {
  lastLoadError = reason;
  return nullptr;
}

// Reads the file through the loader, searching the working folder; null (with the reason kept) on any failure.
platform::MusicSegment* LoadSegment(const char* fileName) {
  const std::string folder = platform::WorkingFolder();
  if (folder.empty()) return RefuseSegment("the working folder cannot be read");
  if (platform::SetMusicSearchDirectory(MusicLoader, folder.c_str()) < 0) {
    return RefuseSegment("the loader refused the working folder");
  }
  platform::MusicSegment* segment = nullptr;
  const int32_t loaded = platform::LoadMusicSegment(MusicLoader, fileName, &segment);
  if (loaded == platform::kMusicErrNotFound) return RefuseSegment("cannot read the file");
  if (loaded == platform::kMusicErrBadFile) return RefuseSegment("not a standard MIDI file");
  if (loaded < 0) return RefuseSegment("the loader refused it");
  // A segment whose set-up fails is released rather than left behind.
  if (platform::SetMusicSegmentParam(segment, platform::SegmentParam::StandardMidiFile, MusicPerformance) < 0 ||
      platform::SetMusicSegmentParam(segment, platform::SegmentParam::Download, MusicPerformance) < 0) {
    platform::ReleaseMusicSegment(segment);
    return RefuseSegment("the performance refused the song");
  }
  return segment;
}

}  // namespace

int32_t InitMusic() {
  if (platform::CreateMusicPerformance(&MusicPerformance) < 0) return 0;
  // The performance plays through the sound effects' device, so InitSound must come first.
  if (platform::OpenMusicPerformance(MusicPerformance, SoundDevice) < 0) return 0;
  if (platform::AddMusicPort(MusicPerformance) < 0) return 0;
  if (platform::CreateMusicLoader(&MusicLoader) < 0) return 0;
  for (int32_t i = 0; i < kMidiSlotCount; ++i) MidiTable[i] = MidiSlot{nullptr, nullptr, i, kMidiStateFree};
  CurrentMidi = -1;
  return 1;
}

int32_t LoadMidi(const char* fileName) {
  lastLoadError.clear();
  const int32_t index = FindFreeMidiSlot();
  if (index < 0 || !MusicLoader || !MusicPerformance) {
    lastLoadError = index < 0 ? "every song slot is taken" : "no music performance";
    return -1;
  }
  platform::MusicSegment* segment = LoadSegment(fileName);
  if (!segment) return -1;
  MidiTable[index] = MidiSlot{segment, nullptr, index, kMidiStateLoaded};
  return index;
}

const std::string& LastMidiLoadError() { return lastLoadError; }

int32_t PlayMidi(int32_t id) {
  if (!HoldsSong(id)) return 0;
  // KEEP: the current song is stopped even when it is this one (MusicTable.PlayingTheCurrentSongAgain...).
  if (CurrentMidi != -1) StopMidi(CurrentMidi);
  MidiSlot& slot = MidiTable[id];
  ReleaseSegmentState(slot);
  platform::PlayMusicSegment(MusicPerformance, slot.segment, &slot.segmentState);
  slot.state = kMidiStatePlaying;
  CurrentMidi = id;
  return 1;
}

int32_t StopMidi(int32_t id) {
  if (!HoldsSong(id)) return 0;
  platform::StopMusicSegment(MusicPerformance, MidiTable[id].segment);
  MidiTable[id].state = kMidiStateStopped;
  // KEEP: CurrentMidi becomes -1 whichever song was stopped (MusicTable.StopSilencesAtOnce... checks it).
  CurrentMidi = -1;
  return 1;
}

int32_t GetMidiStatus(int32_t id) {
  if (!HoldsSong(id)) return 0;
  const bool playing = platform::IsMusicSegmentPlaying(MusicPerformance, MidiTable[id].segment) == platform::kMusicOk;
  MidiTable[id].state = playing ? kMidiStatePlaying : kMidiStateStopped;
  return MidiTable[id].state;
}

// KEEP: deleting neither stops the song nor touches CurrentMidi (MusicTable.DeleteFreesTheSlot... checks).
int32_t DeleteMidi(int32_t id) {
  if (!IsMidiId(id)) return 1;
  MidiSlot& slot = MidiTable[id];
  if (slot.segment) {
    platform::SetMusicSegmentParam(slot.segment, platform::SegmentParam::Unload, MusicPerformance);
    platform::ReleaseMusicSegment(slot.segment);
    ReleaseSegmentState(slot);
    slot.segment = nullptr;
    slot.state = kMidiStateFree;
  }
  return 1;
}

int32_t DeleteAllMidi() {
  for (int32_t i = 0; i < kMidiSlotCount; ++i)
    if (MidiTable[i].segment) DeleteMidi(i);
  return 1;
}

int32_t ShutdownMusic() {
  if (MusicPerformance) platform::StopMusicSegment(MusicPerformance, nullptr);
  DeleteAllMidi();
  if (MusicPerformance) {
    platform::CloseMusicPerformance(MusicPerformance);
    platform::ReleaseMusicPerformance(MusicPerformance);
    MusicPerformance = nullptr;
  }
  if (MusicLoader) {
    platform::ReleaseMusicLoader(MusicLoader);
    MusicLoader = nullptr;
  }
  return 1;
}
