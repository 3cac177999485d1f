// A real-window check of the SDL keyboard and relative mouse, driven from outside by xdotool.
// Opens the window, sets up the devices, signals "ready", reads until told "done", then checks what it saw.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "input/input_devices.h"
#include "input/key_codes.h"
#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace {

intptr_t CheckWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(window, message, wParam, lParam);
}

struct Observed {
  long motionX = 0, motionY = 0;
  bool keySeen[256] = {};
  bool buttonSeen = false;
  bool escapeSeenNow = false;
};

void ReadOnce(Observed* seen) {
  if (ReadKeyboard() != 1 || ReadMouse() != 1) return;
  seen->motionX += MouseState.lX;
  seen->motionY += MouseState.lY;
  for (int key = 0; key < 256; ++key) seen->keySeen[key] |= (KeyboardState[key] & 0x80) != 0;
  seen->buttonSeen |= (MouseState.rgbButtons[0] & 0x80) != 0;
  seen->escapeSeenNow |= platform::IsKeyDownNow(DIK_ESCAPE);
  platform::Message message;
  while (platform::PeekMessage(&message)) platform::DispatchMessage(&message);
}

int Report(const Observed& seen, long expectedX, long expectedY) {
  int failures = 0;
  auto check = [&failures](bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) ++failures;
  };
  std::printf("motion %ld %ld (expected %ld %ld)\n", seen.motionX, seen.motionY, expectedX, expectedY);
  check(seen.motionX == expectedX && seen.motionY == expectedY, "relative motion adds up to what was moved");
  const struct {
    uint8_t key;
    const char* name;
  } keys[] = {{DIK_ESCAPE, "Escape"},
              {DIK_SPACE, "Space"},
              {DIK_RETURN, "Enter"},
              {DIK_LEFT, "Left arrow"},
              {DIK_RIGHT, "Right arrow"},
              {DIK_RCONTROL, "Right Ctrl"},
              {DIK_LSHIFT, "Left Shift"},
              {DIK_A, "A"},
              {DIK_Z, "Z"}};
  for (const auto& entry : keys) check(seen.keySeen[entry.key], entry.name);
  check(!seen.keySeen[DIK_F12], "a key never pressed is never down");
  check(seen.buttonSeen, "first mouse button");
  check(seen.escapeSeenNow, "Escape seen by the frame loop's test");
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s READY_FILE DONE_FILE EXPECTED_DX EXPECTED_DY\n", argv[0]);
    return 2;
  }
  platform::SelectBackend(platform::Backend::Sdl);
  platform::RegisterWindowClass("TAVO2000INPUTCHECK", CheckWindowProc);
  if (platform::OpenMainWindow("Input check", "TAVO2000INPUTCHECK") == nullptr) {
    std::fprintf(stderr, "no window: %s\n", platform::LastError().c_str());
    return 2;
  }
  if (InitInput() != 1 || InitKeyboard() != 1 || InitMouse() != 1) {
    std::fprintf(stderr, "input set-up failed\n");
    return 1;
  }
  std::ofstream(argv[1]) << "ready\n";
  Observed seen;
  const uint32_t deadline = platform::GetTicks() + 20000;
  while (!std::filesystem::exists(argv[2]) && platform::GetTicks() < deadline) {
    ReadOnce(&seen);
    platform::SleepMs(5);
  }
  platform::SleepMs(100);
  ReadOnce(&seen);
  int result = Report(seen, std::atol(argv[3]), std::atol(argv[4]));
  ShutdownInput();
  ShutdownKeyboard();
  ShutdownMouse();
  platform::CloseMainWindow();
  return result;
}
