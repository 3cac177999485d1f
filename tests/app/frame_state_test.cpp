// The frame-state record: what restore writes is what save reads, the fingerprint is the same number on every
// system, and a difference names its fields.
#include <gtest/gtest.h>

#include <cstring>

#include "app/online/frame_state.h"
#include "game/ball_rules.h"
#include "game/match_state.h"

namespace {

// A state unlike the program's start in every field.
FrameState DistinctState() {
  FrameState state{};
  for (int32_t i = 0; i < kFrameStateVariableCount; ++i) state.variables[i] = 1000 + 7 * i;
  state.randomState = 0xDEADBEEF;
  for (int32_t key = 0; key < 256; ++key) state.keyboardState[key] = static_cast<uint8_t>(key % 3 == 0 ? 0x80 : 0);
  state.mouseState = {5, -6, 120, {0x80, 0, 0x80, 0}};
  return state;
}

TEST(FrameState, RestoreThenSaveGivesTheSameRecordAndTheNamedVariables) {
  const FrameState wanted = DistinctState();
  RestoreFrameState(wanted);
  FrameState read{};
  SaveFrameState(&read);
  EXPECT_EQ(std::memcmp(&wanted, &read, sizeof wanted), 0);
  // Each name leads to its own variable.
  const struct {
    const char* name;
    const int32_t* variable;
  } samples[] = {{"BallX", &BallX}, {"Lives2", &Lives2}, {"PointerX", &PointerX}, {"BlockY", &BlockY}};
  for (const auto& sample : samples) {
    int32_t index = 0;
    while (index < kFrameStateVariableCount && std::strcmp(FrameStateVariableName(index), sample.name) != 0) ++index;
    ASSERT_LT(index, kFrameStateVariableCount) << sample.name;
    EXPECT_EQ(*sample.variable, wanted.variables[index]) << sample.name;
  }
  EXPECT_EQ(RandomState, 0xDEADBEEFu);
}

TEST(FrameState, HashIsTheSameOnEverySystemAndSeesEveryPart) {
  const FrameState state = DistinctState();
  // The same number on every system the game is built for: two machines compare it during a match.
  EXPECT_EQ(FrameStateHash(state), 0x543A58E137257FB7ull);
  FrameState changed = state;
  changed.keyboardState[255] ^= 0x80;
  EXPECT_NE(FrameStateHash(changed), FrameStateHash(state));
  changed = state;
  changed.mouseState.rgbButtons[3] = 0x80;
  EXPECT_NE(FrameStateHash(changed), FrameStateHash(state));
}

TEST(FrameState, DifferenceNamesTheFieldsUpToTheLimit) {
  const FrameState first = DistinctState();
  EXPECT_EQ(DifferingFrameStateFields(first, first, 8), "");
  FrameState second = first;
  second.variables[0] += 1;
  second.randomState = 7;
  second.mouseState.lX = 9;
  EXPECT_EQ(DifferingFrameStateFields(first, second, 8), "BallX=1000/1001 RandomState=3735928559/7 MouseState.lX=5/9");
  EXPECT_EQ(DifferingFrameStateFields(first, second, 1), "BallX=1000/1001");
}

}  // namespace
