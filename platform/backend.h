// Which backend serves the platform: the SDL one (the game) or the headless one (tests, replay).
// Chosen once, before any other platform call; every service then dispatches through the chosen backend's table.
#pragma once

namespace platform {

enum class Backend { Headless, Sdl };

// Called once by the program's entry (or a test's set-up) before any other platform call; headless until then.
void SelectBackend(Backend backend);

}  // namespace platform
