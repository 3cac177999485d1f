// The replay tool: runs the whole game on the headless backend from a script of per-frame input, in the current
// folder with its assets, and prints one trace line per flipped frame. A test instrument, not the game.
//   replay SCRIPT   ->  msgbox / f=... lines, then "exit <code>" (program quit) or "end" (script ran out)
//   replay --soak SCRIPT  ->  no f=... lines; "heap ..." with the heap in use after the first frames and at the end
//   replay --shot FLIP=FILE ... SCRIPT   also saves the picture shown at each FLIP as a PNG file
//   replay --soak-script FRAMES SEED   prints the soak's script of FRAMES frames for SEED and runs nothing
// When the script runs out the game is led out through its own quit path, so its shut-down runs to the end.
#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/asset_catalogue.h"
#include "app/demos/replay_script.h"
#include "app/demos/script_player.h"
#include "app/main_window.h"
#include "app/title_menu.h"
#include "audio/sound_effects.h"
#include "game/block.h"
#include "game/match_state.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/picture_hash.h"
#include "platform/process_environment.h"
#include "platform/sound.h"
#include "platform/tool_support/heap_usage.h"
#include "platform/video.h"
#include "platform/window.h"
#include "replay_shots.h"
#include "soak_script.h"

namespace {

// Where the run stands in the script (the cursor --play uses too), how many frames have been shown, and whether
// "end" has been printed and the game is being led to its quit.
ScriptCursor Cursor;
int64_t Flips = 0;
int64_t TotalFrames = 0;
bool ScriptEnded = false;
std::vector<ShotRequest> Shots;

// Soak runs print no trace lines (the picture fingerprint costs more than the frame); they read the heap in use
// after the first kSoakBaselineFrames frames (or the last, if fewer) and after the last frame.
constexpr int64_t kSoakBaselineFrames = 1000;
struct SoakRecord {
  bool on = false;
  uint64_t baselineBytes = 0;
};
SoakRecord Soak;

// Hands the script's frames to the headless backend.
void GiveNextFrame() { GiveNextScriptFrame(&Cursor, platform::SetHeadlessInput); }

void PrintMessageBoxes() {
  for (const auto& [caption, text] : platform::TakeShownMessageBoxes()) {
    std::printf("msgbox \"%s\" \"%s\"\n", caption.c_str(), text.c_str());
  }
}

// Appends the name of a started sound: its role in the game, else its slot, else "?".
void AppendSoundName(const platform::SoundBuffer* buffer, std::string& names) {
  for (int32_t id = 0; id < kSoundSlotCount; ++id) {
    if (SoundTable[id].buffer != buffer) continue;
    if (id == BounceSound) {
      names += "bounce";
    } else if (id == ScoreSound) {
      names += "score";
    } else {
      char slot[16];
      std::snprintf(slot, sizeof slot, "sound%d", static_cast<int>(id));
      names += slot;
    }
    return;
  }
  names += '?';
}

// The sound effects started since the last flip, by name, in call order; "-" for none. The record and the text
// keep their storage from frame to frame, so a frame allocates nothing here.
const char* StartedSoundNames() {
  static std::vector<platform::SoundBuffer*> started(platform::kStartedBufferRecord);
  static std::string names(platform::kStartedBufferRecord * 12, ' ');
  platform::TakeStartedBuffersInto(started);
  names.clear();
  for (const platform::SoundBuffer* buffer : started) {
    if (!names.empty()) names += ',';
    AppendSoundName(buffer, names);
  }
  if (names.empty()) names += '-';
  return names.c_str();
}

// The fingerprint of the picture the flip just presented.
uint64_t PresentedPictureHash() {
  const platform::PresentedFrame& frame = platform::LastPresentedFrame();
  return platform::HashPictureBytes(frame.pixels.data(), frame.pitch, frame.width, frame.height, frame.bitsPerPixel);
}

void PrintTraceLine() {
  const char* sounds = StartedSoundNames();
  std::printf("f=%" PRId64
              " m=%d ball=%d,%d v=%d,%d pad=%d,%d ptr=%d,%d lives=%d,%d score=%d,%d serve=%d,%d lvl=%d "
              "hits=%d pc=%d block=%d,%d hid=%d snd=%s img=%016" PRIx64 "\n",
              Flips, TitleMenuRunning != 0 ? 1 : 0, BallX, BallY, BallDX, BallDY, Paddle1X, Paddle2X, PointerX,
              PointerY, Lives1, Lives2, Score1, Score2, Serve1Pending, Serve2Pending, Level, HitCount, PlayerCount,
              BlockX, BlockY, HiddenModeCount, sounds, PresentedPictureHash());
}

// The way out takes a few frames; more means the game did not take it.
constexpr int64_t kMostFlipsOnTheWayOut = 10;

// After the script: the frames of the game's own way out, given by the cursor. More than a few means the game
// did not take it.
void SteerTowardsQuit() {
  if (Cursor.framesAfterScript >= kMostFlipsOnTheWayOut) {
    std::fprintf(stderr, "replay: the game did not quit within %" PRId64 " frames after the script\n",
                 kMostFlipsOnTheWayOut);
    std::fflush(stdout);
    std::_Exit(3);
  }
  GiveNextFrame();
}

// After every flip: report the frame just shown and load the next one; once the script has run out, say so
// and lead the game to its quit, reporting nothing more.
void OnFlip(void*) {
  if (ScriptEnded) {
    SteerTowardsQuit();
    return;
  }
  ++Flips;
  PrintMessageBoxes();
  if (!Soak.on) PrintTraceLine();
  if (Soak.on && Flips == std::min(kSoakBaselineFrames, TotalFrames)) Soak.baselineBytes = platform::HeapBytesInUse();
  std::string shotError;
  if (!SaveShotsOfFlip(Shots, Flips, &shotError)) {
    std::fprintf(stderr, "replay: cannot save the picture: %s\n", shotError.c_str());
    std::exit(1);
  }
  if (Flips >= TotalFrames) {
    if (Soak.on) {
      std::printf("heap baseline_frame=%" PRId64 " baseline_bytes=%" PRIu64 " end_frame=%" PRId64 " end_bytes=%" PRIu64
                  "\n",
                  std::min(kSoakBaselineFrames, TotalFrames), Soak.baselineBytes, Flips, platform::HeapBytesInUse());
    }
    std::printf("end\n");
    std::fflush(stdout);
    ScriptEnded = true;
    SteerTowardsQuit();
    return;
  }
  GiveNextFrame();
}

// A whole number from first to last, else false.
bool ParseWholeNumber(const char* text, int64_t first, int64_t last, int64_t* out) {
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || *text < '0' || *text > '9' || value < first || value > last)
    return false;
  *out = value;
  return true;
}

// replay --soak-script FRAMES SEED
int PrintSoakScript(int argc, char** argv) {
  int64_t frames = 0;
  int64_t seed = 0;
  if (argc != 4 || !ParseWholeNumber(argv[2], 1, kMaxScriptCount, &frames) ||
      !ParseWholeNumber(argv[3], 0, INT64_MAX, &seed)) {
    std::fprintf(stderr, "usage: replay --soak-script FRAMES SEED   (FRAMES from 1 to %" PRId64 ", SEED from 0)\n",
                 kMaxScriptCount);
    return 2;
  }
  std::fputs(SoakScript(frames, seed).c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  platform::UseBinaryStandardOutput();  // the same trace bytes on every system
  if (argc >= 2 && std::strcmp(argv[1], "--soak-script") == 0) return PrintSoakScript(argc, argv);
  int first = 1;
  for (; first + 1 < argc; ++first) {
    if (std::strcmp(argv[first], "--soak") == 0) {
      Soak.on = true;
      continue;
    }
    if (std::strcmp(argv[first], "--shot") != 0) break;
    ShotRequest request;
    if (first + 2 >= argc || !ParseShotRequest(argv[first + 1], &request)) {
      std::fprintf(stderr, "replay: --shot wants FLIP=FILE, not %s\n", argv[first + 1]);
      return 2;
    }
    Shots.push_back(request);
    ++first;
  }
  if (argc != first + 1) {
    std::fprintf(
        stderr,
        "usage: replay [--soak] [--shot FLIP=FILE]... SCRIPT   (run in the folder that holds the game's assets)\n"
        "       replay --soak-script FRAMES SEED\n");
    return 2;
  }
  static ReplayScript script;
  std::string loadError;
  if (!LoadReplayScript(argv[first], &script, &loadError)) {
    std::fprintf(stderr, "replay: %s\n", loadError.c_str());
    return 2;
  }
  StartScript(&Cursor, &script);
  TotalFrames = script.TotalFrames();
  if (TotalFrames == 0) {
    std::printf("end\n");
    return 0;
  }

  platform::SelectBackend(platform::Backend::Headless);
  GiveNextFrame();
  platform::SetPresentHook(OnFlip, nullptr);
  static int instanceTag = 0;
  const int32_t code = WinMain(&instanceTag, nullptr, "", 1);
  PrintMessageBoxes();
  if (!ScriptEnded) std::printf("exit %d\n", code);
  std::fflush(stdout);
  return code;
}
