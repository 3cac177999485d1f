// The scancode-to-key-code table: every key the game reads lands on its key code, and no key lands on another's.
// Scancodes are the USB keyboard usage numbers (letters 4 to 29, Return 40, Escape 41, Space 44 ...).
#include <gtest/gtest.h>

#include <map>

#include "input/key_codes.h"
#include "platform/sdl/key_codes_sdl.h"

namespace {

constexpr int32_t kUsageA = 4;
constexpr int32_t kUsageReturn = 40;
constexpr int32_t kUsageEscape = 41;
constexpr int32_t kUsageSpace = 44;
constexpr int32_t kUsageRightArrow = 79;
constexpr int32_t kUsageLeftArrow = 80;
constexpr int32_t kUsageKeypadEnter = 88;
constexpr int32_t kUsageLeftCtrl = 224;
constexpr int32_t kUsageLeftShift = 225;
constexpr int32_t kUsageRightCtrl = 228;
constexpr int32_t kUsageRightShift = 229;

TEST(KeyCodeTable, KeysTheGameReadsMapToTheirCodes) {
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageEscape), DIK_ESCAPE);
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageSpace), DIK_SPACE);
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageReturn), DIK_RETURN);
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageLeftArrow), DIK_LEFT);
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageRightArrow), DIK_RIGHT);
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageRightCtrl), DIK_RCONTROL);
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageLeftShift), DIK_LSHIFT);
}

TEST(KeyCodeTable, LeftAndRightModifiersAndBothEntersStayApart) {
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageLeftCtrl), DIK_LCONTROL);
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageRightShift), DIK_RSHIFT);
  EXPECT_EQ(platform::KeyCodeForScancode(kUsageKeypadEnter), DIK_NUMPADENTER);
  EXPECT_NE(DIK_LCONTROL, DIK_RCONTROL);
  EXPECT_NE(DIK_NUMPADENTER, DIK_RETURN);
}

TEST(KeyCodeTable, EveryLetterMapsToItsCode) {
  const uint8_t letters[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                               DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                               DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z};
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(platform::KeyCodeForScancode(kUsageA + i), letters[i]) << "letter " << char('A' + i);
  }
}

TEST(KeyCodeTable, NoTwoKeysShareACodeExceptTrueAliases) {
  // The ISO keyboard's hash key sits where the backslash key is, and there are two mute usages.
  std::map<uint8_t, int> scancodesPerCode;
  for (int32_t scancode = 0; scancode < 512; ++scancode) {
    uint8_t code = platform::KeyCodeForScancode(scancode);
    if (code != 0) ++scancodesPerCode[code];
  }
  for (const auto& [code, count] : scancodesPerCode) {
    int expected = (code == DIK_BACKSLASH || code == 0xA0) ? 2 : 1;
    EXPECT_EQ(count, expected) << "key code " << int(code);
  }
  EXPECT_GE(scancodesPerCode.size(), 100u);
}

TEST(KeyCodeTable, UnknownAndOutOfRangeScancodesHaveNoCode) {
  EXPECT_EQ(platform::KeyCodeForScancode(0), 0);
  EXPECT_EQ(platform::KeyCodeForScancode(-1), 0);
  EXPECT_EQ(platform::KeyCodeForScancode(100000), 0);
}

}  // namespace
