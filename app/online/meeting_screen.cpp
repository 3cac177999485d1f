// The meeting screen: green lines on black like the start-up screen's, one frame every 30 ms while the session
// meets the other peer; the failure line stays two seconds before the program ends.
#include "app/online/meeting_screen.h"

#include <cstdio>
#include <string>

#include "app/game_window.h"
#include "app/online/session.h"
#include "app/title_menu.h"
#include "gfx/display.h"
#include "gfx/frame_clock.h"
#include "gfx/text.h"
#include "input/input_devices.h"
#include "input/key_codes.h"
#include "platform/window.h"

namespace {

constexpr uint32_t kLineColour = 0x00FF00;     // green, as the start-up lines (0x00BBGGRR)
constexpr uint32_t kFailureColour = 0x0000FF;  // red
constexpr int32_t kLineX = 10;
constexpr int32_t kFailureFrames = 66;  // about two seconds

void DrawScreen(const std::string& status, const char* extra, uint32_t statusColour) {
  StartFrameClock();
  FillSurface(BackSurface, 0);
  DrawTextGdi("Tavo 2000 online", kLineX, 10, kLineColour, BackSurface);
  DrawTextGdi(status.c_str(), kLineX, 40, statusColour, BackSurface);
  const std::string addresses = OnlineAddressesText();
  if (OnlineRoomCode()[0] != '\0') {
    DrawTextGdi("Give the other player this room code:", kLineX, 70, kLineColour, BackSurface);
    DrawTextGdi(OnlineRoomCode(), kLineX, 90, kLineColour, BackSurface);
  } else if (!addresses.empty()) {
    DrawTextGdi("Give the other player this address:", kLineX, 70, kLineColour, BackSurface);
    DrawTextGdi(addresses.c_str(), kLineX, 90, kLineColour, BackSurface);
  }
  if (OtherPlayerName()[0] != '\0') {
    const std::string other = std::string("Other player: ") + OtherPlayerName();
    DrawTextGdi(other.c_str(), kLineX, 120, kLineColour, BackSurface);
  }
  DrawTextGdi(extra, kLineX, 150, kLineColour, BackSurface);
  FlipDisplayOrShowFailure();
  WaitFrameClock(kOnlineFrameMs);
}

}  // namespace

bool RunMeetingScreen() {
  std::string status;
  for (;;) {
    if (ContinueMeeting(&status)) {
      BeginOnlineMatches();
      return true;
    }
    if (OnlineSessionPhase == OnlinePhase::Ended) break;
    if (IsKeyDownNow(DIK_ESCAPE)) {
      EndOnlineSession("You gave up waiting.", true);
      std::fprintf(stderr, "tavo2000: %s\n", OnlineEndReason().c_str());
      platform::PostQuitMessage(0);
      return false;
    }
    DrawScreen(status + "...", "Press Escape to give up.", kLineColour);
  }
  std::fprintf(stderr, "tavo2000: %s\n", OnlineEndReason().c_str());
  for (int32_t frame = 0; frame < kFailureFrames; ++frame) DrawScreen(OnlineEndReason(), "", kFailureColour);
  platform::PostQuitMessage(kOnlineFailedExitCode);
  return false;
}

void ShowPauseNotice(const std::string& notice) { DrawScreen(notice, "Press Escape to leave.", kLineColour); }

void ShowSessionEndAndOpenMenu() {
  for (int32_t frame = 0; frame < kFailureFrames; ++frame) DrawScreen(OnlineEndReason(), "", kLineColour);
  RunTitleMenu();
}
