// Inside the platform's music service: the MIDI renderer, the one part of music that needs a synthesiser
// library. One renderer file, picked by the build, defines these (libraries/music_fluid.cpp on FluidSynth,
// libraries/music_timidity.cpp on the Timidity code of SDL2_mixer's source).
#pragma once
#include <cstdint>
#include <vector>

namespace platform {

// One synthesiser with its General MIDI instruments, playing at most one song at a time.
struct MusicRenderer;

// Makes a renderer that renders at rate Hz; null, after one "MUSIC: ..." line on standard error, when its
// instruments cannot be found or loaded.
MusicRenderer* CreateMusicRenderer(uint32_t rate);
void DestroyMusicRenderer(MusicRenderer* renderer);

// Readies the standard MIDI file for a start that follows (the renderer may read what it needs for it now).
// Called on the game thread without MusicMutex, so the audio thread does not wait for it; the audio thread
// never touches what it prepares until StartMusicSong.
void PrepareMusicSong(MusicRenderer* renderer, const std::vector<uint8_t>& midiFile);

// The functions below are called with MusicMutex held, since the audio thread renders meanwhile.

// Starts the standard MIDI file at once in place of any song: kMusicOk, kMusicErrBadFile when the renderer
// refuses the file, kMusicErrNotInitialised when it cannot make a player.
int32_t StartMusicSong(MusicRenderer* renderer, const std::vector<uint8_t>& midiFile);
// Ends the song (if any) at once and silences every sounding note.
void StopMusicSong(MusicRenderer* renderer);
// True from the start of a song until it was stopped or its last event has been played.
bool MusicSongPlaying(MusicRenderer* renderer);
// Adds `frames` interleaved stereo frames of the renderer's output to out.
void RenderMusicSong(MusicRenderer* renderer, float* out, uint32_t frames);

}  // namespace platform
