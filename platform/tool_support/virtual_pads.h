// Gamepads and fingers for tests of the SDL backend: virtual game controllers plugged in, moved, pressed and
// pulled out through SDL's virtual joysticks, the rumble each is asked for, and touch events put in SDL's queue.
#pragma once
#include <cstdint>

namespace platform::virtual_pads {

// The controls of a virtual pad, numbered as the standard controller layout numbers them.
enum class PadAxis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger };
enum class PadButton {
  A,
  B,
  X,
  Y,
  Back,
  Guide,
  Start,
  LeftStick,
  RightStick,
  LeftShoulder,
  RightShoulder,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight
};

// Plugs a new pad in (SDL's joysticks must be started); a number for the calls below, or -1 with SDL's reason on
// stderr. At most four pads at a time.
int32_t Plug();
// Pulls it out; its number is free again.
void Unplug(int32_t pad);
void SetAxis(int32_t pad, PadAxis axis, int16_t value);
void SetButton(int32_t pad, PadButton button, bool down);

// The rumble the pad was asked for: how many requests with some strength, and the last one's strengths.
struct RumbleSeen {
  int32_t requests = 0;
  uint16_t low = 0, high = 0;
};
RumbleSeen RumbleOf(int32_t pad);

// A finger event in SDL's queue, at x, y across the window (0..1 each way).
enum class FingerAction { Down, Move, Up };
void PushFinger(FingerAction action, int64_t finger, float x, float y);

}  // namespace platform::virtual_pads
