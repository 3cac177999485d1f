// The stick's curve: a dead zone, then pointer motion rising to the paddle's width, in integers, symmetric.
// The same table holds on every system the game is built for.
#include <gtest/gtest.h>

#include "platform/pads.h"

TEST(StickMotion, DeadZoneThenCurveUpToTheStep) {
  struct Case {
    int32_t axis, maxStep, motion;
  };
  const Case cases[] = {
      {0, 76, 0},        {8000, 76, 0},   {-8000, 76, 0},     // drift inside the dead zone moves nothing
      {8001, 76, 1},     {-8001, 76, -1},                     // just past it: one pixel
      {16000, 76, 13},   {20383, 76, 24}, {24000, 76, 37},    // fine near the centre, faster further out
      {-28000, 76, -53}, {32767, 76, 76}, {-32768, 76, -76},  // full deflection: the whole step, both ways
      {32767, 1, 1},     {32767, 0, 0},                       // the step bounds it
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::StickMotion(c.axis, c.maxStep), c.motion) << c.axis << " step " << c.maxStep;
}
