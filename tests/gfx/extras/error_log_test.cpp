// Rules of the error log: nothing happens while it is closed, the opening and closing lines, the 79-character cut.
// Each case starts and ends with no log open and reads the written file back whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "gfx/extras/error_log.h"

namespace {

// Read as text: the log is a text file, with the system's own line ends (CR LF on Windows).
std::string FileText(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each case starts and ends with no log open.
class ErrorLog : public ::testing::Test {
 protected:
  void SetUp() override { CloseErrorLog(); }
  void TearDown() override { CloseErrorLog(); }
};

}  // namespace

TEST_F(ErrorLog, WritingBeforeOpeningDoesNothing) {
  std::filesystem::remove("never.txt");
  EXPECT_EQ(ErrorLogFile, nullptr);
  EXPECT_EQ(WriteErrorLog("\nhello %d", 1), 0);
  EXPECT_EQ(CloseErrorLog(), 0);
  EXPECT_FALSE(std::filesystem::exists("never.txt"));
}

TEST_F(ErrorLog, LogFileHoldsOpeningLineMessagesAndClosingLine) {
  ASSERT_EQ(OpenErrorLog("err.txt"), 1);
  EXPECT_NE(ErrorLogFile, nullptr);
  EXPECT_EQ(WriteErrorLog("\nCreate BOB %d", 3), 1);
  EXPECT_EQ(WriteErrorLog("%s", "\n100% sure"), 1);
  EXPECT_EQ(WriteErrorLog(nullptr), 0);
  EXPECT_EQ(CloseErrorLog(), 1);
  EXPECT_EQ(ErrorLogFile, nullptr);
  EXPECT_EQ(CloseErrorLog(), 0);
  EXPECT_EQ(FileText("err.txt"),
            "\nOpening Error Output File (err.txt):\n\nCreate BOB 3\n100% sure\nClosing Error Output File.");
}

TEST_F(ErrorLog, OpeningASecondLogClosesTheFirst) {
  ASSERT_EQ(OpenErrorLog("first_log.txt"), 1);
  ASSERT_EQ(OpenErrorLog("second_log.txt"), 1);
  WriteErrorLog("\nsecond");
  CloseErrorLog();
  EXPECT_EQ(FileText("first_log.txt"), "\nOpening Error Output File (first_log.txt):\n\nClosing Error Output File.");
  EXPECT_EQ(FileText("second_log.txt"),
            "\nOpening Error Output File (second_log.txt):\n\nsecond\nClosing Error Output File.");
}

TEST_F(ErrorLog, AFailedOpenLeavesTheOpenLogInUse) {
  ASSERT_EQ(OpenErrorLog("kept_log.txt"), 1);
  EXPECT_EQ(OpenErrorLog("no_such_folder/deeper/log.txt"), 0);
  EXPECT_EQ(WriteErrorLog("\nstill here"), 1);
  CloseErrorLog();
  EXPECT_EQ(FileText("kept_log.txt"),
            "\nOpening Error Output File (kept_log.txt):\n\nstill here\nClosing Error Output File.");
}

TEST_F(ErrorLog, LongMessagesAreCutAt79Characters) {
  const std::string longPath = "log_" + std::string(100, 'p') + ".txt";
  ASSERT_EQ(OpenErrorLog(longPath.c_str()), 1);
  EXPECT_EQ(WriteErrorLog("%s", std::string(200, 'x').c_str()), 1);
  CloseErrorLog();
  const std::string opening = ("\nOpening Error Output File (" + longPath).substr(0, 79);
  EXPECT_EQ(FileText(longPath), opening + std::string(79, 'x') + "\nClosing Error Output File.");
  std::filesystem::remove(longPath);
}
