// The title menu's frame loop. The hot bands go by the pointer's y as it was drawn in the previous frame;
// this frame's mouse motion is added only after the band tests, just before the pointer is drawn.
#include "app/title_menu.h"

#include "app/asset_catalogue.h"
#include "app/game_window.h"
#include "app/pad_play.h"
#include "app/title_menu_layout.h"
#include "audio/sound_effects.h"
#include "game/match_state.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/frame_clock.h"
#include "gfx/text.h"
#include "input/input_devices.h"
#include "input/key_codes.h"

int32_t TitleMenuRunning = 0;

namespace {

constexpr uint32_t kCreditsColour = 0x0000FF;  // red, as 0x00BBGGRR

enum class MenuChoice { Stay, NewGame, Quit };

bool IsKeyDown(uint8_t keyCode) { return KeyboardState[keyCode] != 0; }

// Counts a frame with the whole chord held; the score sound marks the frame that turns the hidden mode on.
void CheckHiddenChord() {
  for (uint8_t key : kHiddenChordKeys) {
    if (!IsKeyDown(key)) return;
  }
  // KEEP: the count rises while the chord is held; only its first frame sounds (the hidden_mode traces).
  ++HiddenModeCount;
  if (HiddenModeCount == 1) PlaySoundEffect(ScoreSound, 0, 0, 0, 0);
}

// The band tests by PointerY; moves the marker and says whether the menu is to be left.
// KEEP: the bands test the pointer as drawn last frame, this frame's motion after; the menu_bands trace.
MenuChoice CheckBands(int32_t& markerRow) {
  const bool button = MouseState.rgbButtons[0] != 0;
  const bool enter = IsKeyDown(DIK_RETURN);
  if (PointerY <= kNewGameBandBottom) {
    markerRow = kNewGameRow;
    if (button || enter) return MenuChoice::NewGame;
  } else if (PointerY >= kPlayersBandTop && PointerY <= kPlayersBandBottom) {
    markerRow = kPlayersRow;
    // KEEP: the button (not Enter) switches the count in each frame it is down (menu_bands, two_players traces).
    if (button) PlayerCount = (PlayerCount == 1) ? 2 : 1;
  } else if (PointerY >= kQuitBandTop) {
    markerRow = kQuitRow;
    if (button || enter) return MenuChoice::Quit;
  }
  return MenuChoice::Stay;
}

// Background, entries and marker, then the pointer at its new place, then the credits.
void DrawMenu(int32_t markerRow) {
  BlitSurface(MenuSurface, BackSurface, 0, 0, 640, 480);
  BlitSurface(NewGameSurface, BackSurface, kMenuEntryX, kNewGameEntryY, 196, 24);
  BlitSurface(PlayerCount == 1 ? Player1Surface : Player2Surface, BackSurface, kMenuEntryX, kPlayersEntryY, 196, 24);
  BlitSurface(QuitSurface, BackSurface, kMenuEntryX, kQuitEntryY, 196, 24);
  BlitSurface(BallSurface, BackSurface, kMarkerX, markerRow, 16, 16);
  PointerX += MouseState.lX;
  PointerY += MouseState.lY;
  BlitSurface(Cursor1Surface, BackSurface, PointerX, PointerY, 22, 22);
  DrawTextGdi("Programming/Art:", 460, 360, kCreditsColour, BackSurface);
  DrawTextGdi("The Tavo 2000 Team", 460, 380, kCreditsColour, BackSurface);
  DrawTextGdi("tavo2000@example.org", 460, 400, kCreditsColour, BackSurface);
}

// One menu frame up to the flip; returns what the player chose.
MenuChoice RunMenuFrame(int32_t& markerRow) {
  StartFrameClock();
  FillSurface(BackSurface, 0);
  platform::BeginPadFrame(MenuPlayContext());
  ReadKeyboard();
  ReadMouse();
  CheckHiddenChord();
  // KEEP: the pointer's only limit is on the right; it may leave the screen elsewhere (menu_bands trace).
  if (PointerX >= kPointerRightLimit) PointerX = kPointerRightLimit;
  const MenuChoice choice = CheckBands(markerRow);
  if (choice != MenuChoice::Stay) return choice;  // nothing more is drawn in this frame
  DrawMenu(markerRow);
  DrawPadNotice();
  FlipDisplayOrShowFailure();
  WaitFrameClock(30);
  return MenuChoice::Stay;
}

}  // namespace

bool RunTitleMenu() {
  // KEEP: every entry starts with one player selected, whatever the last match used (menu_bands trace).
  PlayerCount = 1;
  int32_t markerRow = kNewGameRow;
  TitleMenuRunning = 1;
  MenuChoice choice = MenuChoice::Stay;
  while (choice == MenuChoice::Stay) choice = RunMenuFrame(markerRow);
  TitleMenuRunning = 0;
  if (choice == MenuChoice::NewGame) {
    ResetMatch();
  } else {
    // KEEP: quitting posts WM_DESTROY, so one more frame runs before the end (rally, menu_bands traces).
    platform::PostMessage(MainWindow, platform::WM_DESTROY, 0, 0);
  }
  return true;
}
