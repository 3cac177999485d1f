// Whole frames on the headless backend: RunFrame of a two-player rally, one title-menu frame and an 8-frame rollback
// (wait free, no copy kept of the picture); the state save and restore; and the same play frames composed with
// SDL's own calls only (fill, RLE colour-keyed blits, SDL_ttf text rendered every frame).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/asset_catalogue.h"
#include "app/online/frame_state.h"
#include "app/online/rollback.h"
#include "app/run_frame.h"
#include "app/title_menu.h"
#include "audio/sound_effects.h"
#include "game/ball_rules.h"
#include "game/block.h"
#include "game/match_state.h"
#include "gfx/display.h"
#include "input/input_devices.h"
#include "input/key_codes.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/tool_support/reference_frame.h"
#include "platform/video.h"

namespace {

// A rally is replayed from its start every this many frames, so the match stays at the same stage however
// many frames the benchmark asks for (the ball speeds up with every level).
constexpr int32_t kRallyFrames = 200;
constexpr int32_t kBottomPaddleY = 445, kTopPaddleY = 30;
constexpr int32_t kLifeIconX[3] = {460, 478, 496};
constexpr uint32_t kHudColour = 0x00FF00;  // green, as 0x00BBGGRR

// What a play frame shows: the places of the moving pictures and the numbers of the HUD.
struct FrameLayout {
  int32_t ballX, ballY, paddle1X, paddle2X, blockX, blockY, lives1, lives2, score1, score2, level;
};

FrameLayout LayoutNow() {
  return {BallX, BallY, Paddle1X, Paddle2X, BlockX, BlockY, Lives1, Lives2, Score1, Score2, Level};
}

void HoldKeys(std::vector<uint8_t> keys) {
  platform::HeadlessInputFrame frame;
  frame.keysHeld = std::move(keys);
  platform::SetHeadlessInput(frame);
}

// The game on the headless backend in the run folder with every picture and sound loaded, and a two-player
// match just served: both players hold their follow keys (right Ctrl, left Shift), so the rally goes on.
struct PlayingGame {
  std::string failure;
  FrameState rallyStart{};
  std::vector<FrameLayout> rally;  // what each of the rally's frames showed

  PlayingGame() {
    platform::SelectBackend(platform::Backend::Headless);
    if (chdir(TAVO_RUN_DIR) != 0) {
      failure = "cannot enter the run folder " TAVO_RUN_DIR;
      return;
    }
    InitDisplay(640, 480, 16);
    InitInput();
    InitKeyboard();
    InitMouse();
    InitSound();
    if (!LoadBackgrounds() || !LoadSprites() || !LoadSoundEffects()) {
      failure = "the assets in " TAVO_RUN_DIR " did not load (build the generate_assets target)";
      return;
    }
    platform::KeepHeadlessFrames(false);
    StartRally();
    RecordRally();
  }

  void StartRally() {
    PlayerCount = 2;
    ResetMatch();
    BlockX = 15, BlockY = 200, BlockStep = -2;
    HoldKeys({DIK_SPACE});
    RunFrame();  // the serve
    HoldKeys({DIK_RCONTROL, DIK_LSHIFT});
    platform::TakeStartedBuffers();
    SaveFrameState(&rallyStart);
  }

  // Plays the rally once, noting each frame's layout, and checks that it stayed a two-player match in play.
  void RecordRally() {
    for (int32_t frame = 0; frame < kRallyFrames; ++frame) {
      RunFrame();
      rally.push_back(LayoutNow());
      const bool inPlay = Serve1Pending == 0 && Serve2Pending == 0 && Lives1 == 3 && Lives2 == 3 && PlayerCount == 2;
      if (!inPlay && failure.empty()) failure = "the rally did not stay in play at frame " + std::to_string(frame + 1);
    }
    platform::TakeStartedBuffers();
    RestoreFrameState(rallyStart);
  }
};

PlayingGame& Game() {
  static PlayingGame game;
  return game;
}

void BM_PlayFrame(benchmark::State& state) {
  PlayingGame& game = Game();
  if (!game.failure.empty()) {
    state.SkipWithError(game.failure.c_str());
    return;
  }
  RestoreFrameState(game.rallyStart);
  int32_t frame = 0;
  for (auto _ : state) {
    RunFrame();
    if (++frame == kRallyFrames) {
      state.PauseTiming();
      platform::TakeStartedBuffers();  // the headless sound output's record of started sounds
      RestoreFrameState(game.rallyStart);
      frame = 0;
      state.ResumeTiming();
    }
  }
  if (Serve1Pending != 0 || Serve2Pending != 0) state.SkipWithError("the match left play while timed");
}

// The SDL-only composition of one play frame, in the playfield's drawing order.
struct SdlScene {
  platform::reference_frame::Canvas* canvas = nullptr;
  platform::reference_frame::Picture *frame = nullptr, *ball = nullptr, *paddle1 = nullptr, *paddle2 = nullptr,
                                     *icon = nullptr, *block = nullptr;
  std::string failure;

  SdlScene() {
    namespace rf = platform::reference_frame;
    canvas = rf::CreateCanvas(640, 480);
    frame = rf::LoadKeyedPicture("Sprites/hud2.spr", &failure);
    ball = rf::LoadKeyedPicture("Sprites/ball2.spr", &failure);
    paddle1 = rf::LoadKeyedPicture("Sprites/paddle1.spr", &failure);
    paddle2 = rf::LoadKeyedPicture("Sprites/paddle2.spr", &failure);
    icon = rf::LoadKeyedPicture("Sprites/ball.spr", &failure);
    block = rf::LoadKeyedPicture("Sprites/block1.spr", &failure);
    if (canvas == nullptr) failure = "no canvas";
  }
  ~SdlScene() {
    namespace rf = platform::reference_frame;
    for (rf::Picture* picture : {frame, ball, paddle1, paddle2, icon, block}) rf::FreePicture(picture);
    rf::FreeCanvas(canvas);
  }

  bool Compose(const FrameLayout& at) {
    namespace rf = platform::reference_frame;
    bool drawn = rf::Fill(canvas, 0);
    drawn &= rf::Draw(frame, canvas, 0, 0);
    drawn &= rf::Draw(ball, canvas, at.ballX, at.ballY);
    drawn &= rf::Draw(paddle1, canvas, at.paddle1X, kBottomPaddleY);
    drawn &= rf::Draw(paddle2, canvas, at.paddle2X, kTopPaddleY);
    for (int32_t i = 0; i < 3; ++i) {
      if (at.lives1 > i) drawn &= rf::Draw(icon, canvas, kLifeIconX[i], 140);
      if (at.lives2 > i) drawn &= rf::Draw(icon, canvas, kLifeIconX[i], 160);
    }
    char line[80];
    std::snprintf(line, sizeof line, "%d", static_cast<int>(at.level));
    drawn &= rf::DrawText(line, kHudColour, canvas, 460, 220);
    std::snprintf(line, sizeof line, "Player 1: %d", static_cast<int>(at.score1));
    drawn &= rf::DrawText(line, kHudColour, canvas, 460, 60);
    std::snprintf(line, sizeof line, "Player 2: %d", static_cast<int>(at.score2));
    drawn &= rf::DrawText(line, kHudColour, canvas, 460, 80);
    drawn &= rf::Draw(block, canvas, at.blockX, at.blockY);
    return drawn;
  }
};

bool InHudText(int32_t x, int32_t y) { return x >= 460 && ((y >= 60 && y < 96) || (y >= 220 && y < 236)); }

// Pixels outside the HUD text that differ between the game's frame and the SDL composition of the same layout;
// the texts come from two different rasterisers and are left out.
int64_t PixelsUnlikeGame(PlayingGame& game, SdlScene& scene) {
  RestoreFrameState(game.rallyStart);
  RunFrame();
  const FrameLayout layout = LayoutNow();
  platform::TakeStartedBuffers();
  RestoreFrameState(game.rallyStart);
  scene.Compose(layout);
  // After the flip the shown picture is the primary's.
  int64_t unlike = 0;
  for (int32_t y = 0; y < 480; ++y) {
    const auto* row = reinterpret_cast<const uint16_t*>(PrimarySurface->pixels + y * PrimarySurface->pitch);
    for (int32_t x = 0; x < 640; ++x)
      if (!InHudText(x, y) && row[x] != platform::reference_frame::PixelAt(scene.canvas, x, y)) ++unlike;
  }
  return unlike;
}

void BM_SDL_TypicalFrame(benchmark::State& state) {
  PlayingGame& game = Game();
  SdlScene scene;
  if (!game.failure.empty() || !scene.failure.empty()) {
    state.SkipWithError((game.failure + scene.failure).c_str());
    return;
  }
  const double unlike = static_cast<double>(PixelsUnlikeGame(game, scene));
  std::size_t frame = 0;
  bool drawn = true;
  for (auto _ : state) {
    drawn &= scene.Compose(game.rally[frame]);
    if (++frame == game.rally.size()) frame = 0;
  }
  if (!drawn) state.SkipWithError("an SDL call failed");
  state.counters["pixels_unlike_game"] = unlike;
}

// The state of a frame saved and restored, as a rollback does for every frame it plays again.
void BM_SaveRestoreState(benchmark::State& state) {
  PlayingGame& game = Game();
  if (!game.failure.empty()) {
    state.SkipWithError(game.failure.c_str());
    return;
  }
  RestoreFrameState(game.rallyStart);
  FrameState saved;
  for (auto _ : state) {
    SaveFrameState(&saved);
    benchmark::DoNotOptimize(saved);
    RestoreFrameState(saved);
    benchmark::ClobberMemory();
  }
}

// The longest rollback: the state of 8 frames back restored and the 8 frames played again with their inputs,
// drawn into the back surface, neither presented nor heard.
void BM_Rollback8(benchmark::State& state) {
  PlayingGame& game = Game();
  if (!game.failure.empty()) {
    state.SkipWithError(game.failure.c_str());
    return;
  }
  RestoreFrameState(game.rallyStart);
  RollbackHistory history;
  platform::HeadlessInputFrame followKeys;
  followKeys.keysHeld = {DIK_RCONTROL, DIK_LSHIFT};
  for (int64_t frame = 1; frame <= kRollbackWindow; ++frame) {
    RememberFrame(&history, frame, followKeys);
    platform::SetHeadlessInput(followKeys);
    RunFrame();
  }
  platform::TakeStartedBuffers();
  const FrameReplay replay{[](int64_t, platform::InputFrame* input) { platform::SetHeadlessInput(*input); }, nullptr};
  for (auto _ : state) PlayFramesAgain(&history, 1, replay);
  if (Serve1Pending != 0 || Serve2Pending != 0) state.SkipWithError("the match left play while timed");
  platform::TakeStartedBuffers();
  RestoreFrameState(game.rallyStart);
}

// Ends one timed menu frame at each flip; when the benchmark has enough, Return is held with the pointer in
// the new-game band, so the next menu frame leaves the menu.
void CountMenuFlip(void* user) {
  auto* state = static_cast<benchmark::State*>(user);
  if (!state->KeepRunning()) HoldKeys({DIK_RETURN});
}

void BM_MenuFrame(benchmark::State& state) {
  PlayingGame& game = Game();
  if (!game.failure.empty()) {
    state.SkipWithError(game.failure.c_str());
    return;
  }
  HoldKeys({});
  PointerX = 300, PointerY = 100;
  platform::SetPresentHook(CountMenuFlip, &state);
  if (state.KeepRunning()) RunTitleMenu();
  platform::SetPresentHook(nullptr, nullptr);
  platform::TakeStartedBuffers();
  RestoreFrameState(game.rallyStart);
  HoldKeys({DIK_RCONTROL, DIK_LSHIFT});
}

}  // namespace

BENCHMARK(BM_PlayFrame);
BENCHMARK(BM_SDL_TypicalFrame);
BENCHMARK(BM_MenuFrame);
BENCHMARK(BM_SaveRestoreState);
BENCHMARK(BM_Rollback8);
