// Scene 5, screen transitions: a bright picture naming the next effect, which then plays on the visible
// screen; the palette is put back afterwards.
#include <cmath>
#include <string>

#include "gfx/extras/fast_math.h"
#include "gfx/extras/screen_effects.h"
#include "gfx/extras/triangle_fill.h"
#include "showcase/showcase.h"

namespace showcase {

const char* EffectName(int32_t effect) {
  static const char* const names[9] = {"fade to black", "fade to white", "vertical wipe", "horizontal wipe", "dissolve",
                                       "cross wipe",    "fade to blue",  "fade to red",   "fade to green"};
  return effect >= 0 && effect < 9 ? names[effect] : "none";
}

void DrawEffectPicture(Surface* back, int32_t effect, int32_t frame) {
  {
    BackLock lock(back);
    const Canvas& c = lock.canvas();
    DrawBackground(c, frame);
    // A sunburst of rainbow triangles round the middle, turning slowly, and a ring of colour ramps.
    for (int32_t k = 0; k < 24; ++k) {
      int32_t a = ReduceDegrees(k * 15 + frame);
      int32_t b = ReduceDegrees(k * 15 + 8 + frame);
      FillTriangleFixed(320, 260, 320 + static_cast<int32_t>(260 * CosTable[a]),
                        260 + static_cast<int32_t>(260 * SinTable[a]), 320 + static_cast<int32_t>(260 * CosTable[b]),
                        260 + static_cast<int32_t>(260 * SinTable[b]), kRainbowRamp + (k * 8 + effect * 5) % 64,
                        c.pixels, c.pitch);
    }
    for (int32_t i = 0; i < 4; ++i)
      FillCircle(c, 320, 260, 110 - i * 22, (i % 2 == 0 ? kAmberRamp : kCyanRamp) + 15 - i * 3);
    DrawTitle(c, "TRANSITIONS", 18);
  }
  std::string label = "effect " + std::to_string(effect) + ": " + EffectName(effect);
  DrawCaptionCentred(back, label, 320, 250, kBlack);
}

}  // namespace showcase
