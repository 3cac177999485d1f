// The rendezvous server's path decision for the page it serves, one row per request target, against a scratch
// folder holding a page, a subfolder, hidden files and links leading in and out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/web_files.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

TEST(RendezvousWebPaths, ServeOnlyRegularVisibleFilesInsideTheFolder) {
  const fs::path scratch = fs::temp_directory_path() / ("tavo_web_paths_" + std::to_string(getpid()));
  fs::remove_all(scratch);
  const fs::path root = scratch / "page";
  fs::create_directories(root / "sub");
  fs::create_directories(root / ".git");
  Write(root / "index.html", "<p>");
  Write(root / "sub" / "game.js", "1");
  Write(root / "sub" / "index.html", "<p>");
  Write(root / "a b.txt", "1");
  Write(root / ".hidden", "1");
  Write(root / ".git" / "config", "1");
  Write(scratch / "secret.txt", "1");
  fs::create_symlink(scratch / "secret.txt", root / "out.txt");
  fs::create_symlink(scratch, root / "up");
  fs::create_symlink(root / "sub" / "game.js", root / "in.js");
  fs::create_symlink(root / ".git" / "config", root / "config.txt");
  const std::string base = fs::canonical(root).string();

  struct Row {
    const char* target;
    int32_t status;
    const char* file;  // under root, for 200
  };
  const Row rows[] = {
      {"/", 200, "index.html"},
      {"/index.html?v=2#top", 200, "index.html"},
      {"/sub/", 200, "sub/index.html"},
      {"/sub/game.js", 200, "sub/game.js"},
      {"/sub/%67ame.js", 200, "sub/game.js"},
      {"/a%20b.txt", 200, "a b.txt"},
      {"/in.js", 200, "sub/game.js"},  // a link that stays inside
      {"/sub", 404, nullptr},          // a folder
      {"/missing.js", 404, nullptr},
      {"/.hidden", 404, nullptr},
      {"/.git/config", 404, nullptr},
      {"/%2egit/config", 404, nullptr},
      {"/config.txt", 403, nullptr},  // a link to a hidden file
      {"/out.txt", 403, nullptr},     // a link out of the folder
      {"/up/secret.txt", 403, nullptr},
      {"/../secret.txt", 400, nullptr},
      {"/sub/../../secret.txt", 400, nullptr},
      {"/%2e%2e/secret.txt", 400, nullptr},
      {"/sub%2f..%2f..%2fsecret.txt", 400, nullptr},
      {"/sub%5cgame.js", 400, nullptr},
      {"//etc/passwd", 400, nullptr},
      {"/sub//game.js", 400, nullptr},
      {"/./index.html", 400, nullptr},
      {"/index.html%00.js", 400, nullptr},
      {"/bad%zz", 400, nullptr},
      {"/bad%2", 400, nullptr},
      {"http://example.com/index.html", 400, nullptr},
      {"*", 400, nullptr},
      {"", 400, nullptr},
  };
  for (const Row& row : rows) {
    const platform::WebPathDecision decision = platform::DecideWebPath(base, row.target);
    EXPECT_EQ(decision.status, row.status) << row.target << ": " << decision.reason;
    if (row.status == 200) {
      EXPECT_EQ(decision.file, base + "/" + row.file) << row.target;
    } else {
      EXPECT_TRUE(decision.file.empty()) << row.target;
      EXPECT_FALSE(decision.reason.empty()) << row.target;
    }
  }
  fs::remove_all(scratch);
}

}  // namespace
