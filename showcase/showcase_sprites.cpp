// Scene 1, sprite objects: a sheet of cells drawn by the program and saved as a BMP file, read back with the
// library's BMP reader, cut into the frames of two sprite objects and their clones, which animate with
// sequences, wrap or bounce, one drawn scaled, with every collision outlined.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "gfx/display.h"
#include "gfx/extras/bmp_file.h"
#include "gfx/extras/bob.h"
#include "gfx/extras/lines.h"
#include "showcase/bmp_writer.h"
#include "showcase/showcase.h"

namespace showcase {

namespace {

constexpr int32_t kCell = 32;
constexpr int32_t kColumns = 8;
// The sheet's width is rounded up to a multiple of four, so its rows need no padding in the file.
constexpr int32_t kSheetW = (kColumns * (kCell + 1) + 1 + 3) / 4 * 4;
constexpr int32_t kSheetH = 2 * (kCell + 1) + 1;
constexpr int32_t kSpriteCount = 8;

BmpFileData Sheet{};
Bob Orb{}, Coin{};
Bob Clones[kSpriteCount - 2]{};
Bob* Sprites[kSpriteCount] = {};
bool Ready = false;
bool Started = false;

// A shaded sphere lit from a direction that turns with the frame: a spinning planet.
void DrawOrbCell(std::vector<uint8_t>& sheet, int32_t left, int32_t top, int32_t frame) {
  double turn = frame * 2.0 * 3.14159265358979 / kColumns;
  for (int32_t y = 0; y < kCell; ++y)
    for (int32_t x = 0; x < kCell; ++x) {
      double nx = (x - 15.5) / 14.0, ny = (y - 15.5) / 14.0;
      double r2 = nx * nx + ny * ny;
      if (r2 > 1.0) continue;
      double nz = std::sqrt(1.0 - r2);
      // Bands of latitude that slide round as the sphere spins, lit from the top-left.
      double longitude = std::atan2(nx, nz) + turn;
      double band = 0.5 + 0.5 * std::sin(longitude * 3.0) * std::cos(ny * 2.5);
      double light = std::max(0.0, -0.5 * nx - 0.6 * ny + 0.62 * nz);
      int32_t shade = static_cast<int32_t>(2 + 9 * light + 4 * band);
      int32_t colour = kCyanRamp + std::min(15, shade);
      if ((nx + 0.35) * (nx + 0.35) + (ny + 0.4) * (ny + 0.4) < 0.03) colour = kWhite;  // specular dot
      sheet[static_cast<size_t>(top + y) * kSheetW + left + x] = static_cast<uint8_t>(colour);
    }
}

// A gold coin turning about its vertical axis: an ellipse whose width follows the cosine of the turn.
void DrawCoinCell(std::vector<uint8_t>& sheet, int32_t left, int32_t top, int32_t frame) {
  double squeeze = std::max(0.12, std::fabs(std::cos(frame * 3.14159265358979 / kColumns)));
  for (int32_t y = 0; y < kCell; ++y)
    for (int32_t x = 0; x < kCell; ++x) {
      double nx = (x - 15.5) / (14.0 * squeeze), ny = (y - 15.5) / 14.0;
      double r2 = nx * nx + ny * ny;
      if (r2 > 1.0) continue;
      int32_t shade = r2 > 0.7 ? 6 : static_cast<int32_t>(9 + 6 * (0.5 - 0.5 * (nx * 0.6 + ny)));
      if (r2 < 0.25 && std::fabs(nx) < 0.2) shade = 15;  // the stamped bar in the middle
      sheet[static_cast<size_t>(top + y) * kSheetW + left + x] =
          static_cast<uint8_t>(kAmberRamp + std::clamp(shade, 0, 15));
    }
}

std::string MakeSheetFile() {
  std::vector<uint8_t> sheet(static_cast<size_t>(kSheetW) * kSheetH, kDarkGrey);  // the one-pixel lines
  for (int32_t row = 0; row < 2; ++row)
    for (int32_t col = 0; col < kColumns; ++col) {
      int32_t left = col * (kCell + 1) + 1, top = row * (kCell + 1) + 1;
      for (int32_t y = 0; y < kCell; ++y)
        for (int32_t x = 0; x < kCell; ++x) sheet[static_cast<size_t>(top + y) * kSheetW + left + x] = kBlack;
      if (row == 0) DrawOrbCell(sheet, left, top, col);
      else DrawCoinCell(sheet, left, top, col);
    }
  PaletteEntry palette[256];
  for (int32_t i = 0; i < 256; ++i) palette[i] = ShowcaseColour(i);
  // One file per process: showcase runs started side by side must not read each other's half-written sheet.
  std::string name = "tavo_showcase_sheet_" + std::to_string(getpid()) + ".bmp";
  std::string path = (std::filesystem::temp_directory_path() / name).string();
  WriteBitmap8(path, sheet.data(), kSheetW, kSheetW, kSheetH, palette);
  return path;
}

// Creates a sprite with eight frames from one row of the sheet, black see-through, and two sequences.
bool MakeSprite(Bob* bob, int32_t sheetRow, uint32_t motion) {
  const uint32_t attr = BobAttrVisible | BobAttrSequences | motion;
  if (!CreateBob(bob, 0, 0, kCell, kCell, kColumns, attr, kSurfaceCapsSystemMemory)) return false;
  for (int32_t f = 0; f < kColumns; ++f) {
    if (!LoadBobFrame(bob, &Sheet, f, f, sheetRow, 0)) return false;
    SetColorKey(bob->frames[f], kBlack, kBlack);
  }
  const int32_t spin[] = {0, 1, 2, 3, 4, 5, 6, 7};
  const int32_t rock[] = {0, 1, 2, 3, 4, 5, 6, 7, 6, 5, 4, 3, 2, 1};
  LoadBobAnimation(bob, 0, 8, spin);
  LoadBobAnimation(bob, 1, 14, rock);
  SetBobAnimation(bob, 0);
  SetBobAnimationSpeed(bob, 3);
  return true;
}

void PlaceSprites() {
  const int32_t start[kSpriteCount][4] = {{40, 80, 3, 1},    {500, 300, 0, 0},   {200, 90, 4, 2},   {420, 150, -3, 3},
                                          {100, 330, 5, -2}, {560, 380, -4, -3}, {300, 250, -2, 4}, {360, 90, 2, -1}};
  for (int32_t i = 0; i < kSpriteCount; ++i) {
    SetBobPosition(Sprites[i], start[i][0], start[i][1]);
    SetBobVelocity(Sprites[i], start[i][2], start[i][3]);
    SetBobAnimation(Sprites[i], i % 3 == 2 ? 1 : 0);
    SetBobAnimationSpeed(Sprites[i], 2 + i % 3);
  }
}

}  // namespace

void StartSpriteScene() {
  Started = true;
  const std::string sheetPath = MakeSheetFile();
  const bool sheetRead = ReadBmpFile(&Sheet, sheetPath.c_str()) == 1;
  std::error_code ignored;
  std::filesystem::remove(sheetPath, ignored);
  Ready = sheetRead && MakeSprite(&Orb, 0, BobAttrWrap) && MakeSprite(&Coin, 1, BobAttrBounce);
  if (!Ready) return;
  // Orbs wrap round the screen, coins bounce; the clones share the frames of the first two.
  Sprites[0] = &Orb;
  Sprites[1] = &Coin;
  for (int32_t i = 2; i < kSpriteCount; ++i) {
    CloneBob(i % 2 == 0 ? &Orb : &Coin, &Clones[i - 2]);
    Sprites[i] = &Clones[i - 2];
  }
  PlaceSprites();
}

void EndSpriteScene() {
  if (!Started) return;
  Started = false;
  for (Bob& clone : Clones) DestroyBob(&clone);
  DestroyBob(&Coin);
  DestroyBob(&Orb);
  FreeBmpFile(&Sheet);
  Ready = false;
}

void DrawSpriteScene(Surface* back, int32_t frame) {
  {
    BackLock lock(back);
    DrawBackground(lock.canvas(), frame);
    DrawTitle(lock.canvas(), "SPRITE OBJECTS", 18);
    if (Ready) {
      // The sheet itself, as read from the file, in the lower left corner.
      const Canvas& c = lock.canvas();
      for (int32_t y = 0; y < kSheetH; ++y)
        for (int32_t x = 0; x < kSheetW; ++x)
          c.pixels[static_cast<size_t>(kScreenH - kSheetH - 12 + y) * c.pitch + 12 + x] =
              Sheet.pixels[static_cast<size_t>(y) * Sheet.infoHeader.biWidth + x];
    }
  }
  if (!Ready) {
    DrawCaptionCentred(back, "the sprite sheet could not be made", kScreenW / 2, 240, kRed);
    return;
  }
  // The big one: sprite 1 drawn scaled, growing and shrinking, at a fixed place.
  int32_t size = 56 + static_cast<int32_t>(36 * std::sin(frame * 0.08));
  Bob* big = Sprites[1];
  int32_t keepX = big->x, keepY = big->y;
  SetBobPosition(big, 540 - size / 2, 80 - size / 2 + 40);
  DrawBobScaled(big, size, size, back);
  SetBobPosition(big, keepX, keepY);

  for (int32_t i = 0; i < kSpriteCount; ++i) {
    AnimateBob(Sprites[i]);
    MoveBob(Sprites[i]);
    DrawBob(Sprites[i], back);
  }
  int32_t hits = 0;
  {
    BackLock lock(back);
    for (int32_t i = 0; i < kSpriteCount; ++i)
      for (int32_t j = i + 1; j < kSpriteCount; ++j) {
        if (!BobsCollide(Sprites[i], Sprites[j])) continue;
        ++hits;
        for (Bob* b : {Sprites[i], Sprites[j]})
          DrawFrameRect(lock.canvas(), b->x - 2, b->y - 2, b->x + kCell + 1, b->y + kCell + 1, kHighlight);
      }
  }
  DrawCaption(back, "sheet.bmp: 16 cells of 32 x 32", 12, kScreenH - kSheetH - 34, kLightGrey);
  DrawCaption(back, "orbs wrap, coins bounce, clones share frames", 300, kScreenH - 54, kLightGrey);
  DrawCaption(back, hits > 0 ? "collision!" : "no collision", 300, kScreenH - 32, hits > 0 ? kHighlight : kDarkGrey);
  DrawCaptionCentred(back, "scaled", 540, 150, kLightGrey);
}

}  // namespace showcase
