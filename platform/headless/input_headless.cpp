// The headless input backend: keyboard, mouse and joysticks driven by a script instead of hardware.
// Tests and the replay tool set each frame's input; tests may also make one set-up step fail.
#include <algorithm>
#include <cstring>

#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/internal/backend_tables.h"

namespace platform {

namespace {

struct ScriptedInput {
  HeadlessInputFrame frame;
  bool motionPending = false;
  std::vector<HeadlessJoystick> joysticks;
  InputDeviceKind failingKind = InputDeviceKind::Keyboard;
  InputStep failingStep = InputStep::None;
};

ScriptedInput& Script() {
  static ScriptedInput script;
  return script;
}

int32_t FailureAt(InputDeviceKind kind, InputStep step) {
  const ScriptedInput& script = Script();
  return script.failingStep == step && script.failingKind == kind ? kInputFailed : kInputOk;
}

int32_t OpenSystem() { return Script().failingStep == InputStep::CreateSystem ? kInputFailed : kInputOk; }

void CloseSystem() {}

void FillInstance(const HeadlessJoystick& joystick, JoystickInstance* instance) {
  instance->guidInstance = joystick.guid;
  size_t length = std::min(joystick.productName.size(), sizeof(instance->tszProductName) - 1);
  std::memcpy(instance->tszProductName, joystick.productName.data(), length);
  instance->tszProductName[length] = '\0';
}

void ListJoysticks(std::vector<JoystickInstance>& out) {
  for (const HeadlessJoystick& joystick : Script().joysticks) {
    JoystickInstance instance{};
    FillInstance(joystick, &instance);
    out.push_back(instance);
  }
}

// A joystick's handle is its position in the list plus one, so that null means none.
int32_t OpenDevice(InputDeviceKind kind, const InputGuid& guid, void** handle) {
  *handle = nullptr;
  if (FailureAt(kind, InputStep::CreateDevice) != kInputOk) return kInputFailed;
  if (kind != InputDeviceKind::Joystick) return kInputOk;
  const std::vector<HeadlessJoystick>& joysticks = Script().joysticks;
  for (size_t i = 0; i < joysticks.size(); ++i) {
    if (joysticks[i].guid == guid) {
      *handle = reinterpret_cast<void*>(i + 1);
      return kInputOk;
    }
  }
  return kInputDeviceNotFound;
}

void CloseDevice(InputDeviceKind, void*) {}

int32_t SetUpStep(InputDeviceKind kind, InputStep step) { return FailureAt(kind, step); }

int32_t AcquireDevice(InputDeviceKind kind, void*) { return FailureAt(kind, InputStep::Acquire); }

void UnacquireDevice(InputDeviceKind, void*) {}

int32_t ReadKeyboard(uint8_t keys[256]) {
  if (FailureAt(InputDeviceKind::Keyboard, InputStep::Read) != kInputOk) return kInputFailed;
  std::memset(keys, 0, 256);
  for (uint8_t key : Script().frame.keysHeld) keys[key] = 0x80;
  return kInputOk;
}

int32_t ReadMouse(RawMouseState* out) {
  if (FailureAt(InputDeviceKind::Mouse, InputStep::Read) != kInputOk) return kInputFailed;
  ScriptedInput& script = Script();
  ReadMouseOfFrame(script.frame, &script.motionPending, out);
  return kInputOk;
}

const HeadlessJoystick* JoystickOf(void* handle) {
  size_t index = reinterpret_cast<size_t>(handle);
  const std::vector<HeadlessJoystick>& joysticks = Script().joysticks;
  return index >= 1 && index <= joysticks.size() ? &joysticks[index - 1] : nullptr;
}

int32_t PollJoystick(void* handle) {
  if (JoystickOf(handle) == nullptr) return kInputDeviceNotFound;
  return FailureAt(InputDeviceKind::Joystick, InputStep::Poll);
}

int32_t ReadJoystick(void* handle, RawJoystickState* out) {
  const HeadlessJoystick* joystick = JoystickOf(handle);
  if (joystick == nullptr) return kInputDeviceNotFound;
  if (FailureAt(InputDeviceKind::Joystick, InputStep::Read) != kInputOk) return kInputFailed;
  *out = RawJoystickState{};
  std::copy(std::begin(joystick->rawAxes), std::end(joystick->rawAxes), out->axes);
  out->buttons = joystick->buttons;
  return kInputOk;
}

bool IsKeyDownNowHeadless(uint8_t keyCode) {
  const std::vector<uint8_t>& keys = Script().frame.keysHeld;
  return std::find(keys.begin(), keys.end(), keyCode) != keys.end();
}

}  // namespace

const InputBackend& HeadlessInputBackend() {
  static const InputBackend backend{.openSystem = OpenSystem,
                                    .closeSystem = CloseSystem,
                                    .listJoysticks = ListJoysticks,
                                    .openDevice = OpenDevice,
                                    .closeDevice = CloseDevice,
                                    .setUpStep = SetUpStep,
                                    .acquire = AcquireDevice,
                                    .unacquire = UnacquireDevice,
                                    .readKeyboard = ReadKeyboard,
                                    .readMouse = ReadMouse,
                                    .pollJoystick = PollJoystick,
                                    .readJoystick = ReadJoystick,
                                    .isKeyDownNow = IsKeyDownNowHeadless};
  return backend;
}

void SetHeadlessInput(const HeadlessInputFrame& frame) {
  // Room for every key code is made once, so a frame's keys are copied in without allocating.
  Script().frame.keysHeld.reserve(256);
  Script().frame = frame;
  Script().motionPending = true;
}

void SetHeadlessJoysticks(const std::vector<HeadlessJoystick>& joysticks) { Script().joysticks = joysticks; }

void SetHeadlessInputFailure(InputDeviceKind kind, InputStep step) {
  Script().failingKind = kind;
  Script().failingStep = step;
}

void ResetHeadlessInput() { Script() = ScriptedInput{}; }

}  // namespace platform
