// The input system and device objects shared by both backends: reference counts, set-up state, property values,
// and the conversion of a backend's raw state into the keyboard, mouse and joystick records.
#include <algorithm>
#include <cstring>

#include "platform/input.h"
#include "platform/internal/backend_tables.h"

namespace platform {

struct InputSystem {
  uint32_t references = 1;
  const InputBackend* backend = nullptr;
};

struct AxisSettings {
  int32_t minimum = 0;
  int32_t maximum = 65535;
  uint32_t deadZone = 0;
};

struct InputDevice {
  uint32_t references = 1;
  InputSystem* parent = nullptr;
  InputDeviceKind kind = InputDeviceKind::Keyboard;
  void* handle = nullptr;
  bool formatSet = false;
  DataFormat format = DataFormat::Keyboard;
  bool acquired = false;
  AxisSettings axisX, axisY;
};

namespace {

int32_t liveObjects = 0;

// The frame of input that reads answer from when the source is not Devices.
struct FrameLatch {
  FrameInputSource source = FrameInputSource::Devices;
  InputFrame frame;
  bool keysSampled = false;
  bool mouseSampled = false;
  bool motionPending = false;
};
FrameLatch latch;

const InputBackend& ChosenInput() { return *ChosenBackend().input; }

const InputBackend& BackendOf(const InputDevice* device) { return *device->parent->backend; }

uint32_t RecordSize(DataFormat format) {
  switch (format) {
    case DataFormat::Keyboard:
      return 256;
    case DataFormat::Mouse:
      return sizeof(MouseStateRecord);
    case DataFormat::Joystick:
      return sizeof(JoystickStateRecord);
  }
  return 0;
}

bool FormatSuitsDevice(InputDeviceKind kind, DataFormat format) {
  switch (kind) {
    case InputDeviceKind::Keyboard:
      return format == DataFormat::Keyboard;
    case InputDeviceKind::Mouse:
      return format == DataFormat::Mouse;
    case InputDeviceKind::Joystick:
      return format == DataFormat::Joystick;
  }
  return false;
}

void ReleaseSystemReference(InputSystem* system) {
  if (--system->references > 0) return;
  system->backend->closeSystem();
  delete system;
  --liveObjects;
}

// One point-of-view value from a hat's direction bits (1 up, 2 right, 4 down, 8 left).
uint32_t PovFromHat(uint8_t hat) {
  static const uint32_t kPovByBits[16] = {0xFFFFFFFFu, 0,           9000,        4500,       18000,       0xFFFFFFFFu,
                                          13500,       0xFFFFFFFFu, 27000,       31500,      0xFFFFFFFFu, 0xFFFFFFFFu,
                                          22500,       0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  return kPovByBits[hat & 15];
}

void FillJoystickRecord(const InputDevice* device, const RawJoystickState& raw, JoystickStateRecord* record) {
  std::memset(record, 0, sizeof(*record));
  const AxisSettings fullRange;
  record->lX = ScaleJoystickAxis(raw.axes[0], device->axisX.minimum, device->axisX.maximum, device->axisX.deadZone);
  record->lY = ScaleJoystickAxis(raw.axes[1], device->axisY.minimum, device->axisY.maximum, device->axisY.deadZone);
  int32_t* others[6] = {&record->lZ,  &record->lRx,          &record->lRy,
                        &record->lRz, &record->rglSlider[0], &record->rglSlider[1]};
  for (int i = 0; i < 6; ++i) *others[i] = ScaleJoystickAxis(raw.axes[2 + i], fullRange.minimum, fullRange.maximum, 0);
  for (int i = 0; i < 4; ++i) record->rgdwPOV[i] = i < raw.hatCount ? PovFromHat(raw.hats[i]) : 0xFFFFFFFFu;
  for (int i = 0; i < 32; ++i) record->rgbButtons[i] = (raw.buttons >> i) & 1u ? 0x80 : 0;
}

void FillMouseRecord(const RawMouseState& raw, MouseStateRecord* record) {
  record->lX = raw.dx;
  record->lY = raw.dy;
  record->lZ = raw.wheel;
  record->rgbButtons[0] = raw.left ? 0x80 : 0;
  record->rgbButtons[1] = raw.right ? 0x80 : 0;
  record->rgbButtons[2] = raw.middle ? 0x80 : 0;
  record->rgbButtons[3] = raw.extra ? 0x80 : 0;
}

// The value a property header carries for the X or Y axis, or null for any other object or layout.
AxisSettings* AxisOfProperty(InputDevice* device, const PropertyHeader* header) {
  if (header->dwHeaderSize != sizeof(PropertyHeader) || header->dwHow != kPropertyByOffset) return nullptr;
  if (header->dwObj == kJoystickOffsetX) return &device->axisX;
  if (header->dwObj == kJoystickOffsetY) return &device->axisY;
  return nullptr;
}

// The keyboard as the current frame has it. The devices are read every time, which pumps the window's events;
// their answer counts only for the frame's first read when sampling.
int32_t ReadLatchedKeys(const InputBackend& backend, uint8_t keys[256]) {
  const int32_t result = backend.readKeyboard(keys);
  if (latch.source == FrameInputSource::DevicesOncePerFrame && !latch.keysSampled) {
    if (result != kInputOk) return result;
    latch.frame.keysHeld.clear();
    for (int code = 1; code < 256; ++code) {
      if (keys[code] != 0) latch.frame.keysHeld.push_back(static_cast<uint8_t>(code));
    }
    latch.keysSampled = true;
  }
  std::memset(keys, 0, 256);
  for (uint8_t key : latch.frame.keysHeld) keys[key] = 0x80;
  return kInputOk;
}

// The mouse as the current frame has it: the motion in the first read, the button in every read.
int32_t ReadLatchedMouse(const InputBackend& backend, RawMouseState* out) {
  if (latch.source == FrameInputSource::DevicesOncePerFrame && !latch.mouseSampled) {
    RawMouseState live;
    const int32_t result = backend.readMouse(&live);
    if (result != kInputOk) return result;
    latch.frame.dx = live.dx;
    latch.frame.dy = live.dy;
    latch.frame.primaryButton = live.left;
    latch.mouseSampled = latch.motionPending = true;
  }
  ReadMouseOfFrame(latch.frame, &latch.motionPending, out);
  return kInputOk;
}

}  // namespace

void ReadMouseOfFrame(const InputFrame& frame, bool* motionPending, RawMouseState* out) {
  *out = RawMouseState{};
  if (*motionPending) {
    out->dx = frame.dx;
    out->dy = frame.dy;
    *motionPending = false;
  }
  out->left = frame.primaryButton;
}

bool operator==(const InputGuid& a, const InputGuid& b) {
  return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 && std::memcmp(a.data4, b.data4, 8) == 0;
}

bool IsZeroGuid(const InputGuid& guid) { return guid == InputGuid{}; }

int32_t CreateInputSystem(uint32_t version, InputSystem** out) {
  if (out == nullptr) return kInputInvalidParam;
  *out = nullptr;
  if (version < kInputVersion) return kInputFailed;
  const InputBackend& backend = ChosenInput();
  int32_t started = backend.openSystem();
  if (started != kInputOk) return started < 0 ? started : kInputFailed;
  *out = new InputSystem{1, &backend};
  ++liveObjects;
  return kInputOk;
}

uint32_t Release(InputSystem* system) {
  if (system == nullptr) return 0;
  uint32_t left = system->references - 1;
  ReleaseSystemReference(system);
  return left;
}

int32_t EnumDevices(InputSystem* system, uint32_t deviceType, EnumDevicesCallback callback, void* reference, uint32_t) {
  if (system == nullptr || callback == nullptr) return kInputInvalidParam;
  if (deviceType != kDeviceTypeJoystick) return kInputOk;
  // Only attached joysticks are ever listed, so the attached-only flag changes nothing.
  std::vector<JoystickInstance> joysticks;
  system->backend->listJoysticks(joysticks);
  for (const JoystickInstance& instance : joysticks) {
    if (callback(&instance, reference) == kEnumStop) break;
  }
  return kInputOk;
}

int32_t CreateDevice(InputSystem* system, const InputGuid& guid, InputDevice** out) {
  if (system == nullptr || out == nullptr) return kInputInvalidParam;
  InputDeviceKind kind = InputDeviceKind::Joystick;
  if (guid == kSysKeyboardGuid) kind = InputDeviceKind::Keyboard;
  else if (guid == kSysMouseGuid) kind = InputDeviceKind::Mouse;
  else if (IsZeroGuid(guid)) return kInputDeviceNotFound;
  void* handle = nullptr;
  int32_t opened = system->backend->openDevice(kind, guid, &handle);
  if (opened != kInputOk) return opened;
  InputDevice* device = new InputDevice;
  device->parent = system;
  device->kind = kind;
  device->handle = handle;
  ++system->references;
  ++liveObjects;
  *out = device;
  return kInputOk;
}

int32_t SetCooperativeLevel(InputDevice* device, uint32_t flags) {
  if (device == nullptr || flags == 0) return kInputInvalidParam;
  // Every level is served as non-exclusive background access; the backend may still refuse.
  return BackendOf(device).setUpStep(device->kind, InputStep::CooperativeLevel);
}

int32_t SetDataFormat(InputDevice* device, DataFormat format) {
  if (device == nullptr || !FormatSuitsDevice(device->kind, format)) return kInputInvalidParam;
  if (device->acquired) return kInputFailed;
  int32_t result = BackendOf(device).setUpStep(device->kind, InputStep::DataFormat);
  if (result != kInputOk) return result;
  device->formatSet = true;
  device->format = format;
  return kInputOk;
}

int32_t SetProperty(InputDevice* device, uint32_t property, const PropertyHeader* header) {
  if (device == nullptr || header == nullptr || device->kind != InputDeviceKind::Joystick) return kInputInvalidParam;
  AxisSettings* axis = AxisOfProperty(device, header);
  if (axis == nullptr) return kInputInvalidParam;
  if (property == kPropertyRange && header->dwSize == sizeof(PropertyRange)) {
    const auto* range = reinterpret_cast<const PropertyRange*>(header);
    if (range->lMin >= range->lMax) return kInputInvalidParam;
    axis->minimum = range->lMin;
    axis->maximum = range->lMax;
    return kInputOk;
  }
  if (property == kPropertyDeadZone && header->dwSize == sizeof(PropertyDword)) {
    const auto* value = reinterpret_cast<const PropertyDword*>(header);
    if (value->dwData > 10000) return kInputInvalidParam;
    axis->deadZone = value->dwData;
    return kInputOk;
  }
  return kInputInvalidParam;
}

int32_t Acquire(InputDevice* device) {
  if (device == nullptr) return kInputInvalidParam;
  if (!device->formatSet) return kInputInvalidParam;
  if (device->acquired) return kInputOk;
  int32_t result = BackendOf(device).acquire(device->kind, device->handle);
  if (result != kInputOk) return result;
  device->acquired = true;
  return kInputOk;
}

int32_t Unacquire(InputDevice* device) {
  if (device == nullptr) return kInputInvalidParam;
  if (!device->acquired) return kInputOk;
  BackendOf(device).unacquire(device->kind, device->handle);
  device->acquired = false;
  return kInputOk;
}

int32_t GetDeviceState(InputDevice* device, uint32_t size, void* buffer) {
  if (device == nullptr || buffer == nullptr) return kInputInvalidParam;
  if (!device->acquired) return kInputNotAcquired;
  if (size != RecordSize(device->format)) return kInputInvalidParam;
  const InputBackend& backend = BackendOf(device);
  switch (device->kind) {
    case InputDeviceKind::Keyboard:
      if (latch.source != FrameInputSource::Devices) return ReadLatchedKeys(backend, static_cast<uint8_t*>(buffer));
      return backend.readKeyboard(static_cast<uint8_t*>(buffer));
    case InputDeviceKind::Mouse: {
      RawMouseState raw;
      const bool latched = latch.source != FrameInputSource::Devices;
      int32_t result = latched ? ReadLatchedMouse(backend, &raw) : backend.readMouse(&raw);
      if (result == kInputOk) FillMouseRecord(raw, static_cast<MouseStateRecord*>(buffer));
      return result;
    }
    case InputDeviceKind::Joystick: {
      RawJoystickState raw;
      int32_t result = backend.readJoystick(device->handle, &raw);
      if (result == kInputOk) FillJoystickRecord(device, raw, static_cast<JoystickStateRecord*>(buffer));
      return result;
    }
  }
  return kInputFailed;
}

int32_t Poll(InputDevice* device) {
  if (device == nullptr) return kInputInvalidParam;
  if (!device->acquired) return kInputNotAcquired;
  // Keyboard and mouse state is kept current by the event pump; only joysticks are asked.
  if (device->kind != InputDeviceKind::Joystick) return kInputOk;
  return BackendOf(device).pollJoystick(device->handle);
}

int32_t QueryInterface(InputDevice* device, const InputGuid& interfaceId, InputDevice** out) {
  if (device == nullptr || out == nullptr) return kInputInvalidParam;
  *out = nullptr;
  if (!(interfaceId == kPollingDeviceInterface)) return kInputFailed;
  ++device->references;
  *out = device;
  return kInputOk;
}

uint32_t Release(InputDevice* device) {
  if (device == nullptr) return 0;
  if (--device->references > 0) return device->references;
  Unacquire(device);
  InputSystem* parent = device->parent;
  parent->backend->closeDevice(device->kind, device->handle);
  delete device;
  --liveObjects;
  ReleaseSystemReference(parent);
  return 0;
}

bool IsKeyDownNow(uint8_t keyCode) {
  if (latch.source == FrameInputSource::Devices) return ChosenInput().isKeyDownNow(keyCode);
  uint8_t keys[256];
  ReadLatchedKeys(ChosenInput(), keys);
  return keyCode != 0 && keys[keyCode] != 0;
}

void SetFrameInputSource(FrameInputSource source) {
  latch = FrameLatch{};
  latch.source = source;
}

void BeginInputFrame() {
  if (latch.source != FrameInputSource::DevicesOncePerFrame) return;
  latch.keysSampled = latch.mouseSampled = latch.motionPending = false;
  latch.frame.dx = latch.frame.dy = 0;
}

void GiveInputFrame(const InputFrame& frame) {
  // Assigned field by field, so the key list keeps its storage from frame to frame.
  latch.frame.dx = frame.dx;
  latch.frame.dy = frame.dy;
  latch.frame.primaryButton = frame.primaryButton;
  latch.frame.keysHeld.assign(frame.keysHeld.begin(), frame.keysHeld.end());
  std::sort(latch.frame.keysHeld.begin(), latch.frame.keysHeld.end());
  latch.motionPending = true;
}

const InputFrame& CurrentInputFrame() { return latch.frame; }

bool SampleInputDevices(InputFrame* into) {
  const InputBackend& backend = ChosenInput();
  uint8_t keys[256];
  RawMouseState mouse;
  into->keysHeld.clear();
  into->dx = into->dy = 0;
  into->primaryButton = false;
  if (backend.readKeyboard(keys) != kInputOk || backend.readMouse(&mouse) != kInputOk) return false;
  for (int code = 1; code < 256; ++code)
    if (keys[code] != 0) into->keysHeld.push_back(static_cast<uint8_t>(code));
  into->dx = mouse.dx;
  into->dy = mouse.dy;
  into->primaryButton = mouse.left;
  return true;
}

int32_t ScaleJoystickAxis(int32_t raw, int32_t minimum, int32_t maximum, uint32_t deadZone) {
  // Position in -32767..32767 (the raw minimum folds onto -32767 so both halves are equal).
  int64_t position = std::clamp<int64_t>(raw, -32767, 32767);
  int64_t zone = static_cast<int64_t>(std::min<uint32_t>(deadZone, 10000)) * 32767 / 10000;
  int64_t magnitude = position < 0 ? -position : position;
  if (magnitude <= zone) {
    magnitude = 0;
  } else {
    // Outside the dead zone the remaining travel is spread over the whole half range.
    magnitude = (magnitude - zone) * 32767 / (32767 - zone);
  }
  int64_t signedPosition = position < 0 ? -magnitude : magnitude;
  int64_t span = static_cast<int64_t>(maximum) - minimum;
  // Map -32767..32767 onto minimum..maximum, rounding to the nearest value.
  int64_t scaled = (signedPosition + 32767) * span;
  int64_t value = minimum + (scaled + 32767) / 65534;
  return static_cast<int32_t>(value);
}

int32_t LiveInputObjects() { return liveObjects; }

}  // namespace platform
