// Replay scripts written and read back: what the recorder writes, the replay tool and --play read unchanged.
// The malformed-line cases of the tool are in tests/whole_program/malformed; here only the line numbers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/demos/replay_script.h"
#include "input/key_codes.h"
#include "tests/support/temp_folder.h"

namespace {

ScriptEntry Entry(int64_t count, int32_t dx, int32_t dy, bool button, std::vector<uint8_t> keys, int32_t closes = 0) {
  return ScriptEntry{count, dx, dy, button, std::move(keys), closes};
}

TEST(ReplayScriptText, WrittenScriptReadsBackEqual) {
  ReplayScript script;
  script.entries = {
      Entry(1, 0, 0, false, {}),
      Entry(100000000, -2147483647 - 1, 2147483647, true, {DIK_ESCAPE, DIK_SPACE, DIK_RETURN, DIK_LEFT}),
      Entry(3, 7, 0, false, {DIK_RIGHT, DIK_RCONTROL, DIK_LSHIFT, DIK_A, DIK_T, DIK_V, DIK_Z}, 2),
      Entry(2, 0, -5, true, {}, 1),
  };
  const std::string text = WriteReplayScript(script);
  const ScriptParse parsed = ParseReplayScript(text);
  ASSERT_TRUE(parsed.ok) << parsed.error.line << ": " << parsed.error.reason << "\n" << text;
  EXPECT_EQ(parsed.script, script) << text;
  EXPECT_EQ(parsed.script.TotalFrames(), 100000006);
}

TEST(ReplayScriptText, CanonicalTextWritesBackUnchanged) {
  const std::string text =
      "5\n"
      "1 dx=-3 dy=4 btn keys=ESC,LEFT,T\n"
      "close\n"
      "close\n"
      "2 keys=SPACE\n";
  const ScriptParse parsed = ParseReplayScript("# a comment\n\n" + text);
  ASSERT_TRUE(parsed.ok) << parsed.error.reason;
  EXPECT_EQ(WriteReplayScript(parsed.script), text);
  // The chord is a shorthand: it reads as its three letters and is written as them.
  EXPECT_EQ(WriteReplayScript(ParseReplayScript("4 keys=CHORD\n").script), "4 keys=A,T,V\n");
}

TEST(ReplayScriptText, ErrorsNameTheirLine) {
  struct Case {
    const char* text;
    int32_t line;
  };
  for (const Case& c : {Case{"1\n2 dx=x\n", 2}, Case{"1\r\n\r\n0\r\n", 3}, Case{"close\n# no frame after\n", 1},
                        Case{"1 keys=A,\n", 1}, Case{"1\n1 btn btn\n", 2}}) {
    const ScriptParse parsed = ParseReplayScript(c.text);
    EXPECT_FALSE(parsed.ok) << c.text;
    EXPECT_EQ(parsed.error.line, c.line) << c.text;
  }
  EXPECT_EQ(DescribeScriptError("demo.replay", ScriptError{7, "why"}), "demo.replay:7: malformed line: why");
}

TEST(ReplayScriptFile, OversizedFileIsRefusedByName) {
  const std::string path = testfiles::ScratchPath("oversized.replay");
  std::ofstream(path, std::ios::binary) << "3 btn\n";
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(LoadReplayScript(path, &script, &error)) << error;
  EXPECT_EQ(script.TotalFrames(), 3);
  // One byte past the limit, made by extending the file (sparse where the file system allows, so nothing is
  // written); it is refused without being parsed.
  std::filesystem::resize_file(path, kMaxScriptBytes + 1);
  EXPECT_FALSE(LoadReplayScript(path, &script, &error));
  EXPECT_EQ(error, "the script " + path + " is larger than " + std::to_string(kMaxScriptBytes) + " bytes");
  std::filesystem::remove(path);
}

}  // namespace
