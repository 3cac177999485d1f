// The SDL input backend: the keyboard state through one scancode-to-key-code table, relative mouse motion with the
// cursor hidden, the attached joysticks, and the pads and fingers merged into the keyboard and the mouse. A new
// backend provides the same InputBackend entries (platform/internal/backend_tables.h).
#include <SDL.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "platform/input.h"
#include "platform/internal/backend_tables.h"
#include "platform/sdl/key_codes_sdl.h"
#include "platform/sdl/pads_sdl.h"
#include "platform/window.h"

namespace platform {

namespace {

struct ScancodeKey {
  SDL_Scancode scancode;
  uint8_t keyCode;
};

// Every scancode with a key-code counterpart (key codes are the keyboard's classic set-1 scan codes,
// extended keys with the high bit set).
// The table stays packed, several keys a line.
// clang-format off
constexpr ScancodeKey kScancodeKeys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03}, {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06}, {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09}, {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12}, {SDL_SCANCODE_R, 0x13},
    {SDL_SCANCODE_T, 0x14}, {SDL_SCANCODE_Y, 0x15}, {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17},
    {SDL_SCANCODE_O, 0x18}, {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_S, 0x1F}, {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23}, {SDL_SCANCODE_J, 0x24}, {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27}, {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0x2B}, {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_X, 0x2D}, {SDL_SCANCODE_C, 0x2E},
    {SDL_SCANCODE_V, 0x2F}, {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_N, 0x31}, {SDL_SCANCODE_M, 0x32},
    {SDL_SCANCODE_COMMA, 0x33}, {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36}, {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39}, {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E}, {SDL_SCANCODE_F5, 0x3F}, {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F8, 0x42}, {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_9, 0x49}, {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C}, {SDL_SCANCODE_KP_6, 0x4D}, {SDL_SCANCODE_KP_PLUS, 0x4E}, {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50}, {SDL_SCANCODE_KP_3, 0x51}, {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56}, {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_F13, 0x64}, {SDL_SCANCODE_F14, 0x65}, {SDL_SCANCODE_F15, 0x66},
    {SDL_SCANCODE_INTERNATIONAL2, 0x70}, {SDL_SCANCODE_INTERNATIONAL1, 0x73}, {SDL_SCANCODE_INTERNATIONAL4, 0x79},
    {SDL_SCANCODE_INTERNATIONAL5, 0x7B}, {SDL_SCANCODE_INTERNATIONAL3, 0x7D}, {SDL_SCANCODE_KP_EQUALS, 0x8D},
    {SDL_SCANCODE_AUDIOPREV, 0x90}, {SDL_SCANCODE_AUDIONEXT, 0x99}, {SDL_SCANCODE_KP_ENTER, 0x9C},
    {SDL_SCANCODE_RCTRL, 0x9D}, {SDL_SCANCODE_MUTE, 0xA0}, {SDL_SCANCODE_AUDIOMUTE, 0xA0},
    {SDL_SCANCODE_CALCULATOR, 0xA1}, {SDL_SCANCODE_AUDIOPLAY, 0xA2}, {SDL_SCANCODE_AUDIOSTOP, 0xA4},
    {SDL_SCANCODE_VOLUMEDOWN, 0xAE}, {SDL_SCANCODE_VOLUMEUP, 0xB0}, {SDL_SCANCODE_AC_HOME, 0xB2},
    {SDL_SCANCODE_KP_COMMA, 0xB3}, {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_PRINTSCREEN, 0xB7},
    {SDL_SCANCODE_RALT, 0xB8}, {SDL_SCANCODE_PAUSE, 0xC5}, {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_UP, 0xC8},
    {SDL_SCANCODE_PAGEUP, 0xC9}, {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD}, {SDL_SCANCODE_END, 0xCF},
    {SDL_SCANCODE_DOWN, 0xD0}, {SDL_SCANCODE_PAGEDOWN, 0xD1}, {SDL_SCANCODE_INSERT, 0xD2},
    {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_LGUI, 0xDB}, {SDL_SCANCODE_RGUI, 0xDC},
    {SDL_SCANCODE_APPLICATION, 0xDD}, {SDL_SCANCODE_POWER, 0xDE}, {SDL_SCANCODE_SLEEP, 0xDF},
    {SDL_SCANCODE_AC_SEARCH, 0xE5}, {SDL_SCANCODE_AC_BOOKMARKS, 0xE6}, {SDL_SCANCODE_AC_REFRESH, 0xE7},
    {SDL_SCANCODE_AC_STOP, 0xE8}, {SDL_SCANCODE_AC_FORWARD, 0xE9}, {SDL_SCANCODE_AC_BACK, 0xEA},
    {SDL_SCANCODE_COMPUTER, 0xEB}, {SDL_SCANCODE_MAIL, 0xEC}, {SDL_SCANCODE_MEDIASELECT, 0xED},
};
// clang-format on

const std::array<uint8_t, SDL_NUM_SCANCODES>& KeyCodeTable() {
  static const std::array<uint8_t, SDL_NUM_SCANCODES> table = [] {
    std::array<uint8_t, SDL_NUM_SCANCODES> codes{};
    for (const ScancodeKey& entry : kScancodeKeys) codes[entry.scancode] = entry.keyCode;
    return codes;
  }();
  return table;
}

// Brings SDL's keyboard, mouse and joystick state up to date. The window's pump keeps a close request
// in our message queue even while nobody services it; without a window SDL's own queue is pumped.
void PumpWindowEvents() {
  if (MainWindowHandle() != nullptr) {
    PumpEvents();
  } else {
    SDL_PumpEvents();
  }
}

// The wheel reaches us only as events; a watch adds them up between mouse reads (120 per notch).
int32_t wheelSinceRead = 0;

int WatchWheel(void*, SDL_Event* event) {
  if (event->type == SDL_MOUSEWHEEL) {
    int32_t notches = event->wheel.y;
    if (event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
    wheelSinceRead += notches * 120;
  }
  return 1;
}

int32_t OpenSystem() {
  // Joysticks keep reporting while the window is in the background, as non-exclusive background access promises.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0) {
    std::fprintf(stderr, "INPUT: cannot start SDL input: %s\n", SDL_GetError());
    return kInputFailed;
  }
  // Joystick state is read by polling, so its events would only pile up in the queue.
  SDL_JoystickEventState(SDL_IGNORE);
  sdl_pads::Open();
  return kInputOk;
}

void CloseSystem() {
  sdl_pads::Close();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
}

InputGuid GuidOfJoystick(int index) {
  SDL_JoystickGUID sdlGuid = SDL_JoystickGetDeviceGUID(index);
  InputGuid guid;
  static_assert(sizeof(guid) == sizeof(sdlGuid.data));
  std::memcpy(&guid, sdlGuid.data, sizeof(guid));
  // An all-zero identifier means "none found", so a device that reports one gets a non-zero mark.
  if (IsZeroGuid(guid)) guid.data4[7] = 1;
  return guid;
}

void ListJoysticks(std::vector<JoystickInstance>& out) {
  SDL_JoystickUpdate();
  int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    JoystickInstance instance{};
    instance.guidInstance = GuidOfJoystick(index);
    const char* name = SDL_JoystickNameForIndex(index);
    if (name != nullptr) std::snprintf(instance.tszProductName, sizeof(instance.tszProductName), "%s", name);
    out.push_back(instance);
  }
}

int32_t OpenDevice(InputDeviceKind kind, const InputGuid& guid, void** handle) {
  *handle = nullptr;
  if (kind != InputDeviceKind::Joystick) return kInputOk;
  int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    if (!(GuidOfJoystick(index) == guid)) continue;
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (joystick == nullptr) {
      std::fprintf(stderr, "INPUT: cannot open joystick: %s\n", SDL_GetError());
      return kInputFailed;
    }
    *handle = joystick;
    return kInputOk;
  }
  return kInputDeviceNotFound;
}

void CloseDevice(InputDeviceKind kind, void* handle) {
  if (kind == InputDeviceKind::Joystick && handle != nullptr) SDL_JoystickClose(static_cast<SDL_Joystick*>(handle));
}

int32_t SetUpStep(InputDeviceKind, InputStep) { return kInputOk; }

// The mouse reports relative motion with the cursor hidden, so motion never stops at the screen's edge.
// Motion events are ignored (SDL still adds the motion up for the relative state), so they never pile up.
int32_t AcquireDevice(InputDeviceKind kind, void*) {
  if (kind != InputDeviceKind::Mouse) return kInputOk;
  SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
  if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) {
    std::fprintf(stderr, "INPUT: relative mouse mode unavailable (%s); motion stops at the screen's edge\n",
                 SDL_GetError());
    SDL_ShowCursor(SDL_DISABLE);
  }
  PumpWindowEvents();
  SDL_GetRelativeMouseState(nullptr, nullptr);
  wheelSinceRead = 0;
  SDL_AddEventWatch(WatchWheel, nullptr);
  return kInputOk;
}

void UnacquireDevice(InputDeviceKind kind, void*) {
  if (kind != InputDeviceKind::Mouse) return;
  SDL_DelEventWatch(WatchWheel, nullptr);
  SDL_SetRelativeMouseMode(SDL_FALSE);
  SDL_EventState(SDL_MOUSEMOTION, SDL_ENABLE);
}

int32_t ReadKeyboard(uint8_t keys[256]) {
  PumpWindowEvents();
  int count = 0;
  const Uint8* pressed = SDL_GetKeyboardState(&count);
  const std::array<uint8_t, SDL_NUM_SCANCODES>& table = KeyCodeTable();
  std::memset(keys, 0, 256);
  for (int scancode = 0; scancode < count && scancode < SDL_NUM_SCANCODES; ++scancode) {
    if (pressed[scancode] && table[scancode] != 0) keys[table[scancode]] = 0x80;
  }
  sdl_pads::AddToKeys(keys);
  return kInputOk;
}

int32_t ReadMouse(RawMouseState* out) {
  PumpWindowEvents();
  int dx = 0, dy = 0;
  Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy);
  out->dx = dx;
  out->dy = dy;
  out->wheel = wheelSinceRead;
  wheelSinceRead = 0;
  out->left = (buttons & SDL_BUTTON_LMASK) != 0;
  out->right = (buttons & SDL_BUTTON_RMASK) != 0;
  out->middle = (buttons & SDL_BUTTON_MMASK) != 0;
  out->extra = (buttons & SDL_BUTTON_X1MASK) != 0;
  sdl_pads::AddToMouse(out);
  return kInputOk;
}

int32_t PollJoystick(void* handle) {
  SDL_JoystickUpdate();
  return SDL_JoystickGetAttached(static_cast<SDL_Joystick*>(handle)) ? kInputOk : kInputDeviceNotFound;
}

int32_t ReadJoystick(void* handle, RawJoystickState* out) {
  auto* joystick = static_cast<SDL_Joystick*>(handle);
  if (!SDL_JoystickGetAttached(joystick)) return kInputDeviceNotFound;
  *out = RawJoystickState{};
  int axes = SDL_JoystickNumAxes(joystick);
  for (int i = 0; i < axes && i < 8; ++i) out->axes[i] = SDL_JoystickGetAxis(joystick, i);
  int hats = SDL_JoystickNumHats(joystick);
  out->hatCount = hats < 4 ? (hats > 0 ? hats : 0) : 4;
  for (int i = 0; i < out->hatCount; ++i) out->hats[i] = SDL_JoystickGetHat(joystick, i);
  int buttons = SDL_JoystickNumButtons(joystick);
  for (int i = 0; i < buttons && i < 32; ++i) {
    if (SDL_JoystickGetButton(joystick, i)) out->buttons |= 1u << i;
  }
  return kInputOk;
}

bool IsKeyDownNowSdl(uint8_t keyCode) {
  if (keyCode == 0 || SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
  PumpWindowEvents();
  int count = 0;
  const Uint8* pressed = SDL_GetKeyboardState(&count);
  for (const ScancodeKey& entry : kScancodeKeys) {
    if (entry.keyCode == keyCode && entry.scancode < count && pressed[entry.scancode]) return true;
  }
  uint8_t padKeys[256] = {};
  sdl_pads::AddToKeys(padKeys);
  return padKeys[keyCode] != 0;
}

}  // namespace

const InputBackend& SdlInputBackend() {
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
                                    .isKeyDownNow = IsKeyDownNowSdl};
  return backend;
}

uint8_t KeyCodeForScancode(int32_t scancode) {
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return KeyCodeTable()[scancode];
}

}  // namespace platform
