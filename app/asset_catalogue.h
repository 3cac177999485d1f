// The game's assets: the program-wide pictures, sound ids and song id, the four loaders that fill them
// at start-up and the release of the pictures at shut-down. Every path is relative to the working folder.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

// The four folders, relative to the working folder, that hold every asset file.
constexpr const char* kAssetFolderNames[] = {"Backgrounds", "Sprites", "SoundFX", "Music"};

// Pictures, each with black as its transparent colour; null before loading, after a failed load and after release.
// Written only by the loaders and ReleasePictures below; read by game/ and the title menu. Each picture's file,
// group, load order and release order are in the one picture table of asset_catalogue.cpp.
extern Surface* Back6Surface;     // hidden-mode playfield background, 425 x 450
extern Surface* MenuSurface;      // title menu background, 640 x 480
extern Surface* GameOverSurface;  // game-over picture, 640 x 480
extern Surface* Hud2Surface;      // frame over the whole screen, 640 x 480
extern Surface* LightingSurface;  // loaded, never drawn
extern Surface* Ball2Surface;     // the ball, 8 x 8
extern Surface* BallSurface;      // life icon and menu marker, 16 x 16
extern Surface* Paddle1Surface;   // bottom paddle, 76 x 8
extern Surface* Paddle2Surface;   // top paddle, 76 x 8
extern Surface* Block1Surface;    // decorative block, 32 x 16
extern Surface* NewGameSurface;   // menu entry, 196 x 24
extern Surface* Player1Surface;   // menu entry for one player, 196 x 24
extern Surface* Player2Surface;   // menu entry for two players, 196 x 24
extern Surface* QuitSurface;      // menu entry, 196 x 24
extern Surface* Cursor1Surface;   // menu pointer, 22 x 22

// Sound-effect ids from LoadWav; -1 until loaded or when loading failed.
extern int32_t BounceSound;  // "SoundFX/bounce3.wav": wall and paddle bounces
extern int32_t ScoreSound;   // "SoundFX/score.wav": level-up and the hidden-mode chord

// The song's id from LoadMidi ("Music/song10.mid"); -1 until loaded or when loading failed.
extern int32_t SongId;

// The background group and the sprite group, each in the table's order. Each stops at the first picture that
// does not load (its variable stays null; one "PICTURE: file: reason" line on stderr). True when all loaded.
bool LoadBackgrounds();
bool LoadSprites();
// bounce3 then score, both tried; one "SOUND: file: reason" line on stderr for each that fails. True when both loaded.
bool LoadSoundEffects();
// Loads the song and starts it at once; shows "Error Loading Music!" when it cannot start, beside one
// "MUSIC: file: reason" line on stderr. Always true.
bool LoadMusic();
// Every asset file the game reads: the pictures in the table's order, then the two sounds and the song; null
// outside 0 .. AssetFileCount() - 1. The online handshake hashes them, so both machines play the same files.
int32_t AssetFileCount();
const char* AssetFilePath(int32_t index);
// Releases every loaded picture, in the table's release order, and sets every picture variable to null.
void ReleasePictures();
