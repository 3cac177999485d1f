// A scratch folder of the test process's own (tests run as parallel processes under CTest, so fixed
// file names in a shared folder would race). Made on first use and removed when the process ends.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testfiles {

inline const std::string& ProcessFolder() {
  static const std::string folder = [] {
    const std::string path = std::filesystem::temp_directory_path().string() + "/tavo_test_" + std::to_string(getpid());
    std::filesystem::create_directories(path);
    return path + "/";
  }();
  static const bool cleanup = std::atexit([] {
                                std::error_code ignored;
                                std::filesystem::remove_all(ProcessFolder(), ignored);
                              }) == 0;
  (void)cleanup;
  return folder;
}

// A path in the process's scratch folder.
inline std::string ScratchPath(const std::string& name) { return ProcessFolder() + name; }

}  // namespace testfiles
