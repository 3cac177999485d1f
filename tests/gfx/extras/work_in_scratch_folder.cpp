// Runs this test program inside a scratch folder of its own, so the files its cases write by plain names
// (bitmaps, logs whose text carries the name) never land in the folder it was started from.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace {

class WorkInScratchFolder : public ::testing::Environment {
 public:
  void SetUp() override {
    started_in_ = std::filesystem::current_path();
    std::filesystem::current_path(testfiles::ProcessFolder());
  }
  void TearDown() override { std::filesystem::current_path(started_in_); }

 private:
  std::filesystem::path started_in_;
};

[[maybe_unused]] ::testing::Environment* const scratchFolder =
    ::testing::AddGlobalTestEnvironment(new WorkInScratchFolder);

}  // namespace
