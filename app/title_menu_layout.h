// The title menu's geometry, written once: where its entries and the marker sit, the pointer's bands that pick
// an entry, and the hidden-mode chord. Read by the menu, by the script player's way out and by the soak's input.
#pragma once
#include <cstdint>

#include "input/key_codes.h"

// The entries' pictures (196 x 24 each) at x = MenuEntryX, and the marker ball beside them at x = MarkerX, on the
// row of the entry the pointer last chose.
constexpr int32_t MenuEntryX = 270;
constexpr int32_t NewGameEntryY = 220;
constexpr int32_t PlayersEntryY = 260;
constexpr int32_t QuitEntryY = 345;
constexpr int32_t MarkerX = 245;
constexpr int32_t NewGameRow = 220;
constexpr int32_t PlayersRow = 265;
constexpr int32_t QuitRow = 350;

// The bands go by the pointer's y alone: new game up to NewGameBandBottom, the player count from PlayersBandTop
// to PlayersBandBottom, quit from QuitBandTop down; the rows between the bands pick nothing.
constexpr int32_t NewGameBandBottom = 235;
constexpr int32_t PlayersBandTop = 260;
constexpr int32_t PlayersBandBottom = 275;
constexpr int32_t QuitBandTop = 345;

// The pointer's x stops here: 640 less the pointer's width.
constexpr int32_t PointerRightLimit = 618;

// The hidden-mode chord: T, A and V (the first letters of the title) held down together in a menu frame.
constexpr uint8_t HiddenChordKeys[3] = {DIK_T, DIK_A, DIK_V};
