// The title menu's geometry, written once: where its entries and the marker sit, the pointer's bands that pick
// an entry, and the hidden-mode chord. Read by the menu, by the script player's way out and by the soak's input.
#pragma once
#include <cstdint>

#include "input/key_codes.h"

// The entries' pictures (196 x 24 each) at x = kMenuEntryX, and the marker ball beside them at x = kMarkerX, on the
// row of the entry the pointer last chose.
constexpr int32_t kMenuEntryX = 270;
constexpr int32_t kNewGameEntryY = 220;
constexpr int32_t kPlayersEntryY = 260;
constexpr int32_t kQuitEntryY = 345;
constexpr int32_t kMarkerX = 245;
constexpr int32_t kNewGameRow = 220;
constexpr int32_t kPlayersRow = 265;
constexpr int32_t kQuitRow = 350;

// The bands go by the pointer's y alone: new game up to kNewGameBandBottom, the player count from kPlayersBandTop
// to kPlayersBandBottom, quit from kQuitBandTop down; the rows between the bands pick nothing.
constexpr int32_t kNewGameBandBottom = 235;
constexpr int32_t kPlayersBandTop = 260;
constexpr int32_t kPlayersBandBottom = 275;
constexpr int32_t kQuitBandTop = 345;

// The pointer's x stops here: 640 less the pointer's width.
constexpr int32_t kPointerRightLimit = 618;

// The hidden-mode chord: T, A and V (the first letters of the title) held down together in a menu frame.
constexpr uint8_t kHiddenChordKeys[3] = {DIK_T, DIK_A, DIK_V};
