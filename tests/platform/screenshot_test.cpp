// Screenshots: the PNG file decoded back equals the presented picture (16-bit and through a palette), the name
// never replaces an earlier shot, a folder that cannot be made loses nothing, and the pictures folder choice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "platform/headless/headless.h"
#include "platform/screenshot.h"
#include "platform/video.h"
#include "tests/support/environment.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;

// A home folder of the test's own, with no XDG folders set, so shots go to HOME/.local/share/... .
class ScreenshotFile : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform::ResetHeadlessPresentation();
    home =
        testfiles::ScratchPath("home_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(home);
    fs::create_directories(home);
    testenv::Set("HOME", home.c_str());
    testenv::Unset("XDG_CONFIG_HOME");
    testenv::Unset("XDG_DATA_HOME");
  }
  std::string home;
};

// Decodes the PNG file as 8-bit RGB; empty when it is not one of the expected size.
std::vector<uint8_t> DecodeRgb(const std::string& path) {
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
  std::vector<uint8_t> rgb;
  if (pixels != nullptr && width == kWidth && height == kHeight) rgb.assign(pixels, pixels + kWidth * kHeight * 3);
  stbi_image_free(pixels);
  return rgb;
}

TEST_F(ScreenshotFile, SixteenBitPictureDecodesBackEqual) {
  // Every pixel a different 565 value (the row and column mixed in), so a shifted or swapped channel shows.
  std::vector<uint16_t> picture(kWidth * kHeight);
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) picture[y * kWidth + x] = static_cast<uint16_t>(x * 97 + y * 331);
  ASSERT_TRUE(platform::PresentFrame(picture.data(), kWidth * 2, kWidth, kHeight, 16, nullptr));
  const std::string path = platform::SaveScreenshot();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(fs::path(path).parent_path(), fs::path(home + "/.local/share/tavo2000/screenshots"));
  const std::vector<uint8_t> rgb = DecodeRgb(path);
  ASSERT_EQ(rgb.size(), size_t(kWidth * kHeight * 3));
  for (int32_t i = 0; i < kWidth * kHeight; ++i) {
    const uint32_t p = picture[i], r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    // Full-scale channels: 5 and 6 bits widened by repeating their top bits, so 31 -> 255 and 0 -> 0.
    const uint8_t want[3] = {uint8_t(r << 3 | r >> 2), uint8_t(g << 2 | g >> 4), uint8_t(b << 3 | b >> 2)};
    ASSERT_TRUE(rgb[i * 3] == want[0] && rgb[i * 3 + 1] == want[1] && rgb[i * 3 + 2] == want[2]) << "pixel " << i;
  }
  // A second shot in the same second takes the next free name instead of replacing the first.
  const std::string second = platform::SaveScreenshot();
  ASSERT_FALSE(second.empty());
  EXPECT_NE(second, path);
  EXPECT_EQ(DecodeRgb(second), rgb);
}

TEST_F(ScreenshotFile, EightBitPictureGoesThroughItsPalette) {
  std::vector<uint8_t> picture(kWidth * kHeight);
  for (int32_t i = 0; i < kWidth * kHeight; ++i) picture[i] = static_cast<uint8_t>(i * 7 + i / kWidth);
  std::vector<uint8_t> palette(1024);
  for (int32_t entry = 0; entry < 256; ++entry) {
    palette[entry * 4] = static_cast<uint8_t>(entry);
    palette[entry * 4 + 1] = static_cast<uint8_t>(255 - entry);
    palette[entry * 4 + 2] = static_cast<uint8_t>(entry * 3);
  }
  ASSERT_TRUE(platform::PresentFrame(picture.data(), kWidth, kWidth, kHeight, 8, palette.data()));
  fs::create_directories(home + "/Pictures");  // an existing ~/Pictures comes before the data folder
  const std::string path = platform::SaveScreenshot();
  EXPECT_EQ(fs::path(path).parent_path(), fs::path(home + "/Pictures"));
  const std::vector<uint8_t> rgb = DecodeRgb(path);
  ASSERT_EQ(rgb.size(), size_t(kWidth * kHeight * 3));
  for (int32_t i = 0; i < kWidth * kHeight; ++i) {
    const uint8_t* entry = &palette[picture[i] * 4];
    ASSERT_TRUE(rgb[i * 3] == entry[0] && rgb[i * 3 + 1] == entry[1] && rgb[i * 3 + 2] == entry[2]) << "pixel " << i;
  }
}

TEST_F(ScreenshotFile, FolderThatCannotBeMadeSavesNothingAndSaysWhy) {
  std::vector<uint16_t> picture(kWidth * kHeight, 0xFFFF);
  ASSERT_TRUE(platform::PresentFrame(picture.data(), kWidth * 2, kWidth, kHeight, 16, nullptr));
  std::FILE* blocker = std::fopen((home + "/.local").c_str(), "w");  // a file where the folder would go
  ASSERT_NE(blocker, nullptr);
  std::fclose(blocker);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(platform::SaveScreenshot(), "");
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("SCREENSHOT: not saved", 0), 0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST(PicturesFolder, ChoiceFollowsUserDirsThenPicturesThenDataFolder) {
  struct Case {
    const char* userDirs;
    bool picturesExists;
    const char* dataHome;
    const char* want;
  };
  const Case cases[] = {
      {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", true, "", "/h/Bilder"},
      {"# comment\nXDG_MUSIC_DIR=\"$HOME/M\"\n  XDG_PICTURES_DIR=\"/srv/shots/\"\n", false, "", "/srv/shots"},
      {"XDG_PICTURES_DIR=\"$HOME/A\"\nXDG_PICTURES_DIR=\"$HOME/B\"\n", false, "", "/h/B"},  // the last line counts
      {"XDG_PICTURES_DIR=\"$HOME/\"\n", true, "", "/h/Pictures"},  // home itself turns the entry off
      {"XDG_PICTURES_DIR=\"relative/x\"\n", false, "", "/h/.local/share/tavo2000/screenshots"},
      {"XDG_PICTURES_DIR=\"$HOMEX/y\"\n", false, "/d", "/d/tavo2000/screenshots"},
      {"XDG_PICTURES_DIR=$HOME/unquoted\n", false, "relative", "/h/.local/share/tavo2000/screenshots"},
      {"", true, "/d", "/h/Pictures"},
  };
  for (const Case& c : cases) {
    platform::PicturesFolderFacts facts{"/h", "", c.dataHome, c.userDirs, c.picturesExists, {}, {}};
    EXPECT_EQ(platform::ChoosePicturesFolder(facts), c.want) << c.userDirs;
  }
  EXPECT_EQ(platform::UserDirsFile({"/h", "", "", "", false, {}, {}}), "/h/.config/user-dirs.dirs");
  EXPECT_EQ(platform::UserDirsFile({"/h", "/c", "", "", false, {}, {}}), "/c/user-dirs.dirs");
  // Windows: the system's Pictures folder alone decides; the freedesktop facts are not looked at.
  platform::PicturesFolderFacts windows{
      "/h", "", "/d", "XDG_PICTURES_DIR=\"/srv\"\n", true, platform::FolderRules::Windows, "C:\\Users\\Ann\\Pictures"};
  EXPECT_EQ(platform::ChoosePicturesFolder(windows), "C:\\Users\\Ann\\Pictures\\Tavo 2000");
  windows.systemPictures.clear();
  EXPECT_EQ(platform::ChoosePicturesFolder(windows), "");
}

TEST(PicturesFolder, FileNameCarriesTheLocalTimeAndANumberAfterTheFirst) {
  std::tm time{};
  time.tm_year = 2026 - 1900, time.tm_mon = 11, time.tm_mday = 7, time.tm_hour = 9, time.tm_min = 5, time.tm_sec = 3;
  EXPECT_EQ(platform::ScreenshotFileName(time, 1), "tavo2000-20261207-090503.png");
  EXPECT_EQ(platform::ScreenshotFileName(time, 2), "tavo2000-20261207-090503-2.png");
}

}  // namespace
