// No heap allocation per frame: the whole program runs from WinMain on the headless backend, its input set from
// the present hook after each flip as the replay tool sets it, and the process's allocation count is compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/main_window.h"
#include "app/title_menu.h"
#include "game/match_state.h"
#include "input/key_codes.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/video.h"
#include "platform/window.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/headless_fixture.h"

namespace {

constexpr int64_t kWarmUpFrames = 8;
constexpr int64_t kMeasuredFrames = 10000;

enum class Phase { PlayWarmUp, Play, MenuWarmUp, Menu, Leaving };

// What the run went through, gathered in the hook without allocating (no assertion runs inside it).
struct RunRecord {
  Phase phase = Phase::PlayWarmUp;
  int64_t framesInPhase = 0;
  uint64_t countAtStart = 0;
  uint64_t playAllocations = 0;
  uint64_t menuAllocations = 0;
  int32_t highestLevel = 0;
  int64_t hits = 0;
  int32_t previousHitCount = 0;
  int64_t livesLost = 0;
  int64_t gameOverFrames = 0;
  int64_t playMenuFrames = 0;
  int64_t menuFramesOutsideMenu = 0;
  bool sawOnePlayer = false;
  bool sawTwoPlayers = false;
  int32_t previousLives = 3;
};

// Every input the run uses, built before the first frame.
struct Inputs {
  platform::HeadlessInputFrame none, follow, followServe, serve, button, escape, move, chord;
};

RunRecord Record;
Inputs* In = nullptr;

// Play: a stretch with right Ctrl keeping the paddle under the ball (hits, level-ups), then a stretch without it
// (misses, game over). Space serves every 40 frames and the button, which does nothing in play, leaves the menu
// that Space opens after a game over.
const platform::HeadlessInputFrame& PlayInput(int64_t frame) {
  const int64_t inCycle = frame % 2500;
  const bool following = inCycle < 1600;
  if (frame % 40 == 0) return following ? In->followServe : In->serve;
  if (frame % 40 == 20) return In->button;
  return following ? In->follow : In->none;
}

// The menu: down to the players band and clicks there (the count switches), up to the new-game band without a
// click, the hidden chord, then sideways motion; the pointer never reaches the quit band.
const platform::HeadlessInputFrame& MenuInput(int64_t frame) {
  const int64_t inCycle = frame % 200;
  if (inCycle == 0 || inCycle == 50 || inCycle == 60) {
    const int32_t target = inCycle == 0 ? 265 : inCycle == 50 ? 100 : 300;
    In->move.dx = 0;
    In->move.dy = target - PointerY;
    return In->move;
  }
  if (inCycle >= 1 && inCycle <= 3) return In->button;
  if (inCycle >= 51 && inCycle <= 59) return In->chord;
  if (inCycle == 61) return In->button;  // between the bands: nothing happens
  In->move.dx = inCycle % 2 == 0 ? 5 : -5;
  In->move.dy = 0;
  return In->move;
}

void NotePlayFrame() {
  Record.highestLevel = std::max(Record.highestLevel, Level);
  if (HitCount > Record.previousHitCount) Record.hits += HitCount - Record.previousHitCount;
  Record.previousHitCount = HitCount;
  if (Lives1 < Record.previousLives) Record.livesLost += Record.previousLives - Lives1;
  Record.previousLives = Lives1;
  if (Lives1 == 0) ++Record.gameOverFrames;
  if (TitleMenuRunning != 0) ++Record.playMenuFrames;
}

void NoteMenuFrame() {
  if (TitleMenuRunning == 0) ++Record.menuFramesOutsideMenu;
  if (PlayerCount == 1) Record.sawOnePlayer = true;
  if (PlayerCount == 2) Record.sawTwoPlayers = true;
}

void EnterPhase(Phase phase) {
  Record.phase = phase;
  Record.framesInPhase = 0;
  Record.countAtStart = allocations::Count();
}

// After each flip: account for the frame just shown and set the next one's input.
void OnFlip(void*) {
  const int64_t frame = Record.framesInPhase++;
  switch (Record.phase) {
    case Phase::PlayWarmUp:
      platform::SetHeadlessInput(PlayInput(frame));
      if (frame + 1 == kWarmUpFrames) EnterPhase(Phase::Play);
      break;
    case Phase::Play:
      NotePlayFrame();
      if (frame + 1 < kMeasuredFrames) {
        platform::SetHeadlessInput(PlayInput(frame + 1));
        break;
      }
      Record.playAllocations = allocations::Count() - Record.countAtStart;
      platform::SetHeadlessInput(In->escape);  // the next frame opens the menu
      EnterPhase(Phase::MenuWarmUp);
      break;
    case Phase::MenuWarmUp:
      platform::SetHeadlessInput(MenuInput(frame));
      if (frame + 1 == kWarmUpFrames) EnterPhase(Phase::Menu);
      break;
    case Phase::Menu:
      NoteMenuFrame();
      if (frame + 1 < kMeasuredFrames) {
        platform::SetHeadlessInput(MenuInput(frame + 1));
        break;
      }
      Record.menuAllocations = allocations::Count() - Record.countAtStart;
      // Up into the new-game band, a click there, then the close request ends the program's own loop.
      In->move.dy = 100 - PointerY;
      platform::SetHeadlessInput(In->move);
      EnterPhase(Phase::Leaving);
      break;
    case Phase::Leaving:
      if (frame == 0) platform::SetHeadlessInput(In->button);
      if (frame == 1) platform::PostMessage(platform::MainWindowHandle(), platform::WM_CLOSE, 0, 0);
      if (frame >= 1) platform::SetHeadlessInput(In->none);
      break;
  }
}

platform::HeadlessInputFrame Keys(std::vector<uint8_t> keys, bool button = false) {
  platform::HeadlessInputFrame frame;
  frame.keysHeld = std::move(keys);
  frame.primaryButton = button;
  return frame;
}

TEST(FrameAllocations, PlayAndTitleMenuAllocateNothingPerFrame) {
  std::filesystem::current_path(TAVO_RUN_DIR);  // the generated assets; nothing is written there
  Inputs inputs{Keys({}),
                Keys({DIK_RCONTROL}),
                Keys({DIK_RCONTROL, DIK_SPACE}),
                Keys({DIK_SPACE}),
                Keys({}, true),
                Keys({DIK_ESCAPE}),
                Keys({}),
                Keys({DIK_T, DIK_A, DIK_V})};
  In = &inputs;
  testsupport::UseHeadlessBackend();
  platform::ResetHeadlessInput();
  platform::SetHeadlessInput(inputs.button);  // the first menu frame takes the new-game entry
  platform::SetPresentHook(OnFlip, nullptr);
  static int instanceTag = 0;
  EXPECT_EQ(WinMain(&instanceTag, nullptr, "", 1), 0);
  platform::SetPresentHook(nullptr, nullptr);

  EXPECT_EQ(Record.phase, Phase::Leaving) << "the run ended before both windows were measured";
  EXPECT_EQ(Record.playAllocations, 0u) << "heap allocations in " << kMeasuredFrames << " frames of play";
  EXPECT_EQ(Record.menuAllocations, 0u) << "heap allocations in " << kMeasuredFrames << " title-menu frames";
  // The play window went through what it is meant to cover.
  EXPECT_GE(Record.highestLevel, 2);
  EXPECT_GE(Record.hits, 20);
  EXPECT_GE(Record.livesLost, 6);
  EXPECT_GT(Record.gameOverFrames, 0);
  EXPECT_GT(Record.playMenuFrames, 0);
  EXPECT_LT(Record.playMenuFrames, kMeasuredFrames / 10);
  // The menu window stayed in the menu and switched the player count both ways, with the hidden mode on.
  EXPECT_EQ(Record.menuFramesOutsideMenu, 0);
  EXPECT_TRUE(Record.sawOnePlayer);
  EXPECT_TRUE(Record.sawTwoPlayers);
  EXPECT_GT(HiddenModeCount, 0);
}

}  // namespace
