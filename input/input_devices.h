// The input object and its keyboard, mouse and joystick devices, and the records each read fills.
// Set up once at start-up, read every frame, released at shut-down. Init and Read return 1 on success, 0 on failure.
#pragma once
#include <cstdint>

#include "platform/input.h"

using MouseStateRecord = platform::MouseStateRecord;        // lX, lY, lZ, rgbButtons[4]
using JoystickStateRecord = platform::JoystickStateRecord;  // six axes, two sliders, four POVs, 32 buttons
static_assert(sizeof(MouseStateRecord) == 16, "the mouse record is 16 bytes");
static_assert(sizeof(JoystickStateRecord) == 80, "the joystick record is 80 bytes");

// The objects, owned here; null until created.
extern platform::InputSystem* InputObject;
extern platform::InputDevice* KeyboardDevice;
extern platform::InputDevice* MouseDevice;
extern platform::InputDevice* JoystickDevice;

// The joystick found by enumeration: all zero and empty when none was found. JoystickPresent is 1 once
// InitJoystick has completed every step, and is never reset.
extern platform::InputGuid JoystickGuid;
extern char JoystickName[80];
extern int32_t JoystickPresent;

// The records the reads fill. A key or button is down when its byte's high bit (0x80) is set.
extern uint8_t KeyboardState[256];
extern MouseStateRecord MouseState;
extern JoystickStateRecord JoystickState;
static_assert(sizeof(KeyboardState) == 256, "the keyboard record is 256 bytes");

// Set-up, in this order at start-up: the object, then the devices created from it.
int32_t InitInput();
int32_t InitKeyboard();
int32_t InitMouse();
int32_t InitJoystick(int32_t minX, int32_t maxX, int32_t minY, int32_t maxY, int32_t deadZonePercent);

// Called by enumeration for each attached joystick: keeps the first one's GUID (into *reference) and name, then stops.
int32_t JoystickEnumCallback(const platform::JoystickInstance* deviceInstance, void* reference);

// Snapshots. With no device the record is cleared; a failed read leaves it as it was.
int32_t ReadKeyboard();
int32_t ReadMouse();
int32_t ReadJoystick();

// The frame loop's Escape test: whether the key is down at this very moment, read from the keyboard's live
// state (an asynchronous read), not from KeyboardState; needs no device and leaves KeyboardState as it is.
bool IsKeyDownNow(uint8_t keyCode);

// Release, at shut-down; the object may go before the devices.
void ShutdownInput();
void ShutdownKeyboard();
void ShutdownMouse();
void ShutdownJoystick();
