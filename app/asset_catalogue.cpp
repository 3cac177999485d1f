// The game's asset variables, the one table of pictures that loading and release follow, and the loaders.
// Sound and song ids start at -1 ("not loaded"); the sound and music tables refuse -1, so an unloaded one plays
// nothing.
#include "app/asset_catalogue.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "gfx/bitmap_surfaces.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "platform/window.h"

Surface* Back6Surface = nullptr;
Surface* MenuSurface = nullptr;
Surface* GameOverSurface = nullptr;
Surface* Hud2Surface = nullptr;
Surface* LightingSurface = nullptr;
Surface* Ball2Surface = nullptr;
Surface* BallSurface = nullptr;
Surface* Paddle1Surface = nullptr;
Surface* Paddle2Surface = nullptr;
Surface* Block1Surface = nullptr;
Surface* NewGameSurface = nullptr;
Surface* Player1Surface = nullptr;
Surface* Player2Surface = nullptr;
Surface* QuitSurface = nullptr;
Surface* Cursor1Surface = nullptr;

int32_t BounceSound = -1;
int32_t ScoreSound = -1;
int32_t SongId = -1;

namespace {

enum class PictureGroup { Backgrounds, Sprites };

constexpr const char* kBounceSoundPath = "SoundFX/bounce3.wav";
constexpr const char* kScoreSoundPath = "SoundFX/score.wav";
constexpr const char* kSongPath = "Music/song10.mid";

// One picture: its file, the variable it loads into, the group whose loader reads it, and its place in
// ReleasePictures (1 is released first).
struct PictureFile {
  const char* path;
  Surface** variable;
  PictureGroup group;
  int32_t releasePosition;
};

// Every picture once. Within a group, the table's order is the load order.
// KEEP: the release order interleaves both groups: the game's own shut-down calls (no test reads them yet).
constexpr PictureFile kPictures[] = {
    {"Backgrounds/back6.spr", &Back6Surface, PictureGroup::Backgrounds, 1},
    {"Backgrounds/menu.spr", &MenuSurface, PictureGroup::Backgrounds, 9},
    {"Backgrounds/gameover.spr", &GameOverSurface, PictureGroup::Backgrounds, 10},
    {"Sprites/hud2.spr", &Hud2Surface, PictureGroup::Sprites, 2},
    // KEEP: lighting.spr is never drawn, yet without it the player sees "Graphics Loading Failed".
    {"Sprites/lighting.spr", &LightingSurface, PictureGroup::Sprites, 3},
    {"Sprites/ball2.spr", &Ball2Surface, PictureGroup::Sprites, 4},
    {"Sprites/ball.spr", &BallSurface, PictureGroup::Sprites, 7},
    {"Sprites/paddle1.spr", &Paddle1Surface, PictureGroup::Sprites, 5},
    {"Sprites/paddle2.spr", &Paddle2Surface, PictureGroup::Sprites, 6},
    {"Sprites/block1.spr", &Block1Surface, PictureGroup::Sprites, 8},
    {"Sprites/newgame.spr", &NewGameSurface, PictureGroup::Sprites, 11},
    {"Sprites/player1.spr", &Player1Surface, PictureGroup::Sprites, 12},
    {"Sprites/player2.spr", &Player2Surface, PictureGroup::Sprites, 13},
    {"Sprites/quit.spr", &QuitSurface, PictureGroup::Sprites, 14},
    {"Sprites/cursor1.spr", &Cursor1Surface, PictureGroup::Sprites, 15},
};
constexpr int32_t kPictureCount = static_cast<int32_t>(std::size(kPictures));

// True when the release positions are 1 to kPictureCount, each once.
constexpr bool ReleasePositionsAreAnOrder() {
  for (int32_t position = 1; position <= kPictureCount; ++position) {
    int32_t holders = 0;
    for (const PictureFile& picture : kPictures) holders += picture.releasePosition == position ? 1 : 0;
    if (holders != 1) return false;
  }
  return true;
}
static_assert(ReleasePositionsAreAnOrder(), "every picture needs its own place in the release order");

// Loads the group's pictures at their own size with black transparent.
// KEEP: loading stops at the first picture that fails (ShellRun.MissingPaddlePicture... checks it).
bool LoadPictureGroup(PictureGroup group) {
  for (const PictureFile& picture : kPictures) {
    if (picture.group != group) continue;
    Surface* surface = LoadBitmapSurface(DisplayDevice, picture.path, 0, 0);
    *picture.variable = surface;
    if (surface == nullptr) {
      std::fprintf(stderr, "PICTURE: %s: %s\n", picture.path, LastBitmapLoadError().c_str());
      return false;
    }
    SetSurfaceColorKey(surface, 0);
    PrepareKeyedBlits(surface);
  }
  return true;
}

// One sound effect; a failure leaves -1 and says why on stderr.
int32_t LoadSoundEffect(const char* path) {
  const int32_t id = LoadWav(path);
  if (id == -1) std::fprintf(stderr, "SOUND: %s: %s\n", path, LastWavLoadError().c_str());
  return id;
}

void ReleasePicture(Surface*& picture) {
  if (picture != nullptr) Release(picture);
  picture = nullptr;
}

}  // namespace

bool LoadBackgrounds() { return LoadPictureGroup(PictureGroup::Backgrounds); }

bool LoadSprites() { return LoadPictureGroup(PictureGroup::Sprites); }

bool LoadSoundEffects() {
  BounceSound = LoadSoundEffect(kBounceSoundPath);
  ScoreSound = LoadSoundEffect(kScoreSoundPath);
  return BounceSound != -1 && ScoreSound != -1;
}

bool LoadMusic() {
  SongId = LoadMidi(kSongPath);
  // KEEP: a song that did not load keeps -1 and is played; PlayMidi's 0 shows "Error Loading Music!".
  // The box's owner is the main window (the platform's handle of it; this library sits below the shell).
  if (PlayMidi(SongId) == 0) {
    const std::string reason = SongId == -1 ? LastMidiLoadError() : "the song did not start";
    std::fprintf(stderr, "MUSIC: %s: %s\n", kSongPath, reason.c_str());
    platform::ShowMessageBox(platform::MainWindowHandle(), "Error Loading Music!", "ERROR");
  }
  return true;
}

int32_t AssetFileCount() { return kPictureCount + 3; }

const char* AssetFilePath(int32_t index) {
  if (index >= 0 && index < kPictureCount) return kPictures[index].path;
  const char* const others[] = {kBounceSoundPath, kScoreSoundPath, kSongPath};
  return index >= kPictureCount && index < kPictureCount + 3 ? others[index - kPictureCount] : nullptr;
}

void ReleasePictures() {
  for (int32_t position = 1; position <= kPictureCount; ++position) {
    for (const PictureFile& picture : kPictures) {
      if (picture.releasePosition == position) ReleasePicture(*picture.variable);
    }
  }
}
