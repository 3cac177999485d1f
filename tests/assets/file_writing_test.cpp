// Writing the generated files: a file the disk refuses is reported as failed, even one small enough to sit
// wholly in the stream's buffer until the file is closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/asset_generator/wav_writer.h"

namespace {

TEST(FileWriting, AFullDiskIsReportedEvenForASmallFile) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  std::string error;
  EXPECT_FALSE(assets::WriteWav8("/dev/full", std::vector<float>(100, 0.0f), 11025, &error));
  EXPECT_EQ(error, "cannot write /dev/full");
}

}  // namespace
