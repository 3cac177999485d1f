// The shell in one process on the headless backend: start-up's progress lines, message boxes and joystick line,
// shut-down's releases, the window procedure, and RunFrame opening the title menu on Escape.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/asset_catalogue.h"
#include "app/main_window.h"
#include "app/run_frame.h"
#include "app/startup.h"
#include "audio/sound_effects.h"
#include "game/match_state.h"
#include "game/playfield.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "input/key_codes.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/video.h"
#include "platform/window.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/surface_probe.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kBluePixel565 = 0x001F;  // the joystick line's colour 0xFF0000 (0x00BBGGRR)

// A copy of the generated assets in a scratch folder, entered for the test and left afterwards.
class ShellRun : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform::ResetHeadlessInput();
    platform::ResetMessageQueue();
    original = fs::current_path();
    // One folder per process: CTest runs the cases of this fixture side by side.
    scratch = fs::path(::testing::TempDir()) / ("tavo_shell_run_" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    for (const char* folder : {"Backgrounds", "Sprites", "SoundFX", "Music"}) {
      ASSERT_TRUE(fs::exists(fs::path(TAVO_RUN_DIR) / folder)) << "assets not generated in " << TAVO_RUN_DIR;
      fs::copy(fs::path(TAVO_RUN_DIR) / folder, scratch / folder, fs::copy_options::recursive);
    }
    fs::current_path(scratch);
    PointerX = PointerY = 0;
    SoundInitPending = 1;  // as at program start: the first InitSound creates the sound device
  }
  void TearDown() override {
    fs::current_path(original);
    fs::remove_all(scratch);
    platform::ResetHeadlessInput();
    platform::ResetMessageQueue();
  }
  // The button held from the start: the menu's first frame takes the new-game entry without a flip.
  static void HoldButton(std::vector<uint8_t> keys = {}) {
    platform::HeadlessInputFrame frame;
    frame.primaryButton = true;
    frame.keysHeld = std::move(keys);
    platform::SetHeadlessInput(frame);
  }
  // Whether the text's tail after `head` shows green on the primary surface at y (drawn as a DONE line).
  static bool DoneDrawn(const char* head, int32_t y) {
    const int32_t left = 10 + MeasureTextWidth(head);
    const RectL tail{left, y, left + MeasureTextWidth("DONE"), y + TextLineHeight()};
    return CountPixels(PrimarySurface, tail, kGreenPixel565) > 0;
  }
  fs::path original, scratch;
};

TEST_F(ShellRun, StartupDrawsEveryDoneLineAndLeavesMenuWithNewMatch) {
  HoldButton();
  Score1 = 777;
  const uint32_t flipsBefore = platform::LastPresentedFrame().flipCount;
  EXPECT_EQ(InitGame(), 1);
  EXPECT_TRUE(platform::TakeShownMessageBoxes().empty());
  EXPECT_EQ(platform::LastPresentedFrame().flipCount, flipsBefore);             // left in the menu's first frame
  EXPECT_GT(CountPixels(PrimarySurface, {10, 0, 200, 16}, kGreenPixel565), 0);  // "DirectDrawInitialized"
  EXPECT_TRUE(DoneDrawn("Initializing DirectInput...", 25));
  EXPECT_TRUE(DoneDrawn("Initializing DirectSound...", 40));
  EXPECT_TRUE(DoneDrawn("Initializing DirectMusic...", 55));
  EXPECT_TRUE(DoneDrawn("Loading Backgrounds...", 70));
  EXPECT_TRUE(DoneDrawn("Loading Sprites...", 85));
  EXPECT_TRUE(DoneDrawn("Loading SoundFX...", 100));
  EXPECT_TRUE(DoneDrawn("Loading Music...", 115));
  EXPECT_GT(CountPixels(PrimarySurface, {250, 25, 450, 41}, kBluePixel565), 0);  // "NO JOYSTICK FOUND"
  EXPECT_FALSE(platform::IsCursorShown());
  EXPECT_EQ(BlockX, 15);
  EXPECT_EQ(BlockY, 200);
  EXPECT_EQ(Score1, 0);  // the new-game entry reset the match
  EXPECT_NE(Cursor1Surface, nullptr);
  EXPECT_NE(BounceSound, -1);
  EXPECT_NE(SongId, -1);

  EXPECT_EQ(ShutdownGame(), 1);
  for (Surface* picture : {Back6Surface, MenuSurface, GameOverSurface, Hud2Surface, LightingSurface, Ball2Surface,
                           BallSurface, Paddle1Surface, Paddle2Surface, Block1Surface, NewGameSurface, Player1Surface,
                           Player2Surface, QuitSurface, Cursor1Surface}) {
    EXPECT_EQ(picture, nullptr);
  }
  EXPECT_EQ(platform::LiveInputObjects(), 0);
}

TEST_F(ShellRun, MissingPaddlePictureStopsSpritesButNotStartup) {
  fs::remove(scratch / "Sprites" / "paddle1.spr");
  HoldButton();
  InitGame();
  const auto boxes = platform::TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, "ERROR");
  EXPECT_EQ(boxes[0].second, "Graphics Loading Failed");
  EXPECT_FALSE(DoneDrawn("Loading Sprites...", 85));
  EXPECT_TRUE(DoneDrawn("Loading SoundFX...", 100));  // start-up went on
  EXPECT_NE(BallSurface, nullptr);                    // loaded before paddle1
  EXPECT_EQ(Paddle1Surface, nullptr);
  EXPECT_EQ(Cursor1Surface, nullptr);  // after paddle1: never tried
  ShutdownGame();
  EXPECT_EQ(BallSurface, nullptr);
}

TEST_F(ShellRun, MissingSongShowsItsOwnMessageAndStillDrawsDone) {
  fs::remove(scratch / "Music" / "song10.mid");
  HoldButton();
  InitGame();
  const auto boxes = platform::TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].second, "Error Loading Music!");
  EXPECT_EQ(SongId, -1);
  EXPECT_TRUE(DoneDrawn("Loading Music...", 115));
  ShutdownGame();
}

TEST_F(ShellRun, EveryFailingStepShowsItsOwnBoxInStartupOrderAndStartupGoesOn) {
  platform::SetHeadlessSoundDeviceAvailable(false);  // no sound device: sound, music, effects and song all fail
  fs::remove(scratch / "Backgrounds" / "gameover.spr");
  fs::remove(scratch / "Sprites" / "cursor1.spr");
  HoldButton();
  EXPECT_EQ(InitGame(), 1);
  platform::SetHeadlessSoundDeviceAvailable(true);
  const std::vector<std::pair<std::string, std::string>> expected = {{"ERROR", "DirectSound Initialization Failed"},
                                                                     {"ERROR", "DirectMusic Initialization Failed"},
                                                                     {"ERROR", "Backgrounds Loading Failed"},
                                                                     {"ERROR", "Graphics Loading Failed"},
                                                                     {"ERROR", "Sound Loading Failed"},
                                                                     {"ERROR", "Error Loading Music!"}};
  EXPECT_EQ(platform::TakeShownMessageBoxes(), expected);
  EXPECT_TRUE(DoneDrawn("Initializing DirectInput...", 25));
  EXPECT_FALSE(DoneDrawn("Initializing DirectSound...", 40));
  EXPECT_FALSE(DoneDrawn("Initializing DirectMusic...", 55));
  EXPECT_FALSE(DoneDrawn("Loading Backgrounds...", 70));
  EXPECT_FALSE(DoneDrawn("Loading Sprites...", 85));
  EXPECT_FALSE(DoneDrawn("Loading SoundFX...", 100));
  EXPECT_TRUE(DoneDrawn("Loading Music...", 115));  // drawn whatever the song did
  EXPECT_NE(MenuSurface, nullptr);                  // loaded before the missing game-over picture
  EXPECT_NE(QuitSurface, nullptr);                  // loaded before the missing pointer
  EXPECT_EQ(BounceSound, -1);
  EXPECT_EQ(SongId, -1);
  EXPECT_EQ(BlockX, 15);  // start-up went on to its end
  ShutdownGame();
}

TEST_F(ShellRun, LongJoystickNameIsCutToFitTextBuffer) {
  platform::HeadlessJoystick stick;
  stick.guid.data1 = 42;
  stick.productName = std::string(200, 'J');
  platform::SetHeadlessJoysticks({stick});
  HoldButton();
  InitGame();
  EXPECT_EQ(std::strlen(TextBuffer), kTextBufferSize - 1);
  EXPECT_EQ(std::string(TextBuffer).rfind("Joystick Vendor Name:    JJJ", 0), 0u);
  EXPECT_GT(CountPixels(PrimarySurface, {250, 25, 640, 41}, kBluePixel565), 0);
  ShutdownGame();
}

TEST_F(ShellRun, EscapeOpensMenuFirstAndSameFramePlaysTheNewMatch) {
  HoldButton();
  InitGame();
  Score1 = 900;
  Serve1Pending = 0;
  BallX = 300;
  BallY = 300;
  PointerY = 100;
  HoldButton({DIK_ESCAPE});
  const uint32_t flipsBefore = platform::LastPresentedFrame().flipCount;
  EXPECT_EQ(RunFrame(), 1);
  EXPECT_EQ(platform::LastPresentedFrame().flipCount, flipsBefore + 1);  // the menu left without flipping
  EXPECT_EQ(Score1, 0);
  EXPECT_EQ(Serve1Pending, 1);
  EXPECT_EQ(BallX, 230);  // the fresh match's ball, moved and put back at the serve point in this frame
  EXPECT_EQ(BallY, 245);
  ShutdownGame();
}

TEST(WindowProcedure, CloseAndDestroyBecomeQuitMessage) {
  testsupport::UseHeadlessBackend();
  for (uint32_t request : {platform::WM_CLOSE, platform::WM_DESTROY}) {
    platform::ResetMessageQueue();
    EXPECT_EQ(MainWindowProc(nullptr, request, 0, 0), 0);
    platform::Message message{};
    ASSERT_TRUE(platform::PeekMessage(&message));
    EXPECT_EQ(message.message, platform::WM_QUIT);
    EXPECT_EQ(message.wParam, 0u);
  }
  platform::ResetMessageQueue();
  for (uint32_t quiet : {platform::WM_CREATE, platform::WM_PAINT, platform::WM_KEYDOWN}) {
    EXPECT_EQ(MainWindowProc(nullptr, quiet, 0, 0), 0);
  }
  platform::Message message{};
  EXPECT_FALSE(platform::PeekMessage(&message));
}

}  // namespace
