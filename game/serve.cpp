// The serve step of a frame: the ball held at the serve point, "Press Space Bar", and the way back to the menu.
// The keyboard is read once; after the menu returns, the rest of the step sees the keys as the menu last read them.
#include "game/serve.h"

#include "game/match_state.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "input/input_devices.h"
#include "input/key_codes.h"

bool (*TitleMenuEntry)() = nullptr;

namespace {

constexpr int32_t kServePointX = 230;
constexpr int32_t kServePointY = 245;
constexpr uint32_t kPromptColour = 0x00FF00;  // green, as 0x00BBGGRR

// One player's held serve: `lives` and `pending` are that player's variables.
void ServeForPlayer(const int32_t& lives, int32_t& pending) {
  BallX = kServePointX;
  BallY = kServePointY;
  // KEEP: the keys are not read after the menu: a held Space serves at once (PlayerSteps.NewMatch...).
  if (KeyboardState[DIK_SPACE] != 0 && lives == 0 && TitleMenuEntry != nullptr) TitleMenuEntry();
  // KEEP: the prompt is drawn first and the frame covers it where not black (every serve frame's hash).
  DrawTextGdi("Press Space Bar", 180, 200, kPromptColour, BackSurface);
  if (KeyboardState[DIK_SPACE] != 0) pending = 0;
}

}  // namespace

bool UpdateServe() {
  ReadKeyboard();
  if (Serve1Pending == 1) ServeForPlayer(Lives1, Serve1Pending);
  if (Serve2Pending == 1) ServeForPlayer(Lives2, Serve2Pending);
  return true;
}
