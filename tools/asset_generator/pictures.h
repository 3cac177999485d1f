// Every picture the game reads, each made by one function at the size the game draws it.
// Black pixels are the ones the game's colour key leaves out; every other pixel is visibly opaque.
#pragma once
#include "tools/asset_generator/image.h"

namespace assets {

// Backgrounds/: the title screen, the game-over overlay and the hidden-mode playfield.
Image MakeMenuBackground();    // 640 x 480, opaque
Image MakeGameOver();          // 640 x 480, black but for the words in the playfield
Image MakeHiddenBackground();  // 425 x 450, opaque

// Sprites/: the frame over the screen and the small pieces.
Image MakeHudFrame();                 // 640 x 480, black in the playfield opening and the HUD wells
Image MakePlayBall();                 // 8 x 8
Image MakeLifeBall();                 // 16 x 16, life icon and menu marker
Image MakePaddle(bool bottomPlayer);  // 76 x 8: player 1 cyan, player 2 amber
Image MakeBlock();                    // 32 x 16
Image MakePointer();                  // 22 x 22
Image MakeLighting();                 // 64 x 64 light flare; loaded by the game, never drawn

enum class MenuEntry { NewGame, OnePlayer, TwoPlayers, Quit };
Image MakeMenuEntry(MenuEntry entry);  // 196 x 24 lettering on black

}  // namespace assets
