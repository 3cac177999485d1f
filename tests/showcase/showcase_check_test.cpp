// Runs the showcase headless through one whole cycle of its scenes and checks the frames it writes:
// every scene shows its subject, and every screen effect changes the palette or the pixels as it should.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "gfx/extras/bmp_file.h"
#include "showcase/showcase.h"

namespace {

namespace fs = std::filesystem;

// One dumped frame: its 640 x 480 palette indices and its palette.
struct Dump {
  std::vector<uint8_t> pixels;
  PaletteEntry palette[256];
};

class ShowcaseRun : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Each test process runs the program into a folder of its own (CTest may run the cases side by side).
    folder_ = fs::temp_directory_path() / ("tavo_showcase_check_" + std::to_string(getpid()));
    fs::remove_all(folder_);
    std::string command =
        std::string("\"") + SHOWCASE_PROGRAM + "\" --headless --frames 825 --dump \"" + folder_.string() + "\"";
    exitCode_ = std::system(command.c_str());
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  static Dump Load(const std::string& name) {
    Dump dump{};
    BmpFileData bitmap{};
    std::string path = (folder_ / (name + ".bmp")).string();
    EXPECT_EQ(ReadBmpFile(&bitmap, path.c_str()), 1) << path;
    if (bitmap.pixels == nullptr) return dump;
    // Copied out first: the header is packed, and the checks take their arguments by reference.
    int32_t width = bitmap.infoHeader.biWidth, height = bitmap.infoHeader.biHeight;
    int32_t bits = bitmap.infoHeader.biBitCount;
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(bits, 8);
    dump.pixels.assign(bitmap.pixels, bitmap.pixels + 640 * 480);
    std::copy(bitmap.palette, bitmap.palette + 256, dump.palette);
    FreeBmpFile(&bitmap);
    return dump;
  }

  // Pixels whose index lies in first..first + count - 1.
  static int32_t CountRange(const Dump& d, int32_t first, int32_t count) {
    int32_t n = 0;
    for (uint8_t v : d.pixels) n += v >= first && v < first + count;
    return n;
  }
  static int32_t Distinct(const Dump& d) {
    std::map<uint8_t, int> seen;
    for (uint8_t v : d.pixels) seen[v]++;
    return static_cast<int32_t>(seen.size());
  }

  static fs::path folder_;
  static int exitCode_;
};

fs::path ShowcaseRun::folder_;
int ShowcaseRun::exitCode_ = -1;

constexpr int32_t kScreen = 640 * 480;

TEST_F(ShowcaseRun, RunsThroughAndShowsEveryScene) {
  ASSERT_EQ(exitCode_, 0);
  using namespace showcase;
  Dump sprites = Load("scene_sprites");
  EXPECT_GT(CountRange(sprites, kCyanRamp, 16), 2000);   // the orbs and their row of the sheet
  EXPECT_GT(CountRange(sprites, kAmberRamp, 16), 2000);  // the coins, one of them scaled up
  EXPECT_GT(Distinct(sprites), 40);

  Dump polygons = Load("scene_polygons");
  EXPECT_GT(CountRange(polygons, kRainbowRamp, 64), 5000);  // the filled pentagon
  EXPECT_GT(CountRange(polygons, kGreenRamp, 16), 5000);    // the pulsing hexagons
  EXPECT_GT(CountRange(polygons, kAmber, 1), 500);          // bounding boxes

  // Triangles fill a good part of both halves and are cut at the left and right screen edges.
  Dump triangles = Load("scene_triangles");
  int32_t left = 0, right = 0, leftEdge = 0, rightEdge = 0;
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x) {
      uint8_t v = triangles.pixels[y * 640 + x];
      if (v < kRainbowRamp || v >= kRainbowRamp + 64) continue;
      (x < 320 ? left : right) += 1;
      leftEdge += x == 0;
      rightEdge += x == 639;
    }
  EXPECT_GT(left, kScreen / 10);
  EXPECT_GT(right, kScreen / 10);
  EXPECT_GT(leftEdge, 50);
  EXPECT_GT(rightEdge, 50);
}

TEST_F(ShowcaseRun, PaletteSceneTurnsItsBandWithoutRedrawingIt) {
  ASSERT_EQ(exitCode_, 0);
  using namespace showcase;
  Dump a = Load("scene_palette"), b = Load("scene_palette_next");
  EXPECT_GT(CountRange(a, kRotatingBand, kBandSize), kScreen / 5);
  // The rings are not redrawn differently: the same pixels hold the same band entries (only stars move).
  int32_t bandPixelsMoved = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    bool inBandA = a.pixels[i] >= kRotatingBand && a.pixels[i] < kRotatingBand + kBandSize;
    bool inBandB = b.pixels[i] >= kRotatingBand && b.pixels[i] < kRotatingBand + kBandSize;
    bandPixelsMoved += (inBandA || inBandB) && a.pixels[i] != b.pixels[i];
  }
  EXPECT_EQ(bandPixelsMoved, 0);
  // One frame later every band colour has moved up one entry, the last wrapping to the first.
  for (int32_t i = 0; i < kBandSize; ++i) {
    const PaletteEntry& was = a.palette[kRotatingBand + i];
    const PaletteEntry& now = b.palette[kRotatingBand + (i + 1) % kBandSize];
    EXPECT_EQ(was.red, now.red) << i;
    EXPECT_EQ(was.green, now.green) << i;
    EXPECT_EQ(was.blue, now.blue) << i;
  }
  EXPECT_GT(CountRange(a, kLightsFirst, kLightCount), 2000);  // the lights are on screen
}

TEST_F(ShowcaseRun, EveryEffectChangesThePaletteOrThePixels) {
  ASSERT_EQ(exitCode_, 0);
  const char* names[9] = {"fade_to_black", "fade_to_white", "vertical_wipe", "horizontal_wipe", "dissolve",
                          "cross_wipe",    "fade_to_blue",  "fade_to_red",   "fade_to_green"};
  for (int32_t effect = 0; effect < 9; ++effect) {
    std::string name = "effect_" + std::to_string(effect) + "_" + names[effect];
    Dump before = Load(name + "_before"), after = Load(name);
    ASSERT_GT(kScreen - std::count(before.pixels.begin(), before.pixels.end(), 0), kScreen / 2) << name;
    int32_t black = static_cast<int32_t>(std::count(after.pixels.begin(), after.pixels.end(), 0));
    switch (effect) {
      case 2:
      case 3:
      case 5:
        EXPECT_EQ(black, kScreen) << name;
        break;
      case 4:
        // 4 x W x H random dots leave about one pixel in fifty.
        EXPECT_GT(black, kScreen * 95 / 100) << name;
        EXPECT_LT(black, kScreen) << name;
        break;
      default: {
        // Palette fades leave the pixels alone and bring every colour to the effect's end.
        EXPECT_EQ(after.pixels, before.pixels) << name;
        PaletteEntry goal = effect == 1   ? PaletteEntry{255, 255, 255, 0}
                            : effect == 6 ? PaletteEntry{0, 0, 255, 0}
                            : effect == 7 ? PaletteEntry{255, 0, 0, 0}
                                          : PaletteEntry{0, 255, 0, 0};
        for (int32_t i = 1; i < 256; ++i) {
          const PaletteEntry& e = after.palette[i];
          if (effect == 0) {
            ASSERT_TRUE(e.red <= 15 && e.green <= 15 && e.blue <= 15) << name << " entry " << i;
          } else {
            ASSERT_TRUE(e.red == goal.red && e.green == goal.green && e.blue == goal.blue) << name << " entry " << i;
          }
        }
      }
    }
  }
}

}  // namespace
