// Reading and writing the option values: strict forms only (no signs, spaces or suffixes), so that a
// mistyped value is refused rather than half read.
#include "app/launcher/option_values.h"

namespace {

// A run of 1 to 5 decimal digits as a number; nothing for anything else (longer runs exceed every limit).
std::optional<int32_t> ReadSmallNumber(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int32_t value = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '9') return std::nullopt;
    value = value * 10 + (digit - '0');
  }
  return value;
}

}  // namespace

std::optional<WindowSize> ReadWindowSize(std::string_view text) {
  const size_t cross = text.find('x');
  if (cross == std::string_view::npos) return std::nullopt;
  const std::optional<int32_t> width = ReadSmallNumber(text.substr(0, cross));
  const std::optional<int32_t> height = ReadSmallNumber(text.substr(cross + 1));
  if (!width || !height) return std::nullopt;
  if (*width < kMinWindowWidth || *height < kMinWindowHeight || *width > kMaxWindowSide || *height > kMaxWindowSide)
    return std::nullopt;
  return WindowSize{*width, *height};
}

std::optional<platform::PictureScaling> ReadScaling(std::string_view text) {
  if (text == "fit") return platform::PictureScaling::Fit;
  if (text == "integer") return platform::PictureScaling::Integer;
  return std::nullopt;
}

std::optional<int32_t> ReadVolume(std::string_view text) {
  const std::optional<int32_t> value = text.size() <= 3 ? ReadSmallNumber(text) : std::nullopt;
  if (!value || *value > kMaxVolume) return std::nullopt;
  return value;
}

std::optional<int32_t> ReadPort(std::string_view text) {
  const std::optional<int32_t> value = text.size() <= 5 ? ReadSmallNumber(text) : std::nullopt;
  if (!value || *value < 1 || *value > 65535) return std::nullopt;
  return value;
}

std::optional<bool> ReadYesNo(std::string_view text) {
  if (text == "yes") return true;
  if (text == "no") return false;
  return std::nullopt;
}

std::string WindowSizeText(int32_t width, int32_t height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

const char* ScalingText(platform::PictureScaling scaling) {
  return scaling == platform::PictureScaling::Integer ? "integer" : "fit";
}
