// Blocking full-screen transitions for 8-bit display modes: palette fades to black, white, blue, red or
// green, wipes that blacken the screen with closing rows and columns, and a dissolve of random black dots.
#pragma once

#include <cstdint>

// The effect numbers of RunScreenEffect.
constexpr int32_t kEffectFadeToBlack = 0;     // palette, 80 steps; entry 0 is left alone
constexpr int32_t kEffectFadeToWhite = 1;     // palette, 64 steps
constexpr int32_t kEffectVerticalWipe = 2;    // columns closing in from left and right
constexpr int32_t kEffectHorizontalWipe = 3;  // rows closing in from top and bottom
constexpr int32_t kEffectDissolve = 4;        // random black pixels, as fast as they can be written
constexpr int32_t kEffectCrossWipe = 5;       // rows sweeping the height while columns close in
constexpr int32_t kEffectFadeToBlue = 6;      // palette, 64 steps
constexpr int32_t kEffectFadeToRed = 7;       // palette, 64 steps
constexpr int32_t kEffectFadeToGreen = 8;     // palette, 64 steps

// Milliseconds each fade or wipe step lasts at least (measured with the frame clock).
constexpr uint32_t kEffectStepMs = 12;

// Plays one effect and returns when it is complete. buffer and pitch are the screen's 8-bit pixel memory
// (for instance the locked primary surface); the palette fades ignore them and leave the faded palette in
// place for the caller to restore. The wipes and the dissolve draw only on an 8-bit display and return at
// once otherwise. Any other effect number does nothing.
void RunScreenEffect(int32_t effect, uint8_t* buffer, int32_t pitch);
