// Screenshots: the picture last presented, saved as a PNG file in the player's pictures folder (F12 in the window).
// The folder choice and the file name are plain functions of what they are given, so tests can ask them directly.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/base_folders.h"

namespace platform {

// Saves the last presented picture at its own size (8-bit pictures through their palette) and prints one
// "SCREENSHOT: path" line on standard error; on failure one "SCREENSHOT: ..." line saying why and "" returned.
// Called by the SDL window when F12 goes down; changes nothing the game reads.
std::string SaveScreenshot();

// What decides the pictures folder: the home folder, $XDG_CONFIG_HOME and $XDG_DATA_HOME (empty when unset),
// the text of user-dirs.dirs (empty when there is none) and whether the home folder holds a Pictures folder.
struct PicturesFolderFacts {
  std::string home;
  std::string configHome;
  std::string dataHome;
  std::string userDirsText;
  bool homePicturesExists = false;
  FolderRules rules = FolderRules::Freedesktop;
  std::string systemPictures;  // Windows: the user's Pictures folder as the system names it (empty when unknown)
};
// XDG_PICTURES_DIR of user-dirs.dirs when it names a folder other than home, else ~/Pictures when it exists,
// else $XDG_DATA_HOME/tavo2000/screenshots (~/.local/share/... when unset or not absolute). Windows: "Tavo 2000"
// in the user's Pictures folder. Empty when there is none.
std::string ChoosePicturesFolder(const PicturesFolderFacts& facts);
// Where user-dirs.dirs is read from: $XDG_CONFIG_HOME/user-dirs.dirs, else ~/.config/user-dirs.dirs.
std::string UserDirsFile(const PicturesFolderFacts& facts);

// "tavo2000-YYYYMMDD-HHMMSS.png" for the local time; with number > 1, "tavo2000-YYYYMMDD-HHMMSS-<number>.png".
std::string ScreenshotFileName(const std::tm& localTime, int32_t number);

// The picture as PNG bytes: width x height pixels of red, green, blue (channels 3), or of red, green, blue and
// straight alpha (channels 4). Empty when the sizes do not match or the encoder fails.
std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& rgb, int32_t width, int32_t height, int32_t channels = 3);

// The last presented picture as rows of red, green, blue (8-bit pictures through their palette); empty when
// nothing was presented yet. Also used by the replay tool to save chosen frames.
std::vector<uint8_t> PresentedPictureRgb(int32_t* width, int32_t* height);

}  // namespace platform
