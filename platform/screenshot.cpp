// Screenshots: the pictures folder chosen from the player's folders, a file name from the local time that never
// overwrites an earlier shot, and the last presented picture written there as PNG.
#include "platform/screenshot.h"

#include <cstdio>
#include <sstream>
#include <string_view>

#include "platform/base_folders.h"
#include "platform/file_system.h"
#include "platform/os/operating_system.h"
#include "platform/process_environment.h"
#include "platform/video.h"

namespace platform {

namespace {

// Most shots one second may hold before the name search gives up.
constexpr int32_t kMaxShotsPerSecond = 1000;
// The longest user-dirs.dirs read; a longer one is not a folder list.
constexpr size_t kMaxUserDirsBytes = 64 * 1024;

std::string Environment(const char* name) { return EnvironmentVariable(name).value_or(""); }

// The base-directory variables as the facts hold them (an empty fact counts as unset).
EnvironmentLookup LookupIn(const PicturesFolderFacts& facts) {
  return [&facts](const char* name) -> std::optional<std::string> {
    const std::string_view variable = name;
    const std::string* value = variable == "HOME"              ? &facts.home
                               : variable == "XDG_CONFIG_HOME" ? &facts.configHome
                               : variable == "XDG_DATA_HOME"   ? &facts.dataHome
                                                               : nullptr;
    if (value == nullptr || value->empty()) return std::nullopt;
    return *value;
  };
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

// The value of XDG_PICTURES_DIR in user-dirs.dirs: "$HOME/..." or an absolute path, in double quotes; the last
// such line counts. Empty when absent, malformed, or naming the home folder itself (which turns it off).
std::string PicturesDirOfUserDirs(const std::string& text, const std::string& home) {
  std::istringstream lines(text);
  std::string line, found;
  const std::string key = "XDG_PICTURES_DIR=\"";
  while (std::getline(lines, line)) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    const size_t open = start + key.size();
    const size_t close = line.find('"', open);
    if (close == std::string::npos) continue;
    std::string value = line.substr(open, close - open);
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
      value = home + value.substr(5);
    } else if (!IsAbsolute(value)) {
      continue;
    }
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    std::string homeTrimmed = home;
    while (homeTrimmed.size() > 1 && homeTrimmed.back() == '/') homeTrimmed.pop_back();
    found = value == homeTrimmed ? "" : value;
  }
  return found;
}

PicturesFolderFacts GatherFacts() {
  PicturesFolderFacts facts;
  facts.home = Environment("HOME");
  facts.configHome = Environment("XDG_CONFIG_HOME");
  facts.dataHome = Environment("XDG_DATA_HOME");
  const std::string userDirs = UserDirsFile(facts);
  std::string ignored;
  if (!userDirs.empty() && ReadSmallFile(userDirs, kMaxUserDirsBytes, &facts.userDirsText, &ignored) != FileRead::Read)
    facts.userDirsText.clear();
  facts.homePicturesExists = !facts.home.empty() && IsFolder(facts.home + "/Pictures");
  facts.rules = os::SystemFolderRules();
  facts.systemPictures = os::PicturesFolder();
  return facts;
}

// Writes the bytes into a new file of the folder named for the time; never replaces an existing file.
bool WriteNewFile(const std::string& folder, const std::vector<uint8_t>& bytes, std::string* path, std::string* why) {
  const std::tm local = os::LocalTime(std::time(nullptr));
  for (int32_t number = 1; number <= kMaxShotsPerSecond; ++number) {
    *path = JoinPath(os::SystemFolderRules(), folder, ScreenshotFileName(local, number));
    switch (os::WriteWholeFile(*path, bytes.data(), bytes.size(), true, false, why)) {
      case os::FileWrite::Written:
        return true;
      case os::FileWrite::NameTaken:
        continue;
      case os::FileWrite::CannotCreate:
      case os::FileWrite::CannotWrite:
        return false;
    }
  }
  *why = "too many screenshots in one second";
  return false;
}

}  // namespace

std::vector<uint8_t> PresentedPictureRgb(int32_t* width, int32_t* height) {
  const PresentedFrame& frame = LastPresentedFrame();
  *width = frame.width;
  *height = frame.height;
  std::vector<uint8_t> rgb;
  if (frame.pixels.empty()) return rgb;
  rgb.reserve(static_cast<size_t>(frame.width) * frame.height * 3);
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) {
      const uint32_t colour = PresentedPixelRgb(x, y);
      rgb.push_back(static_cast<uint8_t>(colour >> 16));
      rgb.push_back(static_cast<uint8_t>(colour >> 8));
      rgb.push_back(static_cast<uint8_t>(colour));
    }
  }
  return rgb;
}

std::string UserDirsFile(const PicturesFolderFacts& facts) {
  const std::string config = UserBaseFolder(BaseFolder::ConfigHome, LookupIn(facts));
  return config.empty() ? std::string() : config + "/user-dirs.dirs";
}

std::string ChoosePicturesFolder(const PicturesFolderFacts& facts) {
  if (facts.rules == FolderRules::Windows)
    return facts.systemPictures.empty() ? std::string() : JoinPath(facts.rules, facts.systemPictures, "Tavo 2000");
  const std::string named = PicturesDirOfUserDirs(facts.userDirsText, facts.home);
  if (!named.empty()) return named;
  if (facts.homePicturesExists) return facts.home + "/Pictures";
  const std::string data = UserBaseFolder(BaseFolder::DataHome, LookupIn(facts));
  return data.empty() ? std::string() : data + "/tavo2000/screenshots";
}

std::string ScreenshotFileName(const std::tm& localTime, int32_t number) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &localTime);
  std::string name = "tavo2000-";
  name += stamp;
  if (number > 1) name += '-' + std::to_string(number);
  name += ".png";
  return name;
}

std::string SaveScreenshot() {
  int32_t width = 0, height = 0;
  const std::vector<uint8_t> rgb = PresentedPictureRgb(&width, &height);
  if (rgb.empty()) {
    std::fprintf(stderr, "SCREENSHOT: no picture has been shown yet\n");
    return "";
  }
  const std::string folder = ChoosePicturesFolder(GatherFacts());
  if (folder.empty()) {
    std::fprintf(
        stderr, "SCREENSHOT: not saved: %s\n",
        os::SystemFolderRules() == FolderRules::Windows ? "the system names no pictures folder" : "HOME is not set");
    return "";
  }
  std::string cannotMake;
  if (!os::MakeFolders(folder, &cannotMake)) {
    std::fprintf(stderr, "SCREENSHOT: not saved: cannot make %s: %s\n", folder.c_str(), cannotMake.c_str());
    return "";
  }
  const std::vector<uint8_t> png = EncodePng(rgb, width, height);
  std::string path, why;
  if (png.empty()) why = "the PNG encoder failed";
  if (png.empty() || !WriteNewFile(folder, png, &path, &why)) {
    std::fprintf(stderr, "SCREENSHOT: not saved in %s: %s\n", folder.c_str(), why.c_str());
    return "";
  }
  std::fprintf(stderr, "SCREENSHOT: %s\n", path.c_str());
  return path;
}

}  // namespace platform
