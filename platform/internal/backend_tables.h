// Inside the platform: the table of functions through which each service reaches its backend, and the set of
// tables SelectBackend chooses. A new backend fills one table per service; no service asks which backend runs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A backend fills each table by member names, every slot; a slot whose comment starts with "Optional:" may be left
// null, and the service then does without it. tests/structure/check_backend_tables.sh holds every backend to this.

// The services' own types, declared rather than included: the services include these tables, and the tables
// must not include them back (platform/input.h, platform/video.h define them).
struct InputFrame;
struct InputGuid;
struct JoystickInstance;
struct PresentedFrame;
enum class InputDeviceKind;
enum class InputStep;
enum class PresentKind;

// The window service's backend half; platform/window.cpp keeps the class registry and the message queue.
struct WindowBackend {
  // Opens the backend's window for the main window; false with the reason in *error.
  bool (*open)(const char* title, const char* className, std::string* error);
  void (*close)();
  // The next three are called only while the main window exists.
  void (*pumpEvents)();
  bool (*isFullScreen)();
  void (*toggleFullScreen)();
  void (*showMessageBox)(const char* text, const char* caption);
  void (*showCursor)(bool show);
  // True when the display cannot bind before the main window exists.
  bool displayNeedsWindow;
};

// The presentation service's backend half; platform/video.cpp checks every picture before it gets here.
struct VideoBackend {
  bool (*open)(int32_t width, int32_t height, int32_t bitsPerPixel, std::string* error);
  void (*close)();
  bool (*present)(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                  const uint8_t* paletteRgbx, PresentKind kind);
  void (*redraw)();
  // Optional: null when the backend never keeps the last shown picture itself. For one that does: brings the
  // frame's picture (width to paletteRgbx) up to date from that copy and returns true; false while it keeps none,
  // and then platform/video.cpp's own copy (KeepPresentedFrame) holds the picture.
  bool (*copyKeptPicture)(PresentedFrame* frame);
};

// The clock service, whole.
struct ClockBackend {
  uint32_t (*getTicks)();
  void (*sleepMs)(uint32_t ms);
  void (*pauseBriefly)();
};

// The sound service's backend half; the buffers and the mixer are shared (sound_buffers.cpp, sound_mixer.cpp).
struct SoundBackend {
  // Opens the output that hears the mix: kSoundOk or kSoundErrNoDevice. Called by CreateSoundDevice.
  int32_t (*openOutput)();
  void (*closeOutput)();
  // The open output's rate in Hz, 0 when there is none.
  uint32_t (*outputRate)();
  // True when no device pulls the mix: it is rendered on request, at whatever rate the caller asks.
  bool rendersOnRequest;
};

// ---- Input: what each input backend provides to the shared input objects of platform/input.cpp.
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

// The last presented picture, kept by platform/video.cpp: a backend stores a shown picture there unless it keeps
// one itself (copyKeptPicture), and the headless one also counts presents in it and clears it.
void KeepPresentedFrame(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                        const uint8_t* paletteRgbx);
PresentedFrame& KeptFrame();

// One backend: a table per service.
struct PlatformBackend {
  const WindowBackend* window;
  const VideoBackend* video;
  const ClockBackend* clock;
  const SoundBackend* sound;
  const InputBackend* input;
};

// The tables chosen by SelectBackend (the headless ones until then).
const PlatformBackend& ChosenBackend();

// Each backend's tables, defined beside its code in platform/sdl/ and platform/headless/.
const WindowBackend& SdlWindowBackend();
const WindowBackend& HeadlessWindowBackend();
const VideoBackend& SdlVideoBackend();
const VideoBackend& HeadlessVideoBackend();
const ClockBackend& SdlClockBackend();
const ClockBackend& HeadlessClockBackend();
const SoundBackend& SdlSoundBackend();
const SoundBackend& HeadlessSoundBackend();
const InputBackend& SdlInputBackend();
const InputBackend& HeadlessInputBackend();

// The window service's message queue: a backend posts its events' messages here, unless the same one already
// waits; the headless reset of tests empties it.
void PostCoalescedMessage(uint32_t message, uintptr_t wParam);
void ClearMessageQueue();

}  // namespace platform
