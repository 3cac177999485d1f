// The asset generator: writes the game's pictures, sounds and song into the folder named on the command line,
// or with --icons the desktop icons into an icon theme folder, --ico the Windows icon file, --web-icons the page's.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/asset_generator/asset_files.h"
#include "tools/asset_generator/icon.h"

int main(int argc, char** argv) {
  const bool icons = argc == 4 && std::strcmp(argv[1], "--icons") == 0;
  const bool windowsIcon = argc == 3 && std::strcmp(argv[1], "--ico") == 0;
  const bool webIcons = argc == 3 && std::strcmp(argv[1], "--web-icons") == 0;
  if (argc != 2 && !icons && !windowsIcon && !webIcons) {
    std::fprintf(stderr,
                 "usage: %s RUN_FOLDER\n       %s --icons THEME_FOLDER ICON_NAME\n       %s --ico FILE.ico\n"
                 "       %s --web-icons FOLDER\n",
                 argv[0], argv[0], argv[0], argv[0]);
    return 2;
  }
  std::string error;
  if (webIcons) {
    if (!assets::WriteWebIcons(argv[2], &error)) {
      std::fprintf(stderr, "ICONS: %s\n", error.c_str());
      return 1;
    }
    std::printf("ICONS: %zu web sizes written to %s\n", assets::WebIconPixelSizes().size(), argv[2]);
    return 0;
  }
  if (windowsIcon) {
    if (!assets::WriteWindowsIcon(argv[2], &error)) {
      std::fprintf(stderr, "ICONS: %s\n", error.c_str());
      return 1;
    }
    std::printf("ICONS: %zu sizes written to %s\n", assets::WindowsIconPixelSizes().size(), argv[2]);
    return 0;
  }
  if (icons) {
    if (!assets::WriteIcons(argv[2], argv[3], &error)) {
      std::fprintf(stderr, "ICONS: %s\n", error.c_str());
      return 1;
    }
    std::printf("ICONS: %zu sizes and a scalable picture written to %s\n", assets::IconPixelSizes().size(), argv[2]);
    return 0;
  }
  if (!assets::GenerateAssets(argv[1], &error)) {
    std::fprintf(stderr, "ASSETS: %s\n", error.c_str());
    return 1;
  }
  std::printf("ASSETS: %zu files written to %s\n", assets::GeneratedFilePaths().size(), argv[1]);
  return 0;
}
