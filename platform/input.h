// The input service: an input system object and its keyboard, mouse and joystick devices, read as fixed records.
// Objects are reference counted; every examined result is 0 for success (a creation failure of the system is negative).
#pragma once
#include <cstdint>
#include <vector>

namespace platform {

// A 16-byte device or interface identifier.
struct InputGuid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};
};
bool operator==(const InputGuid& a, const InputGuid& b);
bool IsZeroGuid(const InputGuid& guid);

inline constexpr InputGuid kSysKeyboardGuid{
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr InputGuid kSysMouseGuid{0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr InputGuid kPollingDeviceInterface{
    0x5944E682, 0xC92E, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// The records the three data formats produce.
struct MouseStateRecord {
  int32_t lX, lY, lZ;     // movement since the previous read; lZ is the wheel, 120 per notch
  uint8_t rgbButtons[4];  // left, right, middle, first extra; 0x80 = pressed
};
struct JoystickStateRecord {
  int32_t lX, lY, lZ;  // X and Y in the range set on the device, others 0..65535
  int32_t lRx, lRy, lRz;
  int32_t rglSlider[2];
  uint32_t rgdwPOV[4];     // hundredths of a degree clockwise from north; 0xFFFFFFFF centred
  uint8_t rgbButtons[32];  // 0x80 = pressed
};
static_assert(sizeof(MouseStateRecord) == 16);
static_assert(sizeof(JoystickStateRecord) == 80);

// Result codes.
inline constexpr int32_t kInputOk = 0;
inline constexpr int32_t kInputFailed = -1;
inline constexpr int32_t kInputNotAcquired = -2;
inline constexpr int32_t kInputInvalidParam = -3;
inline constexpr int32_t kInputDeviceNotFound = -4;
inline constexpr uint32_t kInputVersion = 0x0700;

// Set-up values.
inline constexpr uint32_t kCooperativeNonExclusiveBackground = 0x0A;
inline constexpr uint32_t kDeviceTypeJoystick = 4;
inline constexpr uint32_t kEnumAttachedOnly = 1;
inline constexpr int32_t kEnumStop = 0;
inline constexpr int32_t kEnumContinue = 1;
enum class DataFormat { Keyboard, Mouse, Joystick };

// Properties: a header followed by the value, identified by kPropertyRange / kPropertyDeadZone.
inline constexpr uint32_t kPropertyRange = 4;
inline constexpr uint32_t kPropertyDeadZone = 5;
inline constexpr uint32_t kPropertyByOffset = 1;
inline constexpr uint32_t kJoystickOffsetX = 0;
inline constexpr uint32_t kJoystickOffsetY = 4;
struct PropertyHeader {
  uint32_t dwSize, dwHeaderSize, dwObj, dwHow;
};
struct PropertyRange {
  PropertyHeader diph;
  int32_t lMin, lMax;
};
struct PropertyDword {
  PropertyHeader diph;
  uint32_t dwData;
};
static_assert(sizeof(PropertyRange) == 24 && sizeof(PropertyDword) == 20);

// What enumeration reports for each attached joystick.
struct JoystickInstance {
  InputGuid guidInstance;
  char tszProductName[260];
};
using EnumDevicesCallback = int32_t (*)(const JoystickInstance* deviceInstance, void* reference);

struct InputSystem;
struct InputDevice;

// The kinds of device and the set-up steps a backend answers. Every step may fail; the headless backend can be
// told to make one fail (platform/headless/headless.h), so tests see how the devices' callers cope.
enum class InputDeviceKind { Keyboard, Mouse, Joystick };
enum class InputStep { None, CreateSystem, CreateDevice, CooperativeLevel, DataFormat, Acquire, Poll, Read };

// Every operation below is called by the devices of input/input_devices.cpp unless its line says otherwise.

// The system object (start-up). Negative = failure.
int32_t CreateInputSystem(uint32_t version, InputSystem** out);
uint32_t Release(InputSystem* system);
// Calls the callback for each attached joystick in order until it returns kEnumStop.
int32_t EnumDevices(InputSystem* system, uint32_t deviceType, EnumDevicesCallback callback, void* reference,
                    uint32_t flags);
// The keyboard, the mouse, or the attached joystick with this instance GUID. The device holds a reference on the
// system.
int32_t CreateDevice(InputSystem* system, const InputGuid& guid, InputDevice** out);

// Device set-up and use. The devices bind to the program's window; reads pump the window's events first.
int32_t SetCooperativeLevel(InputDevice* device, uint32_t flags);
int32_t SetDataFormat(InputDevice* device, DataFormat format);
int32_t SetProperty(InputDevice* device, uint32_t property, const PropertyHeader* header);
int32_t Acquire(InputDevice* device);
int32_t Unacquire(InputDevice* device);
// Fills size bytes of buffer; fails unless acquired with a data format whose record has exactly that size.
int32_t GetDeviceState(InputDevice* device, uint32_t size, void* buffer);
int32_t Poll(InputDevice* device);
// kPollingDeviceInterface gives the same device with one more reference.
int32_t QueryInterface(InputDevice* device, const InputGuid& interfaceId, InputDevice** out);
uint32_t Release(InputDevice* device);

// The frame loop's Escape test (app/run_frame.cpp, and the showcase): is the key with this key code down right
// now (no device needed).
bool IsKeyDownNow(uint8_t keyCode);

// Input once a frame, for recorded demos. With a source other than Devices, every keyboard and mouse read and
// key test of one frame (from one flip to the next) answers from one frame of input, as a replay script gives
// it: the keys and the button the same in every read, the mouse motion only in the frame's first mouse read.
// The window's events are still pumped by every read, so Alt+Enter, F12 and closing the window keep working.
struct InputFrame {
  int32_t dx = 0, dy = 0;
  bool primaryButton = false;
  std::vector<uint8_t> keysHeld;  // key codes, ascending
};
enum class FrameInputSource {
  Devices,              // every read asks the devices (the game as it always was)
  DevicesOncePerFrame,  // the frame's first keyboard read samples the keys, its first mouse read the mouse
  Given                 // the frames come from GiveInputFrame; the devices are only pumped
};
// Chosen by the demo code before start-up.
void SetFrameInputSource(FrameInputSource source);
// Called by the demo code after each flip: the reads that follow belong to the next frame.
void BeginInputFrame();
// Given: the input of the frame that begins (replaces the current one; its motion is read once).
void GiveInputFrame(const InputFrame& frame);
// The input the current frame's reads were given (its motion whether read or not; zero if never sampled).
const InputFrame& CurrentInputFrame();
// The devices as they are now, whatever the source: the keys held (ascending), the mouse's motion since its last
// read and its button. An online session samples its own player this way, then gives the game the frame both
// machines play. False when a device cannot be read (the frame is then left empty).
bool SampleInputDevices(InputFrame* into);

// How many input objects (the system object and its devices) are alive; shut-down brings it back to 0.
int32_t LiveInputObjects();

// Joystick axis scaling: a raw axis (-32768..32767) into [minimum, maximum], with a dead zone in hundredths of a
// percent. Called by the joystick reads inside platform/input.cpp (and its tests).
int32_t ScaleJoystickAxis(int32_t raw, int32_t minimum, int32_t maximum, uint32_t deadZone);

}  // namespace platform
