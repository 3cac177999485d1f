// Inside the platform: what the shared pad service (platform/pads.cpp) keeps for the backend that has pads:
// whether the frame's motion is still owed, the rumble asked for, the unplug notice, and where the mappings file is.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

// Declared rather than included: platform/pads.cpp, which defines these, includes this header (platform/pads.h
// defines it).
enum class Rumble;

// How many frames BeginPadFrame has begun (wrapping): a backend notices a new frame by its change.
uint32_t PadFrameNumber();

// True once per frame begun by BeginPadFrame: the first mouse read of the frame takes the pads' motion.
bool TakeFrameMotion();

// The rumble asked for player 1 or 2 since the last call (false when none, or rumble is off).
bool TakeRumbleRequest(int32_t player, Rumble* kind);

// Shows text as the pad notice for kPadNoticeMilliseconds from now.
void ShowPadNotice(const std::string& text);
inline constexpr uint32_t kPadNoticeMilliseconds = 2000;

// The player's gamepad mappings file (gamecontrollerdb.txt in the player's data folder), or empty when the
// environment names no such folder.
std::string PadMappingsPath();

}  // namespace platform
