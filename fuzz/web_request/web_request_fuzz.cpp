// Feeds the rendezvous server's page arbitrary bytes as one HTTP request against a scratch folder holding a page,
// a hidden file and a link out: every answer must be a whole response, and no answer may carry the text outside.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/web_files.h"

namespace {

namespace fs = std::filesystem;

constexpr char kOutside[] = "OUTSIDE-THE-FOLDER";
constexpr char kHidden[] = "HIDDEN-FILE";

void Check(bool condition) {
  if (!condition) std::abort();
}

fs::path Scratch() { return fs::temp_directory_path() / ("tavo_fuzz_web_" + std::to_string(getpid())); }

void RemoveScratch() {
  std::error_code ignored;
  fs::remove_all(Scratch(), ignored);
}

platform::WebFiles* ScratchFolder() {
  const fs::path scratch = Scratch();
  fs::remove_all(scratch);
  std::atexit(RemoveScratch);
  fs::create_directories(scratch / "page" / "sub");
  std::ofstream(scratch / "outside.txt") << kOutside;
  std::ofstream(scratch / "page" / "index.html") << "<p>page</p>";
  std::ofstream(scratch / "page" / "game.js") << "var x = 1;";
  std::ofstream(scratch / "page" / "sub" / "a.txt") << "a";
  std::ofstream(scratch / "page" / ".hidden") << kHidden;
  fs::create_symlink(scratch / "outside.txt", scratch / "page" / "link.txt");
  fs::create_symlink(scratch, scratch / "page" / "up");
  std::string error;
  platform::WebFiles* files = platform::OpenWebFiles((scratch / "page").string(), &error);
  Check(files != nullptr);
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static platform::WebFiles* files = ScratchFolder();
  bool webSocket = false;
  std::string refusal;
  const std::string response = platform::AnswerWebRequestBytes(files, data, size, &webSocket, &refusal);
  if (response.empty()) return 0;  // not complete yet, or a valid upgrade to /online
  Check(!webSocket);
  Check(response.rfind("HTTP/1.", 0) == 0 && response.size() >= 12 && response.find("\r\n\r\n") != std::string::npos);
  const int status = std::atoi(response.c_str() + 9);
  Check(status >= 200 && status <= 599);
  Check(response.find(kOutside) == std::string::npos && response.find(kHidden) == std::string::npos);
  Check(status < 400 || !refusal.empty());
  return 0;
}
