// MIDI music on both backends: a performance (a General MIDI synthesiser mixed into the sound device's
// output), a loader that reads standard MIDI files into segments, and the player that starts and stops them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sound.h"

namespace platform {

struct MusicPerformanceObject;  // synthesiser + player, rendered in the sound device's mix
struct MusicLoaderObject;       // finds files by name in its search folder
struct MusicSegment;            // one loaded standard MIDI file
struct MusicSegmentState;       // one start of a segment

// Results: 0 success (and "is playing"), 1 "not playing", failures negative.
constexpr int32_t kMusicOk = 0;
constexpr int32_t kMusicFalse = 1;
constexpr int32_t kMusicErrInvalidArg = static_cast<int32_t>(0x80070057u);
constexpr int32_t kMusicErrNoSoundFont = static_cast<int32_t>(0x88781161u);
constexpr int32_t kMusicErrNotFound = static_cast<int32_t>(0x88781161u + 1);
constexpr int32_t kMusicErrBadFile = static_cast<int32_t>(0x88781161u + 2);
constexpr int32_t kMusicErrNotInitialised = static_cast<int32_t>(0x88781161u + 3);

// The largest MIDI file the loader reads.
constexpr size_t kMaxMidiFileBytes = 16u << 20;

// The rate at which the headless backend's synthesiser renders (RenderHeadlessAudio at another rate
// leaves the music out).
constexpr uint32_t kHeadlessMusicRate = 48000;

// Every operation below is called by the music table (audio/music.cpp) unless its line says otherwise.

// Performance: created, then Open binds it to the sound device and loads the General MIDI SoundFont
// (none found: kMusicErrNoSoundFont and one "MUSIC: ..." line on stderr), then AddPort joins it to the mix.
// Create, Open and AddPort by InitMusic.
int32_t CreateMusicPerformance(MusicPerformanceObject** out);
int32_t OpenMusicPerformance(MusicPerformanceObject* performance, SoundDeviceObject* device);
int32_t AddMusicPort(MusicPerformanceObject* performance);
// Starts segment at once (replacing any song the performance plays); fills *state when state is not null.
// Called by PlayMidi.
int32_t PlayMusicSegment(MusicPerformanceObject* performance, MusicSegment* segment, MusicSegmentState** state);
// Stops segment (or everything when segment is null) at once and silences its notes. Called by StopMidi.
int32_t StopMusicSegment(MusicPerformanceObject* performance, MusicSegment* segment);
// kMusicOk while segment plays, kMusicFalse once it was stopped or has ended by itself. Called by GetMidiStatus.
int32_t IsMusicSegmentPlaying(MusicPerformanceObject* performance, MusicSegment* segment);
// Undoes Open (the synthesiser goes); called by ShutdownMusic before the release.
int32_t CloseMusicPerformance(MusicPerformanceObject* performance);
uint32_t ReleaseMusicPerformance(MusicPerformanceObject* performance);

// Loader: relative file names are resolved against the search folder. Made by InitMusic, used by LoadMidi
// (and the MIDI fuzzer), released by ShutdownMusic.
int32_t CreateMusicLoader(MusicLoaderObject** out);
int32_t SetMusicSearchDirectory(MusicLoaderObject* loader, const char* folder);
// Reads fileName whole and checks that it is a standard MIDI file (kMusicErrNotFound, kMusicErrBadFile).
int32_t LoadMusicSegment(MusicLoaderObject* loader, const char* fileName, MusicSegment** out);
uint32_t ReleaseMusicLoader(MusicLoaderObject* loader);

// Segment parameters: treat as a standard MIDI file, download its instruments to a performance (the
// segment can then be played there), or unload them. Called by LoadMidi and DeleteMidi, which also release
// segments and states.
enum class SegmentParam { StandardMidiFile, Download, Unload };
int32_t SetMusicSegmentParam(MusicSegment* segment, SegmentParam param, MusicPerformanceObject* performance);
uint32_t ReleaseMusicSegment(MusicSegment* segment);
uint32_t ReleaseMusicSegmentState(MusicSegmentState* state);

// Whether bytes hold a standard MIDI file: an "MThd" chunk of at least 6 bytes first (longer ones are
// fine), format 0 to 2, a non-zero time division, at least as many "MTrk" chunks as it declares (one or
// more), no chunk running past the end, and no meta or system-exclusive event in the tracks played stating
// a length past its track's end. Called by the loader (and the MIDI fuzzer).
bool IsStandardMidiFile(const uint8_t* bytes, size_t size);

// Whether bytes hold a GUS instrument patch the Timidity renderer can play: its headers whole, one instrument of
// one layer with at least one sample, every sample's data inside the file (whole 16-bit samples where marked,
// at most 2^18 of them) with its loop inside the data (and not empty when played), and a root frequency among the
// MIDI notes' and below half the sample rate. Called by the Timidity renderer for every patch of its instrument set
// (and the patch fuzzer).
bool IsPlayablePatchFile(const uint8_t* bytes, size_t size);

// The General MIDI SoundFont to use: $TAVO_SOUNDFONT when set (and only it), else FluidR3 when installed,
// else TimGM6mb; empty when none exists. Called by OpenMusicPerformance.
std::string FindSoundFontPath();

}  // namespace platform
