// The lettering's size rule: sizes tried from the line height down, the first whose line fits taken, the smallest
// taken whatever its line, and nothing when the font does not open.
#include <gtest/gtest.h>

#include <vector>

#include "platform/internal/text_size.h"

namespace {

// A font whose line at each size is that size plus `extra` pixels, refusing to open at `failsAt`.
struct FakeFont {
  int32_t extra = 0;
  int32_t failsAt = 0;
  std::vector<int32_t> tried;
};

int32_t OpenFake(int32_t size, void* user) {
  auto* font = static_cast<FakeFont*>(user);
  font->tried.push_back(size);
  return size == font->failsAt ? -1 : size + font->extra;
}

TEST(TextSize, LargestFittingSizeElseTheSmallestElseNone) {
  struct Case {
    const char* rule;
    int32_t lineHeight, extra, failsAt;
    int32_t chosen;
    std::vector<int32_t> tried;
  };
  const Case cases[] = {
      {"a line as tall as asked fits", 16, 0, 0, 16, {16}},
      {"sizes go down until one fits", 16, 3, 0, 13, {16, 15, 14, 13}},
      {"the smallest size is taken though too tall", 8, 3, 0, 6, {8, 7, 6}},
      {"the smallest size fitting is taken as well", 7, 1, 0, 6, {7, 6}},
      {"a font that stops opening gives none", 16, 3, 14, 0, {16, 15, 14}},
      {"below the smallest size nothing is tried", 5, 0, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    FakeFont font{c.extra, c.failsAt, {}};
    EXPECT_EQ(platform::ChooseTextPointSize(c.lineHeight, OpenFake, &font), c.chosen);
    // The size chosen is the one opened last, so the caller keeps that font.
    EXPECT_EQ(font.tried, c.tried);
  }
}

}  // namespace
