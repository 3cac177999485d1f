// Palette access, the palette text file and the blink table, on the headless 8-bit display.
// Every case starts with the blink table emptied, so lights of one case never reach another.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <unistd.h>

#include "gfx/display.h"
#include "gfx/extras/blink_table.h"
#include "gfx/extras/palette_file.h"
#include "gfx/extras/palette_ops.h"
#include "tests/support/headless_fixture.h"

namespace {

bool SameEntry(const PaletteEntry& a, const PaletteEntry& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.flags == b.flags;
}

class PaletteOnDisplay : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ASSERT_EQ(InitDisplay(640, 480, 8), 1);
    // Every light of an earlier test goes, so each test starts with a free table.
    for (int32_t id = 0; id < 256; ++id) BlinkCommand(kBlinkDelete, nullptr, id);
  }
  void TearDown() override { ShutdownDisplay(); }

  static std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("tavo_palette_") + std::to_string(getpid()) + "_" + name))
        .string();
  }
  static void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  // Read as text: the palette file has the system's own line ends (CR LF on Windows).
  static std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static const PaletteEntry& Device(int32_t index) { return DisplayPalette->entries[index]; }
};

TEST_F(PaletteOnDisplay, SlotsWriteBothCopiesAndReadTheTable) {
  PaletteEntry colour{10, 20, 30, 4};
  EXPECT_EQ(WritePaletteSlot(5, &colour), 1);
  EXPECT_TRUE(SameEntry(PaletteTable[5], colour));
  EXPECT_TRUE(SameEntry(Device(5), colour));
  // Reading takes the in-memory table, not the device palette.
  DisplayPalette->entries[5] = PaletteEntry{1, 1, 1, 1};
  PaletteEntry read{};
  EXPECT_EQ(ReadPaletteSlot(5, &read), 1);
  EXPECT_TRUE(SameEntry(read, colour));
  // Indices outside the palette touch nothing.
  EXPECT_EQ(WritePaletteSlot(256, &colour), 0);
  EXPECT_EQ(WritePaletteSlot(-1, &colour), 0);
  EXPECT_EQ(ReadPaletteSlot(300, &read), 0);
}

TEST_F(PaletteOnDisplay, WholePaletteGoesToTableAndDevice) {
  PaletteEntry colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
  EXPECT_EQ(WriteFullPalette(colours), 1);
  PaletteEntry back[256];
  EXPECT_EQ(ReadFullPalette(back), 1);
  for (int i = 0; i < 256; ++i) {
    ASSERT_TRUE(SameEntry(back[i], colours[i])) << i;
    ASSERT_TRUE(SameEntry(Device(i), colours[i])) << i;
  }
}

TEST_F(PaletteOnDisplay, RotationMovesColoursUpAndWrapsTheLast) {
  PaletteEntry p{1, 2, 3, 0}, q{4, 5, 6, 0}, r{7, 8, 9, 0};
  WritePaletteSlot(10, &p);
  WritePaletteSlot(11, &q);
  WritePaletteSlot(12, &r);
  PaletteEntry before9 = PaletteTable[9], before13 = PaletteTable[13];
  EXPECT_EQ(RotatePaletteRange(10, 12), 1);
  EXPECT_TRUE(SameEntry(Device(10), r));
  EXPECT_TRUE(SameEntry(Device(11), p));
  EXPECT_TRUE(SameEntry(Device(12), q));
  EXPECT_TRUE(SameEntry(PaletteTable[10], r));
  EXPECT_TRUE(SameEntry(PaletteTable[12], q));
  EXPECT_TRUE(SameEntry(PaletteTable[9], before9));
  EXPECT_TRUE(SameEntry(PaletteTable[13], before13));

  // A reversed or out-of-range range changes nothing.
  PaletteEntry saved[256];
  ReadFullPalette(saved);
  EXPECT_EQ(RotatePaletteRange(12, 10), 1);
  EXPECT_EQ(RotatePaletteRange(250, 300), 1);
  EXPECT_EQ(RotatePaletteRange(-3, 2), 1);
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(SameEntry(Device(i), saved[i])) << i;
  // The whole palette turns too.
  EXPECT_EQ(RotatePaletteRange(0, 255), 1);
  EXPECT_TRUE(SameEntry(Device(0), saved[255]));
  EXPECT_TRUE(SameEntry(Device(255), saved[254]));
}

TEST_F(PaletteOnDisplay, SavedFileHasANewlineBeforeEachEntryAndLoadsBackIdentically) {
  PaletteEntry colours[256];
  std::mt19937 rng(5);
  for (auto& c : colours) c = PaletteEntry{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
  colours[0] = PaletteEntry{255, 0, 16, 4};
  colours[255] = PaletteEntry{0, 0, 0, 0};
  std::string path = TempPath("round_trip.txt");
  ASSERT_EQ(SavePaletteText(path.c_str(), colours), 1);
  std::string text = ReadText(path);
  EXPECT_EQ(text.rfind("\n255 0 16 4\n", 0), 0u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 256);
  EXPECT_EQ(text.substr(text.size() - 8), "\n0 0 0 0");  // no newline after the last entry

  PaletteEntry loaded[256] = {};
  EXPECT_EQ(LoadPaletteText(path.c_str(), loaded), 1);
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(SameEntry(loaded[i], colours[i])) << i;
  std::filesystem::remove(path);
  EXPECT_EQ(SavePaletteText("/nonexistent-folder/palette.txt", colours), 0);
}

TEST_F(PaletteOnDisplay, LoadingToleratesMissingShortAndMalformedFiles) {
  PaletteEntry entries[256];
  for (auto& e : entries) e = PaletteEntry{9, 9, 9, 9};
  EXPECT_EQ(LoadPaletteText("/nonexistent-folder/palette.txt", entries), 0);
  EXPECT_TRUE(SameEntry(entries[0], PaletteEntry{9, 9, 9, 9}));

  // Free white space; the low 8 bits of each number (negative, or far beyond 32 bits); a short last group.
  std::string path = TempPath("short.txt");
  WriteText(path, "  1\n2\t3   4 256 -1 511 4294967297\r\n\n5 6 7");
  EXPECT_EQ(LoadPaletteText(path.c_str(), entries), 1);
  EXPECT_TRUE(SameEntry(entries[0], PaletteEntry{1, 2, 3, 4}));
  EXPECT_TRUE(SameEntry(entries[1], PaletteEntry{0, 255, 255, 1}));
  EXPECT_TRUE(SameEntry(entries[2], PaletteEntry{9, 9, 9, 9}));

  // Reading stops at the first thing that is not a number.
  WriteText(path, "7 7 7 7 8 8 x 8 6 6 6 6");
  EXPECT_EQ(LoadPaletteText(path.c_str(), entries), 1);
  EXPECT_TRUE(SameEntry(entries[0], PaletteEntry{7, 7, 7, 7}));
  EXPECT_TRUE(SameEntry(entries[1], PaletteEntry{0, 255, 255, 1}));
  std::filesystem::remove(path);
}

TEST_F(PaletteOnDisplay, LightBlinksOnItsTimetable) {
  BlinkEntry light{};
  light.colorIndex = 40;
  light.onColor = PaletteEntry{255, 255, 0, 0};
  light.offColor = PaletteEntry{40, 40, 0, 0};
  light.onTime = 2;
  light.offTime = 3;
  PaletteEntry tableBefore = PaletteTable[40];
  int32_t slot = BlinkCommand(kBlinkAdd, &light, 0);
  ASSERT_EQ(slot, 0);
  EXPECT_TRUE(SameEntry(Device(40), light.offColor));  // off at once
  std::string seen;
  for (int run = 1; run <= 8; ++run) {
    EXPECT_EQ(BlinkCommand(kBlinkRun, nullptr, 0), 1);
    seen += SameEntry(Device(40), light.onColor) ? '1' : '0';
  }
  EXPECT_EQ(seen, "00110001");                            // on at the 3rd run, off at the 5th, on at the 8th
  EXPECT_TRUE(SameEntry(PaletteTable[40], tableBefore));  // the lights leave the table alone
}

TEST_F(PaletteOnDisplay, UpdateKeepsThePhaseAndShowsItsNewColour) {
  BlinkEntry light{};
  light.colorIndex = 41;
  light.onColor = PaletteEntry{1, 1, 1, 0};
  light.offColor = PaletteEntry{2, 2, 2, 0};
  light.onTime = light.offTime = 1;
  int32_t slot = BlinkCommand(kBlinkAdd, &light, 0);
  BlinkCommand(kBlinkRun, nullptr, 0);  // now on
  BlinkEntry changed = light;
  changed.colorIndex = 99;
  changed.onColor = PaletteEntry{50, 60, 70, 0};
  changed.onTime = 5;
  EXPECT_EQ(BlinkCommand(kBlinkUpdate, &changed, slot), slot);
  EXPECT_TRUE(SameEntry(Device(41), changed.onColor));
  EXPECT_EQ(BlinkTable[slot].colorIndex, 41);
  EXPECT_EQ(BlinkTable[slot].blinkState, 1);
  EXPECT_EQ(BlinkTable[slot].onTime, 5);
  EXPECT_EQ(BlinkCommand(kBlinkUpdate, &changed, slot + 1), -1);  // a free slot
  EXPECT_EQ(BlinkCommand(kBlinkUpdate, &changed, 256), -1);
  EXPECT_EQ(BlinkCommand(kBlinkUpdate, &changed, -1), -1);
}

TEST_F(PaletteOnDisplay, SlotsAreFreedByDeleteAndRefusedWhenAllAreTaken) {
  BlinkEntry light{};
  light.colorIndex = 7;
  light.onTime = light.offTime = 4;
  EXPECT_EQ(BlinkCommand(kBlinkDelete, nullptr, 3), -1);  // free
  for (int32_t i = 0; i < 256; ++i) ASSERT_EQ(BlinkCommand(kBlinkAdd, &light, 0), i);
  EXPECT_EQ(BlinkCommand(kBlinkAdd, &light, 0), -1);  // full: not mistakable for a slot number
  EXPECT_EQ(BlinkCommand(kBlinkDelete, nullptr, 3), 3);
  EXPECT_EQ(BlinkTable[3].blinkState, 0);
  EXPECT_EQ(BlinkCommand(kBlinkAdd, &light, 0), 3);  // the freed slot is taken first
  EXPECT_EQ(BlinkCommand(kBlinkDelete, nullptr, 256), -1);
  EXPECT_EQ(BlinkCommand(kBlinkDelete, nullptr, -5), -1);
  EXPECT_EQ(BlinkCommand(42, nullptr, 0), 1);  // unknown command
}

}  // namespace
