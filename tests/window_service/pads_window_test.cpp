// Gamepads and fingers on the SDL backend in a real 640 x 480 window (run under Xvfb): virtual pads plugged,
// moved, pressed and pulled out, and touch events, read by the game's own paddle steps and the menu's reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/demos/demo_player.h"
#include "app/demos/demo_recorder.h"
#include "app/pad_play.h"
#include "game/match_state.h"
#include "game/paddles.h"
#include "input/input_devices.h"
#include "input/key_codes.h"
#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/display_choices.h"
#include "platform/pads.h"
#include "platform/tool_support/virtual_pads.h"
#include "platform/window.h"

namespace {

using platform::virtual_pads::FingerAction;
using platform::virtual_pads::PadAxis;
using platform::virtual_pads::PadButton;
namespace pads = platform::virtual_pads;

constexpr int16_t kFull = 32767;
constexpr int16_t kDrift = 7000;  // inside the dead zone

// x, y across the 640 x 480 window, as SDL gives a finger: 0 the first pixel, 1 the last.
float AcrossX(int32_t x) { return static_cast<float>(x) / 639.0f; }
float AcrossY(int32_t y) { return static_cast<float>(y) / 479.0f; }

intptr_t TestWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(window, message, wParam, lParam);
}

class PadsWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    platform::SelectBackend(platform::Backend::Sdl);
    platform::SetDisplayChoices(platform::DisplayChoices{false, 640, 480, platform::PictureScaling::Fit});
    platform::RegisterWindowClass("TAVO2000PADS", TestWindowProc);
    ASSERT_NE(platform::OpenMainWindow("Tavo 2000 pads", "TAVO2000PADS"), nullptr) << platform::LastError();
    ASSERT_EQ(InitInput(), 1);
    ASSERT_EQ(InitKeyboard(), 1);
    ASSERT_EQ(InitMouse(), 1);
  }
  static void TearDownTestSuite() {
    ShutdownMouse();
    ShutdownKeyboard();
    ShutdownInput();
    platform::CloseMainWindow();
  }
  void SetUp() override {
    PlayerCount = 1;
    PointerX = Paddle1X = Paddle2X = 200;
    PointerY = 100;
    BallX = 300;
    platform::SetRumbleEnabled(true);
  }
  void TearDown() override {
    for (int32_t pad : plugged) pads::Unplug(pad);
    plugged.clear();
    Frame();  // the pads' leaving is noticed
  }
  int32_t Plug() {
    const int32_t pad = pads::Plug();
    EXPECT_GE(pad, 0);
    plugged.push_back(pad);
    return pad;
  }
  void Unplug(int32_t pad) {
    pads::Unplug(pad);
    std::erase(plugged, pad);
  }
  // One match frame as the game plays it: the context, then both paddle steps (keys and mouse, twice).
  void Frame() {
    platform::BeginPadFrame(MatchPlayContext());
    UpdatePaddle1();
    UpdatePaddle2();
  }
  // One title-menu frame's reads.
  void MenuFrame() {
    platform::BeginPadFrame(MenuPlayContext());
    ReadKeyboard();
    ReadMouse();
  }
  static bool Held(uint8_t key) { return KeyboardState[key] != 0; }
  std::vector<int32_t> plugged;
};

void Release(int32_t pad) {
  for (PadAxis axis : {PadAxis::LeftX, PadAxis::LeftY}) pads::SetAxis(pad, axis, 0);
  for (PadAxis axis : {PadAxis::LeftTrigger, PadAxis::RightTrigger}) pads::SetAxis(pad, axis, -32768);
  for (int button = 0; button <= static_cast<int>(PadButton::DpadRight); ++button)
    pads::SetButton(pad, static_cast<PadButton>(button), false);
}

TEST_F(PadsWindow, PadsComeAndGoMidMatch) {
  PlayerCount = 2;
  const int32_t first = Plug();
  const int32_t second = Plug();
  pads::SetAxis(first, PadAxis::LeftX, kFull);
  pads::SetAxis(second, PadAxis::LeftX, kFull);
  Frame();
  EXPECT_EQ(Paddle1X, 276);
  EXPECT_EQ(Paddle2X, 215);
  EXPECT_EQ(platform::PadNotice(), nullptr);  // the first test: no pad has left yet
  // The first pad goes: player 1 is back on the mouse, player 2 keeps the second pad.
  Unplug(first);
  Frame();
  EXPECT_EQ(Paddle1X, 276);
  EXPECT_EQ(Paddle2X, 230);
  ASSERT_NE(platform::PadNotice(), nullptr);
  EXPECT_NE(std::string(platform::PadNotice()).find("player 1"), std::string::npos) << platform::PadNotice();
  // A pad plugged in now is player 1's at once.
  const int32_t again = Plug();
  pads::SetAxis(again, PadAxis::LeftX, -kFull);
  Frame();
  EXPECT_EQ(Paddle1X, 200);
  EXPECT_EQ(Paddle2X, 245);
  // The notice goes after 2 s.
  platform::SleepMs(2100);
  EXPECT_EQ(platform::PadNotice(), nullptr);
}

// Each row: what the two pads do in one frame, and where the paddles and keys end up. Paddles start at 200, the
// ball at 300 (so a follow key puts a paddle at 268).
TEST_F(PadsWindow, TwoPadsPlayBothPaddles) {
  struct Row {
    const char* what;
    int32_t players;
    int16_t firstX;
    PadButton firstButton;  // Guide: none
    int16_t firstRightTrigger;
    int16_t secondX;
    PadButton secondButton;
    int16_t secondLeftTrigger;
    int32_t paddle1, paddle2;
    bool space, escape;
  };
  const PadButton none = PadButton::Guide;
  const int16_t rest = -32768;
  const Row rows[] = {
      {"nothing held", 2, 0, none, rest, 0, none, rest, 200, 200, false, false},
      {"drift in the dead zone", 2, kDrift, none, rest, -kDrift, none, rest, 200, 200, false, false},
      {"sticks full", 2, kFull, none, rest, -kFull, none, rest, 276, 185, false, false},
      {"sticks half", 2, -20383, none, rest, 20383, none, rest, 176, 215, false, false},
      {"D-pads", 2, 0, PadButton::DpadLeft, rest, 0, PadButton::DpadRight, rest, 163, 215, false, false},
      {"B and left trigger follow", 2, 0, PadButton::B, rest, 0, none, kFull, 268, 268, false, false},
      {"right trigger follows", 2, 0, none, kFull, 0, none, rest, 268, 200, false, false},
      {"A serves, Start is Escape", 2, 0, PadButton::A, rest, 0, PadButton::Start, rest, 200, 200, true, true},
      {"one player: the second pad is not read", 1, kFull, none, rest, -kFull, PadButton::A, kFull, 276, 200, false,
       false},
  };
  const int32_t first = Plug();
  const int32_t second = Plug();
  for (const Row& row : rows) {
    Release(first);
    Release(second);
    pads::SetAxis(first, PadAxis::LeftX, row.firstX);
    if (row.firstButton != none) pads::SetButton(first, row.firstButton, true);
    pads::SetAxis(first, PadAxis::RightTrigger, row.firstRightTrigger);
    pads::SetAxis(second, PadAxis::LeftX, row.secondX);
    if (row.secondButton != none) pads::SetButton(second, row.secondButton, true);
    pads::SetAxis(second, PadAxis::LeftTrigger, row.secondLeftTrigger);
    PlayerCount = row.players;
    PointerX = Paddle1X = Paddle2X = 200;
    Frame();
    EXPECT_EQ(Paddle1X, row.paddle1) << row.what;
    EXPECT_EQ(Paddle2X, row.paddle2) << row.what;
    EXPECT_EQ(Held(DIK_SPACE), row.space) << row.what;
    EXPECT_EQ(platform::IsKeyDownNow(DIK_ESCAPE), row.escape) << row.what;
  }
  // The motion counts once per frame: a further read in the same frame moves nothing.
  Release(first);
  pads::SetAxis(first, PadAxis::LeftX, kFull);
  Frame();
  ReadMouse();
  EXPECT_EQ(MouseState.lX, 0);
}

// Online, a joiner plays only player 2 here: its first pad and its fingers drive the top paddle.
TEST_F(PadsWindow, OneLocalPlayerTakesTheFirstPad) {
  PlayerCount = 2;
  PadLocalPlayer = 2;
  const int32_t first = Plug();
  pads::SetAxis(first, PadAxis::LeftX, kFull);
  pads::SetAxis(first, PadAxis::LeftTrigger, kFull);
  Frame();
  EXPECT_EQ(Paddle1X, 200);
  EXPECT_EQ(Paddle2X, 283);  // under the ball by left Shift, then the right arrow
  Release(first);
  pads::PushFinger(FingerAction::Down, 9, AcrossX(100), AcrossY(440));
  pads::PushFinger(FingerAction::Move, 9, AcrossX(0), AcrossY(440));
  Frame();
  EXPECT_EQ(Paddle1X, 200);
  EXPECT_EQ(Paddle2X, 268);  // the bottom half's finger pulls the top paddle by the left arrow
  pads::PushFinger(FingerAction::Up, 9, AcrossX(0), AcrossY(440));
  PadLocalPlayer = 0;
}

TEST_F(PadsWindow, FirstPadDrivesTheMenuPointerAndClicks) {
  const int32_t first = Plug();
  pads::SetAxis(first, PadAxis::LeftY, kFull);
  pads::SetButton(first, PadButton::DpadLeft, true);
  MenuFrame();
  EXPECT_EQ(MouseState.lX, -37);
  EXPECT_EQ(MouseState.lY, 76);
  EXPECT_EQ(MouseState.rgbButtons[0], 0);
  Release(first);
  pads::SetButton(first, PadButton::A, true);
  MenuFrame();
  EXPECT_EQ(MouseState.rgbButtons[0], 0x80);
  EXPECT_FALSE(Held(DIK_SPACE));  // in the menu A is the button, not Space
}

// Rumble from the frame's outcome (app/pad_play.cpp) reaching the pad of the player it is for.
TEST_F(PadsWindow, RumbleForHitsAndMisses) {
  struct Row {
    const char* what;
    int32_t players;
    bool enabled;
    int32_t hits, lives1, lives2, ballDY;
    int32_t firstRequests, secondRequests;
    uint16_t firstLow;
  };
  const Row rows[] = {
      {"nothing happened", 2, true, 0, 0, 0, -8, 0, 0, 0},
      {"bottom paddle hit", 2, true, 1, 0, 0, -8, 1, 0, 0x2000},
      {"top paddle hit", 2, true, 1, 0, 0, 8, 0, 1, 0},
      {"top paddle hit alone", 1, true, 1, 0, 0, 8, 1, 0, 0x2000},
      {"player 1 missed", 2, true, 0, -1, 0, 8, 1, 0, 0xC000},
      {"player 2 missed", 2, true, 0, 0, -1, -8, 0, 1, 0},
      {"rumble off", 2, false, 1, -1, -1, -8, 0, 0, 0},
  };
  for (const Row& row : rows) {
    const int32_t first = Plug();
    const int32_t second = Plug();
    Frame();
    platform::SetRumbleEnabled(row.enabled);
    PlayerCount = row.players;
    HitCount = 3, Lives1 = Lives2 = 3;
    const RumbleMarks before = TakeRumbleMarks();
    HitCount += row.hits, Lives1 += row.lives1, Lives2 += row.lives2, BallDY = row.ballDY;
    RumbleForFrame(before);
    Frame();
    EXPECT_EQ(pads::RumbleOf(first).requests, row.firstRequests) << row.what;
    EXPECT_EQ(pads::RumbleOf(second).requests, row.secondRequests) << row.what;
    if (row.firstRequests > 0) {
      EXPECT_EQ(pads::RumbleOf(first).low, row.firstLow) << row.what;
    }
    TearDown();
  }
}

TEST_F(PadsWindow, FingersDriveTheirHalfAndTapsServe) {
  // One player: a finger anywhere drags the bottom paddle, keeping the offset it went down with, a paddle's width
  // per frame at most.
  pads::PushFinger(FingerAction::Down, 1, AcrossX(400), AcrossY(100));
  Frame();
  EXPECT_EQ(Paddle1X, 200);
  pads::PushFinger(FingerAction::Move, 1, AcrossX(300), AcrossY(120));
  Frame();
  EXPECT_EQ(Paddle1X, 124);
  Frame();
  EXPECT_EQ(Paddle1X, 100);
  pads::PushFinger(FingerAction::Up, 1, AcrossX(300), AcrossY(120));
  Frame();
  EXPECT_FALSE(Held(DIK_SPACE)) << "a drag is no tap";

  // A tap is Space for one frame, and moves no paddle.
  pads::PushFinger(FingerAction::Down, 2, AcrossX(500), AcrossY(400));
  pads::PushFinger(FingerAction::Up, 2, AcrossX(500), AcrossY(400));
  Frame();
  EXPECT_TRUE(Held(DIK_SPACE));
  EXPECT_EQ(Paddle1X, 100);
  Frame();
  EXPECT_FALSE(Held(DIK_SPACE));

  // Two players: the top half's finger is player 2's and pulls the top paddle by the arrows.
  PlayerCount = 2;
  PointerX = Paddle1X = Paddle2X = 200;
  pads::PushFinger(FingerAction::Down, 3, AcrossX(500), AcrossY(60));
  pads::PushFinger(FingerAction::Down, 4, AcrossX(100), AcrossY(440));
  Frame();
  EXPECT_EQ(Paddle2X, 200);
  EXPECT_EQ(Paddle1X, 200);
  pads::PushFinger(FingerAction::Move, 3, AcrossX(600), AcrossY(60));
  pads::PushFinger(FingerAction::Move, 4, AcrossX(0), AcrossY(440));
  Frame();
  EXPECT_EQ(Paddle2X, 215);
  EXPECT_EQ(Paddle1X, 124);
  pads::PushFinger(FingerAction::Move, 3, AcrossX(400), AcrossY(60));
  Frame();
  EXPECT_EQ(Paddle2X, 200);
  pads::PushFinger(FingerAction::Up, 3, AcrossX(400), AcrossY(60));
  pads::PushFinger(FingerAction::Up, 4, AcrossX(0), AcrossY(440));
  Frame();
}

TEST_F(PadsWindow, MenuTapPointsThereThenClicks) {
  PointerX = 100, PointerY = 50;
  pads::PushFinger(FingerAction::Down, 5, AcrossX(300), AcrossY(265));
  pads::PushFinger(FingerAction::Up, 5, AcrossX(300), AcrossY(265));
  MenuFrame();
  EXPECT_EQ(MouseState.lX, 200);
  EXPECT_EQ(MouseState.lY, 215);
  EXPECT_EQ(MouseState.rgbButtons[0], 0);
  PointerX += MouseState.lX, PointerY += MouseState.lY;
  MenuFrame();
  EXPECT_EQ(MouseState.rgbButtons[0], 0x80);
  EXPECT_EQ(MouseState.lX, 0);
  MenuFrame();
  EXPECT_EQ(MouseState.rgbButtons[0], 0);
}

// A pad match recorded the way --record records it (each frame's input sampled once, kept as script text) and
// played back from that text with no pad at all: the paddles go the same way, frame for frame, so a pad's match
// replays to the same trace.
TEST_F(PadsWindow, APadMatchRecordedPlaysBackTheSame) {
  PlayerCount = 2;
  const int32_t first = Plug();
  const int32_t second = Plug();
  struct Step {
    int16_t firstX, secondX;
    bool follow;  // player 1's right trigger: right Ctrl
  } steps[] = {{kFull, 0, false},     {kFull, -kFull, false}, {-kFull / 2, kFull, false},
               {kDrift, kFull, true}, {0, 0, true},           {-kFull, -kFull, false}};
  platform::SetFrameInputSource(platform::FrameInputSource::DevicesOncePerFrame);
  platform::BeginInputFrame();
  BeginRecording();
  std::vector<std::pair<int32_t, int32_t>> played;
  for (const Step& step : steps) {
    pads::SetAxis(first, PadAxis::LeftX, step.firstX);
    pads::SetAxis(second, PadAxis::LeftX, step.secondX);
    pads::SetAxis(first, PadAxis::RightTrigger, step.follow ? kFull : -32768);
    Frame();
    played.emplace_back(Paddle1X, Paddle2X);
    RecordShownFrame(platform::CurrentInputFrame(), 0);
    platform::BeginInputFrame();
  }
  Unplug(first);
  Unplug(second);
  ScriptParse recording = ParseReplayScript(RecordingText());
  ASSERT_TRUE(recording.ok) << RecordingText();

  PointerX = Paddle1X = Paddle2X = 200;
  platform::SetFrameInputSource(platform::FrameInputSource::Given);
  BeginPlaying(std::move(recording.script));
  for (const auto& [paddle1, paddle2] : played) {
    GiveNextPlayedFrame();
    Frame();
    EXPECT_EQ(Paddle1X, paddle1);
    EXPECT_EQ(Paddle2X, paddle2);
  }
  platform::SetFrameInputSource(platform::FrameInputSource::Devices);
  // The recording moved both paddles both ways: it is not a run of still frames.
  EXPECT_NE(played.front(), played.back());
}

}  // namespace
