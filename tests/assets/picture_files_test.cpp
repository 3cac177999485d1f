// Checks of the generated pictures: their sizes, black exactly where the game needs to see through them,
// never a near-black opaque pixel (it would vanish under the colour key), and the calm places the game draws on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/assets/generated_files.h"
#include "tools/asset_generator/asset_files.h"

namespace asset_checks {
namespace {

struct Rect {
  int32_t x0, y0, x1, y1;  // half-open
};

bool AllBlack(const Picture& p, Rect r) {
  for (int32_t y = r.y0; y < r.y1; ++y)
    for (int32_t x = r.x0; x < r.x1; ++x)
      if (!p.IsBlack(x, y)) return false;
  return true;
}

int32_t CountKeyBlack(const Picture& p, Rect r) {
  int32_t count = 0;
  for (int32_t y = r.y0; y < r.y1; ++y)
    for (int32_t x = r.x0; x < r.x1; ++x) count += IsKeyBlack(p.At(x, y)) ? 1 : 0;
  return count;
}

float MeanLuminance(const Picture& p, Rect r) {
  double sum = 0;
  for (int32_t y = r.y0; y < r.y1; ++y)
    for (int32_t x = r.x0; x < r.x1; ++x) sum += LuminanceAt(p, x, y);
  return float(sum / double((r.x1 - r.x0) * (r.y1 - r.y0)));
}

float BrightestLuminance(const Picture& p, Rect r) {
  float brightest = 0;
  for (int32_t y = r.y0; y < r.y1; ++y)
    for (int32_t x = r.x0; x < r.x1; ++x) brightest = std::max(brightest, LuminanceAt(p, x, y));
  return brightest;
}

const std::vector<std::pair<std::string, std::pair<int32_t, int32_t>>> kPictureSizes = {
    {"Backgrounds/back6.spr", {425, 450}},
    {"Backgrounds/menu.spr", {640, 480}},
    {"Backgrounds/gameover.spr", {640, 480}},
    {"Sprites/hud2.spr", {640, 480}},
    {"Sprites/ball2.spr", {8, 8}},
    {"Sprites/ball.spr", {16, 16}},
    {"Sprites/paddle1.spr", {76, 8}},
    {"Sprites/paddle2.spr", {76, 8}},
    {"Sprites/block1.spr", {32, 16}},
    {"Sprites/newgame.spr", {196, 24}},
    {"Sprites/player1.spr", {196, 24}},
    {"Sprites/player2.spr", {196, 24}},
    {"Sprites/quit.spr", {196, 24}},
    {"Sprites/cursor1.spr", {22, 22}}};

TEST(GeneratedFiles, EveryFileTheGameLoadsIsWritten) {
  const std::vector<std::string> expected = {
      "Backgrounds/back6.spr", "Backgrounds/menu.spr", "Backgrounds/gameover.spr", "Sprites/hud2.spr",
      "Sprites/lighting.spr",  "Sprites/ball2.spr",    "Sprites/ball.spr",         "Sprites/paddle1.spr",
      "Sprites/paddle2.spr",   "Sprites/block1.spr",   "Sprites/newgame.spr",      "Sprites/player1.spr",
      "Sprites/player2.spr",   "Sprites/quit.spr",     "Sprites/cursor1.spr",      "SoundFX/bounce3.wav",
      "SoundFX/score.wav",     "Music/song10.mid"};
  std::vector<std::string> listed = assets::GeneratedFilePaths();
  std::vector<std::string> sortedExpected = expected;
  std::sort(listed.begin(), listed.end());
  std::sort(sortedExpected.begin(), sortedExpected.end());
  EXPECT_EQ(listed, sortedExpected);
  // The whole set, written in one call as the build does.
  const std::string folder = GeneratedFolder() + "_all";
  std::string error;
  ASSERT_TRUE(assets::GenerateAssets(folder, &error)) << error;
  for (const std::string& path : expected)
    EXPECT_GT(std::filesystem::file_size(std::filesystem::path(folder) / path), 0u) << path;
  std::filesystem::remove_all(folder);
  EXPECT_FALSE(assets::GenerateAsset(folder, "Sprites/nothing.spr", &error)) << "unknown names are refused";
}

TEST(Pictures, HaveTheSizesTheGameDrawsThem) {
  for (const auto& [path, size] : kPictureSizes) {
    const Picture p = ReadPicture(path);
    EXPECT_EQ(p.width, size.first) << path;
    EXPECT_EQ(p.height, size.second) << path;
  }
  EXPECT_GT(ReadPicture("Sprites/lighting.spr").width, 0);
}

TEST(Pictures, EveryPixelIsPureBlackOrVisiblyOpaque) {
  for (const auto& [path, size] : kPictureSizes) {
    const Picture p = ReadPicture(path);
    int32_t nearBlack = 0;
    for (int32_t y = 0; y < p.height; ++y)
      for (int32_t x = 0; x < p.width; ++x) nearBlack += (!p.IsBlack(x, y) && IsKeyBlack(p.At(x, y))) ? 1 : 0;
    EXPECT_EQ(nearBlack, 0) << path << " has opaque pixels that the colour key would swallow";
  }
}

TEST(FramePicture, PlayfieldOpeningIsBlackAndRimmedByOpaqueSteel) {
  const Picture hud = ReadPicture("Sprites/hud2.spr");
  ASSERT_EQ(hud.width, 640);
  EXPECT_TRUE(AllBlack(hud, {15, 15, 440, 465}));
  // The rows and columns just outside the opening, and the whole border, are opaque.
  EXPECT_EQ(CountKeyBlack(hud, {0, 0, 640, 15}), 0);
  EXPECT_EQ(CountKeyBlack(hud, {0, 465, 640, 480}), 0);
  EXPECT_EQ(CountKeyBlack(hud, {0, 15, 15, 465}), 0);
  EXPECT_EQ(CountKeyBlack(hud, {440, 15, 450, 465}), 0);
}

TEST(FramePicture, IsBlackWhereTheGameWritesTheHud) {
  const Picture hud = ReadPicture("Sprites/hud2.spr");
  ASSERT_EQ(hud.width, 640);
  EXPECT_TRUE(AllBlack(hud, {460, 60, 630, 77})) << "player 1 score";
  EXPECT_TRUE(AllBlack(hud, {460, 80, 630, 97})) << "player 2 score";
  EXPECT_TRUE(AllBlack(hud, {460, 220, 630, 237})) << "level";
  EXPECT_TRUE(AllBlack(hud, {460, 140, 512, 156})) << "player 1 lives";
  EXPECT_TRUE(AllBlack(hud, {460, 160, 512, 176})) << "player 2 lives";
  // Apart from those wells the panel is decorated steel: black covers well under a third of it.
  const int32_t panelArea = 190 * 480;
  EXPECT_LT(CountKeyBlack(hud, {450, 0, 640, 480}), panelArea / 3);
  EXPECT_EQ(CountKeyBlack(hud, {450, 260, 640, 480}), 0) << "the lower panel has no holes";
}

TEST(MenuPicture, IsOpaqueWithCalmDarkPlacesForEntriesMarkerAndCredits) {
  const Picture menu = ReadPicture("Backgrounds/menu.spr");
  ASSERT_EQ(menu.width, 640);
  EXPECT_EQ(CountKeyBlack(menu, {0, 0, 640, 480}), 0);
  for (const Rect entry : {Rect{270, 220, 466, 244}, Rect{270, 260, 466, 284}, Rect{270, 345, 466, 369}})
    EXPECT_LT(MeanLuminance(menu, entry), 45.0f) << "entry at y " << entry.y0;
  for (const int32_t row : {220, 265, 350}) EXPECT_LT(MeanLuminance(menu, {245, row, 261, row + 16}), 45.0f);
  EXPECT_LT(MeanLuminance(menu, {460, 360, 630, 416}), 35.0f) << "credits";
  // The credits lines as the game draws them cover x 460 to 630 and y 363 to 415; they and a few pixels round
  // them lie on an even dark floor, with no rim, rule or grid line crossing them.
  EXPECT_LT(BrightestLuminance(menu, {454, 357, 637, 422}), 30.0f) << "around the credits";
  // The title above them is bright: chrome highlights reach near white.
  EXPECT_GT(BrightestLuminance(menu, {0, 0, 640, 200}), 220.0f);
}

TEST(MenuEntries, AreLetteringOnBlackAndThePlayerEntriesLineUp) {
  auto leftmostInk = [](const Picture& p) {
    for (int32_t x = 0; x < p.width; ++x)
      for (int32_t y = 0; y < p.height; ++y)
        if (!p.IsBlack(x, y)) return x;
    return -1;
  };
  for (const char* path : {"Sprites/newgame.spr", "Sprites/player1.spr", "Sprites/player2.spr", "Sprites/quit.spr"}) {
    const Picture p = ReadPicture(path);
    ASSERT_EQ(p.width, 196) << path;
    EXPECT_TRUE(AllBlack(p, {0, 0, 196, 1})) << path << " top row";
    EXPECT_TRUE(AllBlack(p, {0, 0, 2, 24})) << path << " left edge";
    EXPECT_TRUE(AllBlack(p, {194, 0, 196, 24})) << path << " right edge";
    int32_t bright = 0;
    for (int32_t y = 0; y < 24; ++y)
      for (int32_t x = 0; x < 196; ++x) bright += LuminanceAt(p, x, y) > 150.0f ? 1 : 0;
    EXPECT_GT(bright, 60) << path << " has little bright lettering";
  }
  EXPECT_EQ(leftmostInk(ReadPicture("Sprites/player1.spr")), leftmostInk(ReadPicture("Sprites/player2.spr")));
}

TEST(GameOverPicture, IsBlackOutsideThePlayfieldAndRedInItsMiddle) {
  const Picture over = ReadPicture("Backgrounds/gameover.spr");
  ASSERT_EQ(over.width, 640);
  EXPECT_TRUE(AllBlack(over, {0, 0, 640, 15}));
  EXPECT_TRUE(AllBlack(over, {0, 465, 640, 480}));
  EXPECT_TRUE(AllBlack(over, {0, 0, 15, 480}));
  EXPECT_TRUE(AllBlack(over, {440, 0, 640, 480})) << "the HUD stays readable";
  EXPECT_TRUE(AllBlack(over, {15, 15, 440, 150})) << "the upper playfield shows through";
  int32_t red = 0, opaque = 0;
  for (int32_t y = 150; y < 330; ++y) {
    for (int32_t x = 15; x < 440; ++x) {
      if (over.IsBlack(x, y)) continue;
      ++opaque;
      red += over.At(x, y)[0] > over.At(x, y)[2] && over.At(x, y)[0] > over.At(x, y)[1] ? 1 : 0;
    }
  }
  EXPECT_GT(opaque, 4000);
  EXPECT_GT(red, opaque * 8 / 10);
}

TEST(HiddenBackground, FillsThePlayfieldDarkEnoughForTheBall) {
  const Picture back = ReadPicture("Backgrounds/back6.spr");
  ASSERT_EQ(back.width, 425);
  EXPECT_EQ(CountKeyBlack(back, {0, 0, 425, 450}), 0);
  float brightest = 0;
  for (int32_t y = 0; y < back.height; ++y)
    for (int32_t x = 0; x < back.width; ++x) brightest = std::max(brightest, LuminanceAt(back, x, y));
  const Picture ball = ReadPicture("Sprites/ball2.spr");
  EXPECT_LT(brightest + 80.0f, LuminanceAt(ball, 3, 3));
  EXPECT_LT(MeanLuminance(back, {0, 0, 425, 450}), 70.0f);
}

TEST(Sprites, AreRoundShapesOnBlack) {
  for (const char* path : {"Sprites/ball2.spr", "Sprites/ball.spr"}) {
    const Picture p = ReadPicture(path);
    ASSERT_GT(p.width, 0);
    const int32_t last = p.width - 1;
    EXPECT_TRUE(p.IsBlack(0, 0) && p.IsBlack(last, 0) && p.IsBlack(0, last) && p.IsBlack(last, last)) << path;
    EXPECT_EQ(CountKeyBlack(p, {p.width / 4, p.height / 4, p.width * 3 / 4, p.height * 3 / 4}), 0) << path;
  }
  for (const char* path : {"Sprites/paddle1.spr", "Sprites/paddle2.spr"}) {
    const Picture p = ReadPicture(path);
    ASSERT_EQ(p.width, 76);
    EXPECT_TRUE(p.IsBlack(0, 0) && p.IsBlack(75, 0) && p.IsBlack(0, 7) && p.IsBlack(75, 7)) << path << " rounded ends";
    EXPECT_EQ(CountKeyBlack(p, {1, 3, 75, 5}), 0) << path << " solid along its length";
    EXPECT_EQ(CountKeyBlack(p, {4, 1, 72, 7}), 0) << path;
  }
  const Picture block = ReadPicture("Sprites/block1.spr");
  EXPECT_EQ(CountKeyBlack(block, {2, 1, 30, 15}), 0);
}

TEST(Sprites, PaddlesAreCyanForPlayerOneAndAmberForPlayerTwo) {
  const Picture bottom = ReadPicture("Sprites/paddle1.spr"), top = ReadPicture("Sprites/paddle2.spr");
  ASSERT_EQ(bottom.width, 76);
  ASSERT_EQ(top.width, 76);
  const uint8_t* cyan = bottom.At(38, 5);
  const uint8_t* amber = top.At(38, 5);
  EXPECT_GT(cyan[2], cyan[0] + 60);
  EXPECT_GT(amber[0], amber[2] + 60);
}

TEST(Sprites, PointerIsAnArrowWithItsTipAtTheTopLeft) {
  const Picture arrow = ReadPicture("Sprites/cursor1.spr");
  ASSERT_EQ(arrow.width, 22);
  EXPECT_FALSE(arrow.IsBlack(1, 1)) << "the tip sits at the pointer's position";
  EXPECT_FALSE(arrow.IsBlack(2, 12)) << "the left edge runs down";
  EXPECT_TRUE(arrow.IsBlack(20, 2)) << "nothing in the top-right corner";
  EXPECT_TRUE(arrow.IsBlack(1, 21)) << "nothing in the bottom-left corner";
  EXPECT_TRUE(arrow.IsBlack(21, 21));
}

}  // namespace
}  // namespace asset_checks
