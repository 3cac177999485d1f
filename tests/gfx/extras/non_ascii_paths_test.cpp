// The library's file readers and writers given absolute paths under a folder whose name is not ASCII: the BMP
// reader, the palette text file, the error log and the WAVE reader, one row each. On Windows a path read in the
// ANSI code page names no such folder, so a reader or writer that opened files any other way would fail here.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "audio/sound_effects.h"
#include "gfx/extras/bmp_file.h"
#include "gfx/extras/error_log.h"
#include "gfx/extras/palette_file.h"
#include "platform/base_folders.h"
#include "platform/file_system.h"
#include "tests/gfx/extras/bmp_bytes.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wave_file.h"

namespace {

const char8_t kFolderName[] = u8"Spiele für Jürgen — 試験";

// UTF-8 text as the std::string the library takes.
std::string Narrow(std::u8string_view text) { return std::string(text.begin(), text.end()); }

std::string PathInFolder(const char8_t* fileName) {
  return testfiles::ProcessFolder() + Narrow(kFolderName) + "/" + Narrow(fileName);
}

// Whether the C++ library finds the file by its UTF-8 name (on Windows it makes the wide name itself, not through
// the platform), so a name the platform turned wrongly both when planting and when reading still fails.
bool FileIsThere(const char8_t* fileName) {
  return std::filesystem::is_regular_file(std::filesystem::path(testfiles::ProcessFolder()) / kFolderName / fileName);
}

// The file's bytes as they are on the disk; empty when it cannot be read.
std::string BytesOf(const std::string& path) {
  std::string bytes, error;
  if (platform::ReadSmallFile(path, 1 << 20, &bytes, &error) != platform::FileRead::Read) return {};
  return bytes;
}

// A text as a text file of this system holds it: each "\n" a CR LF on Windows, as the C library's text mode writes.
std::string SystemLines(const std::string& text) {
  if (platform::SystemFolderRules() != platform::FolderRules::Windows) return text;
  std::string lines;
  for (const char c : text) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return lines;
}

void ReadsBitmap(const std::string& path) {
  BmpFileData bitmap{};
  ASSERT_EQ(ReadBmpFile(&bitmap, path.c_str()), 1);
  const int32_t width = bitmap.infoHeader.biWidth;  // a copy: the packed header's field may sit unaligned
  EXPECT_EQ(width, 5);
  EXPECT_EQ(bitmap.pixels[1 * 5 + 3], bmp_bytes::PatternAt(3, 1));
  FreeBmpFile(&bitmap);
}

void SavesAndLoadsPalette(const std::string& path) {
  PaletteEntry saved[256];
  std::string text;  // the file's text: a newline before each entry's four numbers
  for (int32_t i = 0; i < 256; ++i) {
    saved[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 4};
    char line[32];
    std::snprintf(line, sizeof line, "\n%d %d %d 4", i, 255 - i, i / 2);
    text += line;
  }
  ASSERT_EQ(SavePaletteText(path.c_str(), saved), 1);
  EXPECT_EQ(BytesOf(path), SystemLines(text));
  PaletteEntry loaded[256] = {};
  ASSERT_EQ(LoadPaletteText(path.c_str(), loaded), 1);
  EXPECT_EQ(std::memcmp(loaded, saved, sizeof saved), 0);
}

void WritesErrorLog(const std::string& path) {
  ASSERT_EQ(OpenErrorLog(path.c_str()), 1);
  EXPECT_EQ(WriteErrorLog("\nCreate BOB %d", 7), 1);
  EXPECT_EQ(CloseErrorLog(), 1);
  // The opening line carries the path, cut with the rest of the message at 79 characters.
  const std::string opening = ("\nOpening Error Output File (" + path + "):\n").substr(0, 79);
  EXPECT_EQ(BytesOf(path), SystemLines(opening + "\nCreate BOB 7\nClosing Error Output File."));
}

void LoadsWave(const std::string& path) {
  ASSERT_EQ(InitSound(), 1);
  const int32_t id = LoadWav(path.c_str());
  ASSERT_GE(id, 0) << LastWavLoadError();
  EXPECT_EQ(SoundTable[id].size, 40);
  EXPECT_EQ(SoundTable[id].rate, 11025);
}

std::vector<uint8_t> Wave() {
  testwave::WaveLayout wave;
  wave.samples = testwave::Ramp(40);
  return testwave::BuildWave(wave);
}

// A file is planted first under the folder (made on the way): the one a reader reads, or an older one a writer
// must empty and replace.
struct PathCase {
  const char* facility;
  const char8_t* fileName;
  std::vector<uint8_t> planted;
  void (*check)(const std::string& path);
};
void PrintTo(const PathCase& row, std::ostream* out) { *out << row.facility; }

const PathCase kCases[] = {
    {"BmpReader", u8"Bild ä.bmp", bmp_bytes::Make(5, 3, 8, bmp_bytes::Pattern(5, 3)), ReadsBitmap},
    {"PaletteTextFile", u8"Farben ö.pal", std::vector<uint8_t>(5000, '9'), SavesAndLoadsPalette},
    {"ErrorLog", u8"Fehler ü.txt", std::vector<uint8_t>(300, 'x'), WritesErrorLog},
    {"WaveReader", u8"Klang ß.wav", Wave(), LoadsWave},
};

class NonAsciiFolder : public testsupport::OnHeadless<::testing::TestWithParam<PathCase>> {
 protected:
  void SetUp() override {
    OnHeadless::SetUp();
    testsupport::ResetSound();
  }
  void TearDown() override { testsupport::ResetSound(); }
};

}  // namespace

TEST_P(NonAsciiFolder, ReadsAndWritesByAbsolutePath) {
  const PathCase& row = GetParam();
  const std::string path = PathInFolder(row.fileName);
  std::string error;
  ASSERT_TRUE(platform::WriteFileAtomically(path, std::string(row.planted.begin(), row.planted.end()), &error))
      << error;
  row.check(path);
  EXPECT_TRUE(FileIsThere(row.fileName));
}

INSTANTIATE_TEST_SUITE_P(LibraryFiles, NonAsciiFolder, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PathCase>& info) { return info.param.facility; });
