// InitGame and ShutdownGame, step by step. The progress lines go onto PrimarySurface so that they show at once,
// without a flip; a DONE line is drawn over its first line, so the screen reads "...DONE".
#include "app/startup.h"

#include <cstdio>

#include "app/asset_catalogue.h"
#include "app/game_window.h"
#include "app/title_menu.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/match_state.h"
#include "game/playfield.h"
#include "game/serve.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "input/input_devices.h"

bool (*FirstScreen)() = RunTitleMenu;

namespace {

constexpr uint32_t kProgressColour = 0x00FF00;  // green, as 0x00BBGGRR
constexpr uint32_t kJoystickColour = 0xFF0000;  // blue, as 0x00BBGGRR
constexpr int32_t kProgressX = 10;

void DrawProgress(const char* text, int32_t y) { DrawTextGdi(text, kProgressX, y, kProgressColour, PrimarySurface); }

void ShowStartupError(const char* text) { platform::ShowMessageBox(MainWindow, text, "ERROR"); }

// The end of a set-up or loading step whose first line is already drawn: its DONE line or its message box.
void FinishStep(bool succeeded, const char* doneLine, int32_t y, const char* failureText) {
  if (succeeded) {
    DrawProgress(doneLine, y);
  } else {
    ShowStartupError(failureText);
  }
}

// The joystick line at (250, 25): its product name (cut to fit TextBuffer) or that there is none.
void ReportJoystick(bool found) {
  if (found) {
    std::snprintf(TextBuffer, sizeof TextBuffer, "Joystick Vendor Name:    %.54s", JoystickName);
    DrawTextGdi(TextBuffer, 250, 25, kJoystickColour, PrimarySurface);
  } else {
    DrawTextGdi("NO JOYSTICK FOUND", 250, 25, kJoystickColour, PrimarySurface);
  }
}

}  // namespace

int32_t InitGame() {
  // The serve step opens this menu after a lost match; the match rules reach it through this pointer.
  TitleMenuEntry = RunTitleMenu;

  // KEEP: the player sees these lines and boxes word for word, old names and all; the ShellRun tests check them.
  // "DirectDrawInitialized" has no space and "Joystick Vendor Name:" four blanks after it, as the game has them.
  // KEEP: the display's result is not examined, so the player gets the game where a working mode reports 0.
  InitDisplay(640, 480, 16);
  DrawProgress("DirectDrawInitialized", 0);

  // Input: system object, keyboard and mouse (their results unexamined), joystick.
  DrawProgress("Initializing DirectInput...", 25);
  FinishStep(InitInput() != 0, "Initializing DirectInput...DONE", 25, "DirectInput Initialization Failed");
  // KEEP: keyboard and mouse results are not examined: without one the game starts and reads nothing pressed.
  InitKeyboard();
  InitMouse();
  ReportJoystick(InitJoystick(-512, 512, -512, 512, 5) != 0);

  DrawProgress("Initializing DirectSound...", 40);
  FinishStep(InitSound() != 0, "Initializing DirectSound...DONE", 40, "DirectSound Initialization Failed");
  DrawProgress("Initializing DirectMusic...", 55);
  FinishStep(InitMusic() != 0, "Initializing DirectMusic...DONE", 55, "DirectMusic Initialization Failed");

  DrawProgress("Loading Backgrounds...", 70);
  FinishStep(LoadBackgrounds(), "Loading Backgrounds...DONE", 70, "Backgrounds Loading Failed");
  DrawProgress("Loading Sprites...", 85);
  FinishStep(LoadSprites(), "Loading Sprites...DONE", 85, "Graphics Loading Failed");
  DrawProgress("Loading SoundFX...", 100);
  FinishStep(LoadSoundEffects(), "Loading SoundFX...DONE", 100, "Sound Loading Failed");
  DrawProgress("Loading Music...", 115);
  LoadMusic();  // starts the song; reports its own failure
  // KEEP: "Loading Music...DONE" is drawn even after the song failed, as ShellRun.MissingSong... checks.
  DrawProgress("Loading Music...DONE", 115);

  platform::ShowCursor(false);
  BlockX = 15;
  BlockY = 200;
  FirstScreen();
  return 1;
}

int32_t ShutdownGame() {
  ReleasePictures();
  ShutdownDisplay();
  // KEEP: the input object goes before its devices (InputDevicesTest.DevicesOutliveTheObject... checks).
  ShutdownInput();
  ShutdownKeyboard();
  ShutdownMouse();
  StopAllSoundEffects();
  ShutdownSound();
  StopMidi(SongId);
  ShutdownMusic();
  return 1;
}
