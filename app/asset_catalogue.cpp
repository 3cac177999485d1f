// The game's asset variables and their loaders.
// Sound and song ids start at -1 ("not loaded"); the sound and music tables refuse -1, so an unloaded one plays nothing.
#include "app/asset_catalogue.h"

#include <iterator>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "gfx/bitmap_surfaces.h"
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

struct PictureFile {
  Surface** variable;
  const char* path;
};

// Loads each picture at its own size with black transparent, stopping at the first one that fails.
bool LoadPictureGroup(const PictureFile* pictures, size_t count) {
  for (size_t index = 0; index < count; ++index) {
    Surface* surface = LoadBitmapSurface(DisplayDevice, pictures[index].path, 0, 0);
    *pictures[index].variable = surface;
    if (surface == nullptr) return false;
    SetSurfaceColorKey(surface, 0);
  }
  return true;
}

void ReleasePicture(Surface*& picture) {
  if (picture != nullptr) Release(picture);
  picture = nullptr;
}

}  // namespace

bool LoadBackgrounds() {
  static const PictureFile backgrounds[] = {
      {&Back6Surface, "Backgrounds/back6.spr"},
      {&MenuSurface, "Backgrounds/menu.spr"},
      {&GameOverSurface, "Backgrounds/gameover.spr"},
  };
  return LoadPictureGroup(backgrounds, std::size(backgrounds));
}

bool LoadSprites() {
  static const PictureFile sprites[] = {
      {&Hud2Surface, "Sprites/hud2.spr"},       {&LightingSurface, "Sprites/lighting.spr"},
      {&Ball2Surface, "Sprites/ball2.spr"},     {&BallSurface, "Sprites/ball.spr"},
      {&Paddle1Surface, "Sprites/paddle1.spr"}, {&Paddle2Surface, "Sprites/paddle2.spr"},
      {&Block1Surface, "Sprites/block1.spr"},   {&NewGameSurface, "Sprites/newgame.spr"},
      {&Player1Surface, "Sprites/player1.spr"}, {&Player2Surface, "Sprites/player2.spr"},
      {&QuitSurface, "Sprites/quit.spr"},       {&Cursor1Surface, "Sprites/cursor1.spr"},
  };
  return LoadPictureGroup(sprites, std::size(sprites));
}

bool LoadSoundEffects() {
  BounceSound = LoadWav("SoundFX/bounce3.wav");
  ScoreSound = LoadWav("SoundFX/score.wav");
  return BounceSound != -1 && ScoreSound != -1;
}

bool LoadMusic() {
  SongId = LoadMidi("Music/song10.mid");
  // A song that did not load keeps -1, which PlayMidi refuses with 0: that is what shows the message.
  // The box's owner is the main window (the platform's handle of it; this library sits below the shell).
  if (PlayMidi(SongId) == 0) {
    platform::ShowMessageBox(platform::MainWindowHandle(), "Error Loading Music!", "ERROR");
  }
  return true;
}

void ReleasePictures() {
  ReleasePicture(Back6Surface);
  ReleasePicture(Hud2Surface);
  ReleasePicture(LightingSurface);
  ReleasePicture(Ball2Surface);
  ReleasePicture(Paddle1Surface);
  ReleasePicture(Paddle2Surface);
  ReleasePicture(BallSurface);
  ReleasePicture(Block1Surface);
  ReleasePicture(MenuSurface);
  ReleasePicture(GameOverSurface);
  ReleasePicture(NewGameSurface);
  ReleasePicture(Player1Surface);
  ReleasePicture(Player2Surface);
  ReleasePicture(QuitSurface);
  ReleasePicture(Cursor1Surface);
}
