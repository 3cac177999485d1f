// The asset generator: writes the game's pictures, sounds and song into the folder named on the command line.
// The build runs it into the run folder beside the game binary.
#include <cstdio>
#include <string>

#include "tools/asset_generator/asset_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s RUN_FOLDER\n", argv[0]);
    return 2;
  }
  std::string error;
  if (!assets::GenerateAssets(argv[1], &error)) {
    std::fprintf(stderr, "ASSETS: %s\n", error.c_str());
    return 1;
  }
  std::printf("ASSETS: %zu files written to %s\n", assets::GeneratedFilePaths().size(), argv[1]);
  return 0;
}
