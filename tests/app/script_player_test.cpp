// The script cursor the replay tool and --play share: each entry's frames in order with its close requests before
// the first of them, one empty frame after the script, then the way out from wherever the game stands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/demos/script_player.h"
#include "app/title_menu_layout.h"
#include "input/key_codes.h"

namespace {

ScriptEntry Entry(int64_t count, int32_t dx, int32_t dy, bool button, std::vector<uint8_t> keys, int32_t closes = 0) {
  return ScriptEntry{count, dx, dy, button, std::move(keys), closes};
}

// One step: where the game stands when the frame is asked for, and what the cursor must give.
struct Step {
  bool inTitleMenu;
  int32_t pointerY;
  int32_t closes;
  int32_t dx, dy;
  bool button;
  std::vector<uint8_t> keys;
};

struct Case {
  std::string name;
  std::vector<ScriptEntry> entries;
  std::vector<Step> steps;
};

constexpr bool kMenu = true;
constexpr bool kPlay = false;

TEST(ScriptCursor, GivesTheScriptThenTheWayOut) {
  const std::vector<Case> cases = {
      {"entries in order, closes before an entry's first frame only",
       {Entry(2, 3, 0, false, {}, 1), Entry(1, 0, 0, true, {DIK_ESCAPE, DIK_SPACE}, 2), Entry(1, 0, -4, false, {})},
       {{kMenu, 0, 1, 3, 0, false, {}},
        {kPlay, 0, 0, 3, 0, false, {}},
        {kPlay, 0, 2, 0, 0, true, {DIK_ESCAPE, DIK_SPACE}},
        {kPlay, 0, 0, 0, -4, false, {}},
        {kPlay, 0, 0, 0, 0, false, {}}}},
      {"after the script: one empty frame, then play asks for one close only",
       {Entry(1, 5, 5, true, {DIK_LEFT})},
       {{kPlay, 0, 0, 5, 5, true, {DIK_LEFT}},
        {kPlay, 0, 0, 0, 0, false, {}},
        {kPlay, 0, 1, 0, 0, false, {}},
        {kPlay, 0, 0, 0, 0, false, {}}}},
      {"the menu is left by moving into the quit band, then Enter",
       {Entry(1, 0, 0, false, {DIK_A})},
       {{kMenu, 0, 0, 0, 0, false, {DIK_A}},
        {kMenu, 0, 0, 0, 0, false, {}},
        {kMenu, 0, 0, 0, 400, false, {}},
        {kMenu, kQuitBandTop - 1, 0, 0, 400 - (kQuitBandTop - 1), false, {}},
        {kMenu, kQuitBandTop, 0, 0, 0, false, {DIK_RETURN}}}},
      {"an empty script goes straight to the way out; a close asked for in play is not asked again in the menu",
       {},
       {{kPlay, 0, 0, 0, 0, false, {}},
        {kPlay, 0, 1, 0, 0, false, {}},
        {kMenu, 100, 0, 0, 300, false, {}},
        {kPlay, 0, 0, 0, 0, false, {}},
        {kMenu, 400, 0, 0, 0, false, {DIK_RETURN}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReplayScript script;
    script.entries = c.entries;
    ScriptCursor cursor;
    StartScript(&cursor, &script);
    const uint8_t* keyStorage = cursor.frame.keysHeld.data();
    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i + 1));
      const Step& want = c.steps[i];
      EXPECT_EQ(StepScript(&cursor, want.inTitleMenu, want.pointerY), want.closes);
      EXPECT_EQ(cursor.frame.dx, want.dx);
      EXPECT_EQ(cursor.frame.dy, want.dy);
      EXPECT_EQ(cursor.frame.primaryButton, want.button);
      EXPECT_EQ(cursor.frame.keysHeld, want.keys);
      EXPECT_EQ(cursor.frame.keysHeld.data(), keyStorage) << "the key list moved: stepping allocated";
    }
  }
}

TEST(ScriptCursor, StartingAgainBeginsAtTheFirstFrame) {
  ReplayScript script;
  script.entries = {Entry(1, 7, 0, false, {}, 1)};
  ScriptCursor cursor;
  StartScript(&cursor, &script);
  for (int step = 0; step < 4; ++step) StepScript(&cursor, false, 0);
  StartScript(&cursor, &script);
  EXPECT_EQ(StepScript(&cursor, false, 0), 1);
  EXPECT_EQ(cursor.frame.dx, 7);
}

}  // namespace
