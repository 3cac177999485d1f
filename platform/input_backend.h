// What each input backend provides to the shared input objects of platform/input.cpp.
// A new backend fills one InputBackend: start and stop, list joysticks, open devices, answer set-up steps and read raw state.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/input.h"

namespace platform {

// A joystick's state before scaling: axes -32768..32767 (X, Y, Z, Rx, Ry, Rz, slider 0, slider 1),
// hats as a bit set (1 up, 2 right, 4 down, 8 left), bit n of buttons = button n.
struct RawJoystickState {
  int32_t axes[8] = {};
  uint8_t hats[4] = {};
  int32_t hatCount = 0;
  uint32_t buttons = 0;
};

// The mouse since the previous read.
struct RawMouseState {
  int32_t dx = 0, dy = 0, wheel = 0;
  bool left = false, right = false, middle = false, extra = false;
};

// The kinds of device and the set-up steps a backend answers (the headless one may be told to refuse one).
enum class InputDeviceKind { Keyboard, Mouse, Joystick };
enum class InputStep { None, CreateSystem, CreateDevice, CooperativeLevel, DataFormat, Acquire, Poll, Read };

struct InputBackend {
  int32_t (*openSystem)();
  void (*closeSystem)();
  void (*listJoysticks)(std::vector<JoystickInstance>& out);
  // Opens the device; handle receives backend data (the joystick), null for keyboard and mouse.
  int32_t (*openDevice)(InputDeviceKind kind, const InputGuid& guid, void** handle);
  void (*closeDevice)(InputDeviceKind kind, void* handle);
  // Answers a set-up step that the backend may refuse (cooperative level, data format).
  int32_t (*setUpStep)(InputDeviceKind kind, InputStep step);
  int32_t (*acquire)(InputDeviceKind kind, void* handle);
  void (*unacquire)(InputDeviceKind kind, void* handle);
  int32_t (*readKeyboard)(uint8_t keys[256]);
  int32_t (*readMouse)(RawMouseState* out);
  int32_t (*pollJoystick)(void* handle);
  int32_t (*readJoystick)(void* handle, RawJoystickState* out);
  bool (*isKeyDownNow)(uint8_t keyCode);
};

// A mouse read answered from one frame of input (a scripted frame, or the frame a demo latched): the motion
// in the frame's first read only, the button in every read. Shared by the headless backend and the demo latch.
void ReadMouseOfFrame(const InputFrame& frame, bool* motionPending, RawMouseState* out);

const InputBackend& SdlInputBackend();
const InputBackend& HeadlessInputBackend();

}  // namespace platform
