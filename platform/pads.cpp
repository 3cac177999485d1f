// The pad service both backends share: the play context of the frame, rumble requests and the unplug notice,
// kept for the backend that has pads, and the stick's integer curve.
#include "platform/pads.h"

#include <algorithm>

#include "platform/base_folders.h"
#include "platform/clock.h"
#include "platform/internal/pad_requests.h"

namespace platform {

namespace {

PlayContext context;
bool motionOwed = false;
uint32_t frameNumber = 0;
bool rumbleEnabled = true;
bool rumblePending[2] = {};
Rumble rumbleKind[2] = {};
std::string notice;
uint32_t noticeUntil = 0;

// The curve's resolution: the travel past the dead zone in 1024 steps.
constexpr int64_t kCurveSteps = 1024;

}  // namespace

void BeginPadFrame(const PlayContext& frame) {
  context = frame;
  motionOwed = true;
  ++frameNumber;
}

uint32_t PadFrameNumber() { return frameNumber; }

const PlayContext& CurrentPlayContext() { return context; }

bool TakeFrameMotion() {
  const bool owed = motionOwed;
  motionOwed = false;
  return owed;
}

void RequestRumble(int32_t player, Rumble kind) {
  if (!rumbleEnabled || player < 1 || player > 2) return;
  rumblePending[player - 1] = true;
  rumbleKind[player - 1] = kind;
}

bool TakeRumbleRequest(int32_t player, Rumble* kind) {
  if (player < 1 || player > 2 || !rumblePending[player - 1]) return false;
  rumblePending[player - 1] = false;
  *kind = rumbleKind[player - 1];
  return true;
}

void SetRumbleEnabled(bool enabled) {
  rumbleEnabled = enabled;
  if (!enabled) rumblePending[0] = rumblePending[1] = false;
}

bool RumbleEnabled() { return rumbleEnabled; }

void ShowPadNotice(const std::string& text) {
  notice = text;
  noticeUntil = GetTicks() + kPadNoticeMilliseconds;
}

const char* PadNotice() {
  if (notice.empty()) return nullptr;
  // Counted as a difference, so the tick counter's wrap does not matter.
  if (static_cast<int32_t>(noticeUntil - GetTicks()) <= 0) {
    notice.clear();
    return nullptr;
  }
  return notice.c_str();
}

std::string PadMappingsPath() {
  const FolderRules rules = SystemFolderRules();
  if (rules == FolderRules::Windows) {
    const std::string folder = GameSettingsFolder(rules, ProcessEnvironment());
    return folder.empty() ? std::string() : JoinPath(rules, folder, "gamecontrollerdb.txt");
  }
  const std::string data = UserBaseFolder(BaseFolder::DataHome, ProcessEnvironment());
  return data.empty() ? std::string() : data + "/tavo2000/gamecontrollerdb.txt";
}

int32_t StickMotion(int32_t axis, int32_t maxStep) {
  const int64_t position = std::clamp<int64_t>(axis, -32767, 32767);
  const int64_t magnitude = position < 0 ? -position : position;
  if (magnitude <= kStickDeadZone || maxStep <= 0) return 0;
  // t: 1..1024 over the travel past the dead zone.
  const int64_t t = std::max<int64_t>(1, (magnitude - kStickDeadZone) * kCurveSteps / (32767 - kStickDeadZone));
  // A quarter straight and three quarters squared: fine steps near the centre, the full step at the edge.
  const int64_t shaped = t * kCurveSteps / 4 + t * t * 3 / 4;  // 0..1024*1024
  const int64_t full = kCurveSteps * kCurveSteps;
  // Rounded up, so any deflection past the dead zone moves at least a pixel.
  const int64_t motion = (static_cast<int64_t>(maxStep) * shaped + full - 1) / full;
  return static_cast<int32_t>(position < 0 ? -motion : motion);
}

}  // namespace platform
