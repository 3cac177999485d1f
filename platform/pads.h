// Gamepads and touch as the game's own input: the backend turns them into the keys, the pointer motion and the
// mouse button of the frame it is told about, so every caller of the keyboard and mouse reads sees them unchanged.
#pragma once
#include <cstdint>

namespace platform {

// What the game is doing in the frame that begins, told by the app before the frame's first read: which keys
// and which motion a pad or a finger stands for depends on it. Pictures are 640 x 480; x values are left edges.
struct PlayContext {
  bool inMenu = false;      // the title menu: the first pad and a tap drive the pointer and the button
  int32_t playerCount = 1;  // 1: the first pad and every finger play player 1; 2: pad and half per player
  int32_t pointerX = 0;     // the pointer (player 1's paddle follows it)
  int32_t pointerY = 0;
  int32_t paddle1X = 0;  // the bottom paddle
  int32_t paddle2X = 0;  // the top paddle
  int32_t paddleWidth = 76;
  int32_t localPlayer = 0;  // 0: both players play here; 1 or 2: only that one (online), with the first pad
};

// Starts a frame: the pads' and fingers' motion counts once per frame, in the frame's first mouse read.
// Without a pad or a finger it changes nothing.
void BeginPadFrame(const PlayContext& context);
const PlayContext& CurrentPlayContext();

// Rumble on the pad of player 1 or 2, when it has one and rumble is on: short and light for a paddle hit,
// longer and stronger for a miss.
enum class Rumble { PaddleHit, Miss };
void RequestRumble(int32_t player, Rumble kind);
void SetRumbleEnabled(bool enabled);
bool RumbleEnabled();

// The one-line notice to show at the top of the picture now (a pad unplugged), or null.
const char* PadNotice();

// A stick's deflection (-32768..32767) as pointer motion for one frame: nothing inside the dead zone, then
// rising along a curve to at most maxStep pixels at full deflection. Integer arithmetic only, so every system
// moves the same.
int32_t StickMotion(int32_t axis, int32_t maxStep);
inline constexpr int32_t kStickDeadZone = 8000;
// A trigger (0..32767) counts as held from here up.
inline constexpr int32_t kTriggerHeld = 16384;

}  // namespace platform
