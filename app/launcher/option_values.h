// The values the player may give on the command line and in the settings file, read and written in one
// way for both: window sizes, the picture scaling, volumes and yes/no.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/display_choices.h"

struct WindowSize {
  int32_t width = 0;
  int32_t height = 0;
};

// Window sizes accepted: from 640 x 480 up to 16384 on each side.
constexpr int32_t kMinWindowWidth = 640;
constexpr int32_t kMinWindowHeight = 480;
constexpr int32_t kMaxWindowSide = 16384;
constexpr int32_t kMaxVolume = 100;

// "WxH" (digits, 'x', digits) within the limits above; nothing otherwise.
std::optional<WindowSize> ReadWindowSize(std::string_view text);
// "fit" or "integer".
std::optional<platform::PictureScaling> ReadScaling(std::string_view text);
// A whole number from 0 to 100.
std::optional<int32_t> ReadVolume(std::string_view text);
// A UDP port, a whole number from 1 to 65535.
std::optional<int32_t> ReadPort(std::string_view text);
// "yes" or "no".
std::optional<bool> ReadYesNo(std::string_view text);

std::string WindowSizeText(int32_t width, int32_t height);
const char* ScalingText(platform::PictureScaling scaling);
