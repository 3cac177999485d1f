// The MIDI renderer on the Timidity code that SDL2_mixer's source package carries (built alone): the GUS patches
// our timidity.cfg names, checked before its reader sees them, and the song rendered in whole blocks.
#include <SDL.h>
#include <sdl2_timidity/timidity.h>
#include <sdl2_timidity/playmidi.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "platform/file_system.h"
#include "platform/internal/music_renderer.h"
#include "platform/music.h"
#include "platform/os/operating_system.h"
#include "platform/process_environment.h"

namespace platform {

namespace {

// The largest patch file the set may hold (the game's largest is under 100 KB).
constexpr size_t kMaxPatchFileBytes = 16u << 20;
// The largest instrument config read (ours is under 10 KB).
constexpr size_t kMaxConfigBytes = 1u << 20;

// The renderer fills whole blocks of this many frames at a time, so it is always asked for exactly one.
constexpr uint32_t kBlockFrames = 256;

// The renderer's 32-bit output puts 16-bit full scale at 2^28. The song is then scaled to sit, against the
// effects, where the FluidSynth rendering sits (about -23 dBFS over the whole song).
constexpr float kOutputScale = 0.37f / static_cast<float>(1u << 28);

// The songs a renderer keeps loaded (restarting one then reads no patch again); the game has one.
constexpr size_t kKeptSongs = 4;

// A song as the renderer loaded it from a file's bytes; song is null when the set cannot play it.
struct LoadedSong {
  std::vector<uint8_t> file;
  MidiSong* song = nullptr;
};

}  // namespace

struct MusicRenderer {
  uint32_t rate = 0;
  std::vector<LoadedSong> songs;       // the most recently started last
  MidiSong* playing = nullptr;         // the song being rendered, or null
  float block[2 * kBlockFrames] = {};  // the last block rendered; its frames from blockUsed on are not yet mixed
  uint32_t blockUsed = kBlockFrames;
  bool missingInstrumentsReported = false;
};

namespace {

// The renderer's instrument set is one per process: read by the first renderer, freed with the last.
uint32_t liveRenderers = 0;

// The instrument set to read: $TAVO_INSTRUMENTS when set (and only it), else Instruments/timidity.cfg in the
// working folder (the game's data folder), else beside the executable; empty when none exists.
std::string FindInstrumentConfig() {
  if (const auto chosen = EnvironmentVariable("TAVO_INSTRUMENTS")) return os::IsFile(*chosen) ? *chosen : std::string();
  for (std::string folder : {WorkingFolder(), ExecutableFolder()}) {
    if (folder.empty()) continue;
    if (folder.back() != '/' && folder.back() != '\\') folder += '/';
    if (os::IsFile(folder + "Instruments/timidity.cfg")) return folder + "Instruments/timidity.cfg";
  }
  return std::string();
}

// The first patch the instrument set names that is missing or would not play (the renderer's own reader trusts
// a patch's counts and lengths); empty when every one is sound. Patch names are read as the renderer reads
// them: the second word of a line that starts with a program or note number, relative to the set's folder.
std::string FirstBadPatch(const std::string& config) {
  std::string text, error;
  if (ReadSmallFile(config, kMaxConfigBytes, &text, &error) != FileRead::Read) return config;
  const std::string folder = config.substr(0, config.find_last_of("/\\") + 1);
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string slot, name;
    if (!(words >> slot >> name) || slot.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string path = name.front() == '/' ? name : folder + name;
    if (!os::IsFile(path)) path += ".pat";
    std::string bytes;
    if (ReadSmallFile(path, kMaxPatchFileBytes, &bytes, &error) != FileRead::Read ||
        !IsPlayablePatchFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
      return name;
  }
  return std::string();
}

// Reads the instrument set for the first renderer: false, after one MUSIC line, when it cannot be used.
bool ReadInstrumentSet() {
  const std::string config = FindInstrumentConfig();
  if (config.empty()) {
    std::fprintf(stderr, "MUSIC: no instrument set found; the game looks for Instruments/timidity.cfg in its folder\n");
    return false;
  }
  if (Timidity_Init(config.c_str()) != 0) {
    std::fprintf(stderr, "MUSIC: cannot read the instrument set %s\n", config.c_str());
    return false;
  }
  const std::string badPatch = FirstBadPatch(config);
  if (!badPatch.empty()) {
    Timidity_Exit();
    std::fprintf(stderr, "MUSIC: the instrument set %s has a missing or damaged patch %s\n", config.c_str(),
                 badPatch.c_str());
    return false;
  }
  return true;
}

// Whether every note the song plays has an instrument (the set may name none for a program or drum note).
// Follows the channels' banks, programs and drum sets through the song as the renderer does when it starts
// a note.
bool HasEveryInstrument(const MidiSong* song) {
  int bank[MAXCHAN] = {}, drumSet[MAXCHAN] = {}, program[MAXCHAN];
  std::fill(program, program + MAXCHAN, song->default_program);
  for (const MidiEvent* event = song->events; event->type != ME_EOT; ++event) {
    const int channel = event->channel;
    if (channel >= MAXCHAN) continue;
    const bool drums = ISDRUMCHANNEL(song, channel);
    if (event->type == ME_PROGRAM) {
      (drums ? drumSet : program)[channel] = event->a;
    } else if (event->type == ME_TONE_BANK && !drums) {
      bank[channel] = event->a;
    } else if (event->type == ME_NOTEON && event->b != 0) {
      ToneBank* const* banks = drums ? song->drumset : song->tonebank;
      const int index = drums ? event->a : program[channel];
      if (index < 0) continue;  // the renderer's default instrument, which we never set
      const ToneBank* chosen = banks[drums ? drumSet[channel] : bank[channel]];
      if ((!chosen || !chosen->instrument[index]) && !banks[0]->instrument[index]) return false;
    }
  }
  return true;
}

// Loads a song from a standard MIDI file; null (with one MUSIC line per renderer) when the set has no
// instrument for a note of it.
MidiSong* LoadSong(MusicRenderer* renderer, const std::vector<uint8_t>& file) {
  SDL_RWops* bytes = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (!bytes) return nullptr;
  SDL_AudioSpec format{};
  format.freq = static_cast<int>(renderer->rate);
  format.format = AUDIO_S32SYS;
  format.channels = 2;
  format.samples = kBlockFrames;
  MidiSong* song = Timidity_LoadSong(bytes, &format);
  SDL_RWclose(bytes);
  if (song && HasEveryInstrument(song)) return song;
  // The file passed the loader's check, so a refusal here comes from the instrument set.
  Timidity_FreeSong(song);
  if (!renderer->missingInstrumentsReported)
    std::fprintf(stderr, "MUSIC: the instrument set has no instrument for some notes of the song; it stays silent\n");
  renderer->missingInstrumentsReported = true;
  return nullptr;
}

// The renderer's song for the file, loaded when it is not yet kept; the oldest kept song not playing makes room.
MidiSong* SongFor(MusicRenderer* renderer, const std::vector<uint8_t>& file) {
  auto& songs = renderer->songs;
  auto kept =
      std::find_if(songs.begin(), songs.end(), [&file](const LoadedSong& loaded) { return loaded.file == file; });
  if (kept == songs.end()) {
    if (songs.size() >= kKeptSongs) {
      // At most one kept song is playing, so one of the others goes.
      auto oldest = std::find_if(songs.begin(), songs.end(), [renderer](const LoadedSong& loaded) {
        return !renderer->playing || loaded.song != renderer->playing;
      });
      Timidity_FreeSong(oldest->song);
      songs.erase(oldest);
    }
    songs.push_back(LoadedSong{file, LoadSong(renderer, file)});
    return songs.back().song;
  }
  std::rotate(kept, kept + 1, songs.end());
  return songs.back().song;
}

// Renders the next block of the playing song (silence once it ended) into the renderer's block.
void RenderBlock(MusicRenderer* renderer) {
  Sint32 raw[2 * kBlockFrames] = {};
  if (renderer->playing && Timidity_IsActive(renderer->playing))
    Timidity_PlaySome(renderer->playing, raw, static_cast<Sint32>(sizeof raw));
  for (uint32_t i = 0; i < 2 * kBlockFrames; ++i) renderer->block[i] = static_cast<float>(raw[i]) * kOutputScale;
  renderer->blockUsed = 0;
}

}  // namespace

MusicRenderer* CreateMusicRenderer(uint32_t rate) {
  if (liveRenderers == 0 && !ReadInstrumentSet()) return nullptr;
  ++liveRenderers;
  auto* renderer = new MusicRenderer;
  renderer->rate = rate;
  return renderer;
}

void DestroyMusicRenderer(MusicRenderer* renderer) {
  if (!renderer) return;
  StopMusicSong(renderer);
  for (LoadedSong& loaded : renderer->songs) Timidity_FreeSong(loaded.song);
  delete renderer;
  if (--liveRenderers == 0) Timidity_Exit();
}

// Loading a song reads its patches (about 12 ms for the game's song), so it is done here, where the audio
// thread does not wait; the song playing is never the one making room.
void PrepareMusicSong(MusicRenderer* renderer, const std::vector<uint8_t>& midiFile) { SongFor(renderer, midiFile); }

// The song was prepared just before, so it is found kept.
int32_t StartMusicSong(MusicRenderer* renderer, const std::vector<uint8_t>& midiFile) {
  StopMusicSong(renderer);
  MidiSong* song = SongFor(renderer, midiFile);
  if (!song) return kMusicErrBadFile;
  Timidity_SetVolume(song, 100);
  Timidity_Start(song);
  renderer->playing = song;
  return kMusicOk;
}

void StopMusicSong(MusicRenderer* renderer) {
  if (renderer->playing) Timidity_Stop(renderer->playing);
  renderer->playing = nullptr;
  renderer->blockUsed = kBlockFrames;
}

// The renderer clears its playing flag when it reaches the end of the song.
bool MusicSongPlaying(MusicRenderer* renderer) { return renderer->playing && Timidity_IsActive(renderer->playing); }

void RenderMusicSong(MusicRenderer* renderer, float* out, uint32_t frames) {
  if (!renderer->playing) return;
  while (frames > 0) {
    if (renderer->blockUsed == kBlockFrames) RenderBlock(renderer);
    const uint32_t count = std::min(frames, kBlockFrames - renderer->blockUsed);
    const float* from = renderer->block + 2 * renderer->blockUsed;
    for (uint32_t i = 0; i < 2 * count; ++i) out[i] += from[i];
    renderer->blockUsed += count;
    out += 2 * count;
    frames -= count;
  }
}

}  // namespace platform
