// The moving block: its motion rule and its drawing.
// BlockX and BlockY belong to the match state; the direction of motion is kept here in BlockStep.
#include "game/block.h"

#include "app/asset_catalogue.h"  // the one header of app/ below game/: the asset library, tavo_assets
#include "game/match_state.h"
#include "gfx/blit.h"
#include "gfx/display.h"

int32_t BlockStep = -2;

namespace {

constexpr int32_t kBlockLeftTurn = 15;    // BlockX at or below this turns the block rightwards
constexpr int32_t kBlockRightTurn = 320;  // BlockX at or above this turns the block leftwards
constexpr int32_t kBlockWidth = 32;
constexpr int32_t kBlockHeight = 16;

}  // namespace

bool UpdateBlock() {
  // KEEP: at a turn the block moves two steps: the traces' block= field and the BlockMotion tests.
  // Motion rule: the block moves BlockStep (2 pixels) each frame and keeps its direction between frames in
  // BlockStep. In a frame that starts with BlockX at 15 or less, or 320 or more, the step's sign is reversed
  // and the block moves one extra step in the new direction before the regular one, so it turns there.
  // Starting from BlockX 15 with BlockStep -2 it goes 19, 21, ... 319, 321, then 317, 315, ... 17, 15, 19 ...
  // and always stays within x 15 to 353 (321 + 32), left of the playfield's right edge at 440.
  if (BlockX <= kBlockLeftTurn || BlockX >= kBlockRightTurn) {
    BlockStep = -BlockStep;
    BlockX += BlockStep;
  }
  BlockX += BlockStep;
  BlitSurface(Block1Surface, BackSurface, BlockX, BlockY, kBlockWidth, kBlockHeight);
  return true;
}
