// Saving shown frames: the last headless picture, read back as colours through the platform (8-bit pictures
// through their palette), written as an 8-bit RGB PNG file.
#include "replay_shots.h"

#include <cstdlib>

#include "platform/screenshot.h"
#include "platform/tool_support/png_file.h"

bool ParseShotRequest(const std::string& text, ShotRequest* request) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) return false;
  const std::string number = text.substr(0, equals);
  char* end = nullptr;
  const long long flip = std::strtoll(number.c_str(), &end, 10);
  if (*end != '\0' || flip <= 0 || number[0] == '+') return false;
  request->flip = flip;
  request->path = text.substr(equals + 1);
  return true;
}

bool SaveShotsOfFlip(const std::vector<ShotRequest>& requests, int64_t flip, std::string* error) {
  for (const ShotRequest& request : requests) {
    if (request.flip != flip) continue;
    int32_t width = 0, height = 0;
    const std::vector<uint8_t> rgb = platform::PresentedPictureRgb(&width, &height);
    if (!platform::WritePng(request.path, width, height, 3, rgb, error)) return false;
  }
  return true;
}
