// The game's assets: the program-wide pictures, sound ids and song id, the four loaders that fill them
// at start-up and the release of the pictures at shut-down. Every path is relative to the working folder.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

// The four folders, relative to the working folder, that hold every asset file.
constexpr const char* AssetFolderNames[] = {"Backgrounds", "Sprites", "SoundFX", "Music"};

// Pictures, each with black as its transparent colour; null before loading, after a failed load and after release.
// Backgrounds (LoadBackgrounds).
extern Surface* Back6Surface;     // "Backgrounds/back6.spr": hidden-mode playfield background, 425 x 450
extern Surface* MenuSurface;      // "Backgrounds/menu.spr": title menu background, 640 x 480
extern Surface* GameOverSurface;  // "Backgrounds/gameover.spr": game-over picture, 640 x 480
// Sprites (LoadSprites).
extern Surface* Hud2Surface;      // "Sprites/hud2.spr": frame over the whole screen, 640 x 480
extern Surface* LightingSurface;  // "Sprites/lighting.spr": loaded, never drawn
extern Surface* Ball2Surface;     // "Sprites/ball2.spr": the ball, 8 x 8
extern Surface* BallSurface;      // "Sprites/ball.spr": life icon and menu marker, 16 x 16
extern Surface* Paddle1Surface;   // "Sprites/paddle1.spr": bottom paddle, 76 x 8
extern Surface* Paddle2Surface;   // "Sprites/paddle2.spr": top paddle, 76 x 8
extern Surface* Block1Surface;    // "Sprites/block1.spr": decorative block, 32 x 16
extern Surface* NewGameSurface;   // "Sprites/newgame.spr": menu entry, 196 x 24
extern Surface* Player1Surface;   // "Sprites/player1.spr": menu entry for one player, 196 x 24
extern Surface* Player2Surface;   // "Sprites/player2.spr": menu entry for two players, 196 x 24
extern Surface* QuitSurface;      // "Sprites/quit.spr": menu entry, 196 x 24
extern Surface* Cursor1Surface;   // "Sprites/cursor1.spr": menu pointer, 22 x 22

// Sound-effect ids from LoadWav; -1 until loaded or when loading failed.
extern int32_t BounceSound;  // "SoundFX/bounce3.wav": wall and paddle bounces
extern int32_t ScoreSound;   // "SoundFX/score.wav": level-up and the hidden-mode chord

// The song's id from LoadMidi ("Music/song10.mid"); -1 until loaded or when loading failed.
extern int32_t SongId;

// back6, menu, gameover in this order; stops at the first picture that does not load. True when all loaded.
bool LoadBackgrounds();
// hud2, lighting, ball2, ball, paddle1, paddle2, block1, newgame, player1, player2, quit, cursor1 in this
// order; stops at the first picture that does not load. True when all loaded.
bool LoadSprites();
// bounce3 then score; true when both loaded.
bool LoadSoundEffects();
// Loads the song and starts it at once; shows "Error Loading Music!" when it cannot start. Always true.
bool LoadMusic();
// Releases every loaded picture and sets every picture variable to null.
void ReleasePictures();
