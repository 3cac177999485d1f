// Virtual game controllers through SDL's virtual joysticks (the standard layout: six axes, fifteen buttons) and
// touch events pushed into SDL's queue, for the tests of the SDL backend's pads and fingers.
#include "platform/tool_support/virtual_pads.h"

#include <SDL.h>

#include <cstdio>

namespace platform::virtual_pads {

namespace {

constexpr int32_t kPadSlots = 4;
static_assert(static_cast<int>(PadAxis::RightTrigger) == SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
static_assert(static_cast<int>(PadButton::Start) == SDL_CONTROLLER_BUTTON_START);
static_assert(static_cast<int>(PadButton::DpadRight) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);

struct VirtualPad {
  SDL_Joystick* joystick = nullptr;
  RumbleSeen rumble;
};
VirtualPad pads[kPadSlots];

int Rumble(void* userdata, Uint16 low, Uint16 high) {
  auto* pad = static_cast<VirtualPad*>(userdata);
  // SDL ends a rumble by asking for none; only the requests with some strength count.
  if (low == 0 && high == 0) return 0;
  ++pad->rumble.requests;
  pad->rumble.low = low;
  pad->rumble.high = high;
  return 0;
}

VirtualPad* PadOf(int32_t pad) {
  if (pad < 0 || pad >= kPadSlots || pads[pad].joystick == nullptr) return nullptr;
  return &pads[pad];
}

}  // namespace

int32_t Plug() {
  int32_t slot = 0;
  while (slot < kPadSlots && pads[slot].joystick != nullptr) ++slot;
  if (slot == kPadSlots) return -1;
  pads[slot] = VirtualPad{};
  SDL_VirtualJoystickDesc description{};
  description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  description.naxes = SDL_CONTROLLER_AXIS_MAX;
  description.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
  description.name = "Tavo test pad";
  description.userdata = &pads[slot];
  description.Rumble = Rumble;
  const int index = SDL_JoystickAttachVirtualEx(&description);
  SDL_Joystick* joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
  if (joystick == nullptr) {
    std::fprintf(stderr, "virtual pad: cannot plug one in: %s\n", SDL_GetError());
    return -1;
  }
  pads[slot].joystick = joystick;
  // A trigger rests at the bottom of its travel.
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
  return slot;
}

void Unplug(int32_t pad) {
  VirtualPad* found = PadOf(pad);
  if (found == nullptr) return;
  // Detaching goes by the device's index, which changes as devices come and go.
  const SDL_JoystickID id = SDL_JoystickInstanceID(found->joystick);
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) != id) continue;
    SDL_JoystickDetachVirtual(index);
    break;
  }
  SDL_JoystickClose(found->joystick);
  *found = VirtualPad{};
}

void SetAxis(int32_t pad, PadAxis axis, int16_t value) {
  if (VirtualPad* found = PadOf(pad)) SDL_JoystickSetVirtualAxis(found->joystick, static_cast<int>(axis), value);
}

void SetButton(int32_t pad, PadButton button, bool down) {
  if (VirtualPad* found = PadOf(pad))
    SDL_JoystickSetVirtualButton(found->joystick, static_cast<int>(button), down ? SDL_PRESSED : SDL_RELEASED);
}

RumbleSeen RumbleOf(int32_t pad) {
  const VirtualPad* found = PadOf(pad);
  return found != nullptr ? found->rumble : RumbleSeen{};
}

void PushFinger(FingerAction action, int64_t finger, float x, float y) {
  SDL_Event event{};
  event.type = action == FingerAction::Down   ? SDL_FINGERDOWN
               : action == FingerAction::Move ? SDL_FINGERMOTION
                                              : SDL_FINGERUP;
  event.tfinger.touchId = 1;
  event.tfinger.fingerId = finger;
  event.tfinger.x = x;
  event.tfinger.y = y;
  event.tfinger.pressure = action == FingerAction::Up ? 0.0f : 1.0f;
  SDL_PushEvent(&event);
}

}  // namespace platform::virtual_pads
