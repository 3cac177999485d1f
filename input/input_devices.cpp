// The input object, the keyboard, mouse and joystick devices and their state records.
// Every device is set up step by step; the first step that fails ends its Init with 0 but keeps a created device.
#include "input/input_devices.h"

#include <cstring>

using namespace platform;

platform::InputSystem* InputObject = nullptr;
platform::InputDevice* KeyboardDevice = nullptr;
platform::InputDevice* MouseDevice = nullptr;
platform::InputDevice* JoystickDevice = nullptr;

platform::InputGuid JoystickGuid;
char JoystickName[80] = {};
int32_t JoystickPresent = 0;

uint8_t KeyboardState[256] = {};
MouseStateRecord MouseState = {};
JoystickStateRecord JoystickState = {};

namespace {

// Creates, configures and acquires the keyboard or the mouse.
// KEEP: a created device stays stored when a later step fails (InputDevicesTest.HalfSetUp... checks it).
int32_t InitPointerOrKeys(const InputGuid& guid, InputDevice** device, DataFormat format) {
  if (CreateDevice(InputObject, guid, device) != kInputOk) return 0;
  if (SetCooperativeLevel(*device, kCooperativeNonExclusiveBackground) != kInputOk) return 0;
  if (SetDataFormat(*device, format) != kInputOk) return 0;
  if (Acquire(*device) != kInputOk) return 0;
  return 1;
}

// KEEP: range and dead zone results are not examined: a joystick refusing them still plays, with its own.
void SetAxisRange(uint32_t axis, int32_t minimum, int32_t maximum) {
  PropertyRange range{{sizeof(PropertyRange), sizeof(PropertyHeader), axis, kPropertyByOffset}, minimum, maximum};
  SetProperty(JoystickDevice, kPropertyRange, &range.diph);
}

void SetAxisDeadZone(uint32_t axis, uint32_t deadZone) {
  PropertyDword zone{{sizeof(PropertyDword), sizeof(PropertyHeader), axis, kPropertyByOffset}, deadZone};
  SetProperty(JoystickDevice, kPropertyDeadZone, &zone.diph);
}

void ReleaseDevice(InputDevice** device) {
  if (*device == nullptr) return;
  Unacquire(*device);
  Release(*device);
  *device = nullptr;
}

}  // namespace

int32_t InitInput() { return CreateInputSystem(kInputVersion, &InputObject) >= 0 ? 1 : 0; }

int32_t InitKeyboard() { return InitPointerOrKeys(kSysKeyboardGuid, &KeyboardDevice, DataFormat::Keyboard); }

int32_t InitMouse() { return InitPointerOrKeys(kSysMouseGuid, &MouseDevice, DataFormat::Mouse); }

int32_t InitJoystick(int32_t minX, int32_t maxX, int32_t minY, int32_t maxY, int32_t deadZonePercent) {
  // 1. Find the first attached joystick; with none, JoystickGuid stays all zero and creation fails below.
  EnumDevices(InputObject, kDeviceTypeJoystick, JoystickEnumCallback, &JoystickGuid, kEnumAttachedOnly);
  // 2-3. Create it, then keep its polling interface instead of the first one.
  InputDevice* created = nullptr;
  if (CreateDevice(InputObject, JoystickGuid, &created) != kInputOk) return 0;
  QueryInterface(created, kPollingDeviceInterface, &JoystickDevice);
  Release(created);
  if (JoystickDevice == nullptr) return 0;  // without that interface the device is gone; nothing to set up
  // 4-5. Access and record layout.
  if (SetCooperativeLevel(JoystickDevice, kCooperativeNonExclusiveBackground) != kInputOk) return 0;
  if (SetDataFormat(JoystickDevice, DataFormat::Joystick) != kInputOk) return 0;
  // 6-9. Ranges of X and Y, then their dead zones (counted in hundredths of a percent).
  uint32_t deadZone = static_cast<uint32_t>(deadZonePercent) * 100u;
  SetAxisRange(kJoystickOffsetX, minX, maxX);
  SetAxisRange(kJoystickOffsetY, minY, maxY);
  SetAxisDeadZone(kJoystickOffsetX, deadZone);
  SetAxisDeadZone(kJoystickOffsetY, deadZone);
  // 10-11.
  if (Acquire(JoystickDevice) != kInputOk) return 0;
  JoystickPresent = 1;
  return 1;
}

int32_t JoystickEnumCallback(const platform::JoystickInstance* deviceInstance, void* reference) {
  *static_cast<InputGuid*>(reference) = deviceInstance->guidInstance;
  // The product name may be longer than JoystickName holds: it is cut to 79 characters.
  const char* name = deviceInstance->tszProductName;
  const void* end = std::memchr(name, '\0', sizeof(deviceInstance->tszProductName));
  size_t length = end ? static_cast<const char*>(end) - name : sizeof(deviceInstance->tszProductName);
  if (length > sizeof(JoystickName) - 1) length = sizeof(JoystickName) - 1;
  std::memcpy(JoystickName, name, length);
  JoystickName[length] = '\0';
  return kEnumStop;
}

int32_t ReadKeyboard() {
  if (KeyboardDevice == nullptr) {
    std::memset(KeyboardState, 0, sizeof(KeyboardState));
    return 0;
  }
  return GetDeviceState(KeyboardDevice, sizeof(KeyboardState), KeyboardState) == kInputOk ? 1 : 0;
}

int32_t ReadMouse() {
  if (MouseDevice == nullptr) {
    std::memset(&MouseState, 0, sizeof(MouseState));
    return 0;
  }
  return GetDeviceState(MouseDevice, sizeof(MouseState), &MouseState) == kInputOk ? 1 : 0;
}

int32_t ReadJoystick() {
  if (JoystickPresent == 0) return 0;
  if (JoystickDevice == nullptr) {
    std::memset(&JoystickState, 0, sizeof(JoystickState));
    return 0;
  }
  // Polling succeeds whenever the device is still attached, so a device that needs no polling is read too.
  if (Poll(JoystickDevice) != kInputOk) return 0;
  return GetDeviceState(JoystickDevice, sizeof(JoystickState), &JoystickState) == kInputOk ? 1 : 0;
}

bool IsKeyDownNow(uint8_t keyCode) { return platform::IsKeyDownNow(keyCode); }

// The devices hold their own reference on the object, so releasing it first leaves them usable.
void ShutdownInput() {
  if (InputObject == nullptr) return;
  Release(InputObject);
  InputObject = nullptr;
}

void ShutdownKeyboard() { ReleaseDevice(&KeyboardDevice); }

void ShutdownMouse() { ReleaseDevice(&MouseDevice); }

void ShutdownJoystick() { ReleaseDevice(&JoystickDevice); }
