// Which backend serves the platform: the SDL one (the game) or the headless one (tests, replay).
// Chosen once, before any other platform call; every service asks CurrentBackend() to dispatch.
#pragma once

namespace platform {

enum class Backend { Headless, Sdl };

// Called once by the program's entry (or a test's set-up) before any other platform call.
void SelectBackend(Backend backend);

// The backend chosen by SelectBackend; headless until one is chosen.
Backend CurrentBackend();

}  // namespace platform
