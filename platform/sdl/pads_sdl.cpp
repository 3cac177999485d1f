// SDL's game controllers and touch fingers turned into the game's keys, pointer motion and mouse button.
// Pads are taken and let go whenever they come and go; the first is player 1's, the second player 2's.
#include "platform/sdl/pads_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "platform/display_choices.h"
#include "platform/file_system.h"
#include "platform/internal/pad_requests.h"
#include "platform/internal/picture_placement.h"
#include "platform/os/operating_system.h"
#include "platform/pads.h"
#include "platform/sdl/key_codes_sdl.h"
#include "platform/sdl/window_sdl.h"

namespace platform::sdl_pads {

namespace {

constexpr int32_t kPictureWidth = 640;
constexpr int32_t kPictureHeight = 480;
// A finger that moves less than this (picture pixels) between down and up is a tap.
constexpr int32_t kTapDistance = 12;
// A D-pad press moves as a stick three quarters of the way out.
constexpr int32_t kDpadDeflection = 24000;
// Player 2's top paddle moves 15 pixels per arrow frame: within half of that of the finger it stays.
constexpr int32_t kArrowSlack = 7;
// The largest mappings file read.
constexpr size_t kMappingsLimit = 4 * 1024 * 1024;

struct Pad {
  SDL_GameController* controller = nullptr;
  SDL_JoystickID id = -1;
};
Pad pads[2];

// The pad that plays player 1 or 2: the first and the second; with one player here (online), the first is that
// player's and the other player has none.
const Pad* PadOfPlayer(int32_t player, const PlayContext& context) {
  if (context.localPlayer != 0) return player == context.localPlayer ? &pads[0] : nullptr;
  return &pads[player - 1];
}

struct Finger {
  bool down = false;
  SDL_FingerID id = 0;
  int32_t downX = 0, downY = 0;  // picture pixels
  int32_t x = 0, y = 0;
  bool dragged = false;
  // Where each player's paddle (its left edge) stood from the finger when it went down, taken at the first frame
  // after (anchored): the paddle keeps that offset as the finger moves, so the finger may rest wherever it hides
  // nothing of the ball's path.
  bool anchored = false;
  int32_t offset1 = 0, offset2 = 0;
};
constexpr int kFingerSlots = 10;
Finger fingers[kFingerSlots];

bool opened = false;
// A tap waiting for the next frame, and what it makes of that frame and the one after.
bool tapQueued = false;
int32_t tapX = 0, tapY = 0;
uint32_t framesStepped = 0;
bool spaceThisFrame = false;
bool clickThisFrame = false;
bool clickNextFrame = false;
int32_t tapMotionX = 0, tapMotionY = 0;

// A finger's window position (0..1 each way) in picture pixels, through the picture's place in the window.
void PicturePoint(float normalX, float normalY, int32_t* x, int32_t* y) {
  auto* window = static_cast<SDL_Window*>(sdl_window::NativeWindow());
  int width = kPictureWidth, height = kPictureHeight;
  if (window != nullptr) SDL_GetWindowSize(window, &width, &height);
  const PicturePlace place =
      PlacePicture(CurrentDisplayChoices().scaling, width, height, kPictureWidth, kPictureHeight);
  if (place.width <= 0 || place.height <= 0) {
    *x = *y = 0;
    return;
  }
  // 0 and 1 are the window's first and last pixels.
  const int32_t windowX = static_cast<int32_t>(std::lround(normalX * static_cast<float>(width - 1)));
  const int32_t windowY = static_cast<int32_t>(std::lround(normalY * static_cast<float>(height - 1)));
  *x = std::clamp((windowX - place.x) * kPictureWidth / place.width, 0, kPictureWidth - 1);
  *y = std::clamp((windowY - place.y) * kPictureHeight / place.height, 0, kPictureHeight - 1);
}

Finger* FingerOf(SDL_FingerID id) {
  for (Finger& finger : fingers)
    if (finger.down && finger.id == id) return &finger;
  return nullptr;
}

void FingerDown(const SDL_TouchFingerEvent& event) {
  Finger* finger = FingerOf(event.fingerId);
  if (finger == nullptr)
    finger = std::find_if(fingers, fingers + kFingerSlots, [](const Finger& f) { return !f.down; });
  if (finger == fingers + kFingerSlots) return;  // more fingers than slots: the extra ones do nothing
  *finger = Finger{};
  finger->down = true;
  finger->id = event.fingerId;
  PicturePoint(event.x, event.y, &finger->x, &finger->y);
  finger->downX = finger->x;
  finger->downY = finger->y;
}

void FingerMoved(const SDL_TouchFingerEvent& event) {
  Finger* finger = FingerOf(event.fingerId);
  if (finger == nullptr) return;
  PicturePoint(event.x, event.y, &finger->x, &finger->y);
  if (std::abs(finger->x - finger->downX) >= kTapDistance || std::abs(finger->y - finger->downY) >= kTapDistance)
    finger->dragged = true;
}

void FingerUp(const SDL_TouchFingerEvent& event) {
  Finger* finger = FingerOf(event.fingerId);
  if (finger == nullptr) return;
  FingerMoved(event);
  if (!finger->dragged) {
    tapQueued = true;
    tapX = finger->downX;
    tapY = finger->downY;
  }
  finger->down = false;
}

// Touch reaches us only as events; a watch sees them as they are queued, whoever pumps the queue.
int WatchTouch(void*, SDL_Event* event) {
  switch (event->type) {
    case SDL_FINGERDOWN:
      FingerDown(event->tfinger);
      break;
    case SDL_FINGERMOTION:
      FingerMoved(event->tfinger);
      break;
    case SDL_FINGERUP:
      FingerUp(event->tfinger);
      break;
    default:
      break;
  }
  return 1;
}

void LoadPlayerMappings() {
  const std::string path = PadMappingsPath();
  if (path.empty()) return;
  std::string text, error;
  const FileRead read = ReadSmallFile(path, kMappingsLimit, &text, &error);
  if (read == FileRead::Missing) return;
  if (read != FileRead::Read) {
    std::fprintf(stderr, "INPUT: gamepad mappings %s not read: %s\n", path.c_str(),
                 read == FileRead::TooLarge ? "larger than 4 MB" : error.c_str());
    return;
  }
  SDL_RWops* stream = SDL_RWFromConstMem(text.data(), static_cast<int>(text.size()));
  if (stream == nullptr || SDL_GameControllerAddMappingsFromRW(stream, 1) < 0)
    std::fprintf(stderr, "INPUT: gamepad mappings %s not read: %s\n", path.c_str(), SDL_GetError());
}

void LetGo(int slot, bool tell) {
  SDL_GameControllerClose(pads[slot].controller);
  pads[slot] = Pad{};
  if (!tell) return;
  ShowPadNotice(slot == 0 ? "Gamepad unplugged: player 1 is back on the mouse"
                          : "Gamepad unplugged: player 2 is back on the keys");
}

// Lets go of pads that left, takes new ones into free slots, and sends the rumble asked for.
void Refresh() {
  if (!opened) return;
  SDL_GameControllerUpdate();
  for (int slot = 0; slot < 2; ++slot)
    if (pads[slot].controller != nullptr && !SDL_GameControllerGetAttached(pads[slot].controller)) LetGo(slot, true);
  const int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    Pad* free = pads[0].controller == nullptr ? &pads[0] : pads[1].controller == nullptr ? &pads[1] : nullptr;
    if (free == nullptr) break;
    if (!SDL_IsGameController(index)) continue;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    if (id == pads[0].id || id == pads[1].id) continue;
    SDL_GameController* controller = SDL_GameControllerOpen(index);
    if (controller == nullptr) continue;
    free->controller = controller;
    free->id = id;
  }
  for (int player = 1; player <= 2; ++player) {
    Rumble kind;
    if (!TakeRumbleRequest(player, &kind)) continue;
    const Pad* pad = PadOfPlayer(player, CurrentPlayContext());
    if (pad == nullptr || pad->controller == nullptr) continue;
    // Short and light for a hit, longer and stronger for a miss; a pad without rumble refuses quietly. In the
    // browser SDL has no rumble: the page's gamepad is shaken through the browser's own vibration, where it has one.
    const bool hit = kind == Rumble::PaddleHit;
    const uint16_t strong = hit ? 0x2000 : 0xC000, weak = hit ? 0x4000 : 0x8000;
    const uint32_t ms = hit ? 60 : 300;
    if (SDL_GameControllerRumble(pad->controller, strong, weak, ms) != 0) {
      const char* name = SDL_JoystickName(SDL_GameControllerGetJoystick(pad->controller));
      if (name != nullptr) os::VibrateBrowserGamepad(name, strong, weak, ms);
    }
  }
}

// The first read of a frame begun by BeginPadFrame anchors the fingers that went down since, and turns a queued
// tap into that frame's Space, or in the menu into pointer motion to the tap and the button in the frame after.
void StepFrame() {
  if (framesStepped == PadFrameNumber()) return;
  framesStepped = PadFrameNumber();
  spaceThisFrame = false;
  clickThisFrame = clickNextFrame;
  clickNextFrame = false;
  tapMotionX = tapMotionY = 0;
  const PlayContext& context = CurrentPlayContext();
  for (Finger& finger : fingers) {
    if (!finger.down || finger.anchored) continue;
    finger.offset1 = context.pointerX - finger.downX;
    finger.offset2 = context.paddle2X - finger.downX;
    finger.anchored = true;
  }
  if (!tapQueued) return;
  tapQueued = false;
  if (context.inMenu) {
    tapMotionX = tapX - context.pointerX;
    tapMotionY = tapY - context.pointerY;
    clickNextFrame = true;
  } else {
    spaceThisFrame = true;
  }
}

bool Pressed(const Pad& pad, SDL_GameControllerButton button) {
  return pad.controller != nullptr && SDL_GameControllerGetButton(pad.controller, button) != 0;
}

int32_t Axis(const Pad& pad, SDL_GameControllerAxis axis) {
  return pad.controller != nullptr ? SDL_GameControllerGetAxis(pad.controller, axis) : 0;
}

// The stick's deflection, or the D-pad's when the stick rests.
int32_t Deflection(const Pad& pad, SDL_GameControllerAxis axis, SDL_GameControllerButton less,
                   SDL_GameControllerButton more) {
  const int32_t stick = Axis(pad, axis);
  if (std::abs(stick) > kStickDeadZone) return stick;
  if (Pressed(pad, less)) return -kDpadDeflection;
  if (Pressed(pad, more)) return kDpadDeflection;
  return 0;
}

int32_t DeflectionX(const Pad& pad) {
  return Deflection(pad, SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
}

int32_t DeflectionY(const Pad& pad) {
  return Deflection(pad, SDL_CONTROLLER_AXIS_LEFTY, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
}

// Player 2 plays in a two-player match only.
bool SecondPlays(const PlayContext& context) { return !context.inMenu && context.playerCount == 2; }

// With one player here (online), every finger is that player's. Otherwise, in a two-player match the half a finger
// went down in is its player's (bottom 1, top 2), and with one player every finger is player 1's.
int32_t PlayerOf(const Finger& finger, const PlayContext& context) {
  if (context.localPlayer != 0) return context.localPlayer;
  return SecondPlays(context) && finger.downY < kPictureHeight / 2 ? 2 : 1;
}

// Player 2's finger: the arrow toward it, -1 left, 1 right, 0 none.
int32_t FingerArrow(const PlayContext& context) {
  if (!SecondPlays(context)) return 0;
  for (const Finger& finger : fingers) {
    if (!finger.down || !finger.anchored || PlayerOf(finger, context) != 2) continue;
    const int32_t target = finger.x + finger.offset2;
    if (target < context.paddle2X - kArrowSlack) return -1;
    if (target > context.paddle2X + kArrowSlack) return 1;
    return 0;
  }
  return 0;
}

}  // namespace

void Open() {
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "INPUT: gamepads unavailable: %s\n", SDL_GetError());
    return;
  }
  // Pads are read by polling, like the joystick, so their events would only pile up in the queue.
  SDL_GameControllerEventState(SDL_IGNORE);
  LoadPlayerMappings();
  SDL_AddEventWatch(WatchTouch, nullptr);
  opened = true;
  Refresh();
}

void Close() {
  if (!opened) return;
  SDL_DelEventWatch(WatchTouch, nullptr);
  for (int slot = 0; slot < 2; ++slot)
    if (pads[slot].controller != nullptr) LetGo(slot, false);
  for (Finger& finger : fingers) finger = Finger{};
  tapQueued = spaceThisFrame = clickThisFrame = clickNextFrame = false;
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  opened = false;
}

void AddToKeys(uint8_t keys[256]) {
  if (!opened) return;
  Refresh();
  StepFrame();
  const PlayContext& context = CurrentPlayContext();
  // The keys as the keyboard numbers them, through the scancode of the key each stands for.
  auto hold = [keys](SDL_Scancode key) { keys[KeyCodeForScancode(key)] = 0x80; };
  if (Pressed(pads[0], SDL_CONTROLLER_BUTTON_START)) hold(SDL_SCANCODE_ESCAPE);
  if (spaceThisFrame) hold(SDL_SCANCODE_SPACE);
  if (context.inMenu) return;  // in the menu the first pad's A is the button (AddToMouse)
  const Pad none;
  const Pad* one = PadOfPlayer(1, context);
  const Pad& first = one != nullptr ? *one : none;
  if (Pressed(first, SDL_CONTROLLER_BUTTON_A)) hold(SDL_SCANCODE_SPACE);
  if (Pressed(first, SDL_CONTROLLER_BUTTON_B) || Axis(first, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) >= kTriggerHeld)
    hold(SDL_SCANCODE_RCTRL);
  if (!SecondPlays(context)) return;
  const Pad* two = PadOfPlayer(2, context);
  const Pad& second = two != nullptr ? *two : none;
  if (Pressed(second, SDL_CONTROLLER_BUTTON_START)) hold(SDL_SCANCODE_ESCAPE);
  if (Pressed(second, SDL_CONTROLLER_BUTTON_A)) hold(SDL_SCANCODE_SPACE);
  if (Axis(second, SDL_CONTROLLER_AXIS_TRIGGERLEFT) >= kTriggerHeld) hold(SDL_SCANCODE_LSHIFT);
  const int32_t deflection = DeflectionX(second);
  const int32_t arrow = deflection != 0 ? deflection : FingerArrow(context);
  if (arrow < 0) hold(SDL_SCANCODE_LEFT);
  if (arrow > 0) hold(SDL_SCANCODE_RIGHT);
}

void AddToMouse(RawMouseState* mouse) {
  if (!opened) return;
  Refresh();
  StepFrame();
  const PlayContext& context = CurrentPlayContext();
  if (context.inMenu && Pressed(pads[0], SDL_CONTROLLER_BUTTON_A)) mouse->left = true;
  if (clickThisFrame) mouse->left = true;
  if (!TakeFrameMotion()) return;
  const int32_t step = context.paddleWidth;
  if (context.inMenu) {
    mouse->dx += StickMotion(DeflectionX(pads[0]), step) + tapMotionX;
    mouse->dy += StickMotion(DeflectionY(pads[0]), step) + tapMotionY;
    return;
  }
  if (const Pad* one = PadOfPlayer(1, context)) mouse->dx += StickMotion(DeflectionX(*one), step);
  // Player 1's finger: the paddle goes toward the finger's x and its offset, at most a paddle's width per frame.
  for (const Finger& finger : fingers) {
    if (!finger.down || !finger.anchored || PlayerOf(finger, context) != 1) continue;
    const int32_t toward = finger.x + finger.offset1 - context.pointerX;
    mouse->dx += std::clamp(toward, -step, step);
    break;
  }
}

}  // namespace platform::sdl_pads
