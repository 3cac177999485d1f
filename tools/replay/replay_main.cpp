// The replay tool: runs the whole game on the headless backend from a script of per-frame input, in the current
// folder with its assets, and prints one trace line per flipped frame. A test instrument, not the game.
//   replay SCRIPT   ->  msgbox / f=... lines, then "exit <code>" (program quit) or "end" (script ran out)
//   replay --soak SCRIPT  ->  no f=... lines; "heap ..." with the heap in use after the first frames and at the end
//   replay --shot FLIP=FILE ... SCRIPT   also saves the picture shown at each FLIP as a PNG file
// When the script runs out the game is led out through its own quit path, so its shut-down runs to the end.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/asset_catalogue.h"
#include "app/demos.h"
#include "app/main_window.h"
#include "app/replay_script.h"
#include "app/title_menu.h"
#include "audio/sound_effects.h"
#include "game/block.h"
#include "game/match_state.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "platform/heap_usage.h"
#include "platform/input.h"
#include "platform/picture_hash.h"
#include "platform/sound.h"
#include "platform/video.h"
#include "platform/window.h"
#include "replay_shots.h"

namespace {

// Where the run stands in the script: the entry and how many of its frames have begun.
struct ReplayCursor {
  const ReplayScript* script = nullptr;
  std::size_t entry = 0;
  int64_t begunInEntry = 0;
  int64_t flips = 0;
  int64_t totalFrames = 0;
  bool scriptEnded = false;    // "end" is printed; the game is being led to its quit
  bool closeQueued = false;    // the close request of the way out is queued
  int64_t flipsAfterEnd = 0;
};

ReplayCursor Cursor;
std::vector<ShotRequest> Shots;

// Soak runs print no trace lines (the picture fingerprint costs more than the frame); they read the heap in use
// after the first SoakBaselineFrames frames (or the last, if fewer) and after the last frame.
constexpr int64_t SoakBaselineFrames = 1000;
struct SoakRecord {
  bool on = false;
  uint64_t baselineBytes = 0;
};
SoakRecord Soak;

// The input handed to the platform each frame; its key list keeps its storage from frame to frame.
platform::HeadlessInputFrame NextInput;

// Queues the entry's close requests (first frame of the entry only) and sets this frame's input.
void BeginNextFrame() {
  const std::vector<ScriptEntry>& entries = Cursor.script->entries;
  if (Cursor.begunInEntry == entries[Cursor.entry].count) {
    ++Cursor.entry;
    Cursor.begunInEntry = 0;
  }
  const ScriptEntry& entry = entries[Cursor.entry];
  if (Cursor.begunInEntry == 0) {
    for (int32_t close = 0; close < entry.closesBefore; ++close) {
      platform::PostMessage(platform::MainWindowHandle(), platform::WM_CLOSE, 0, 0);
    }
  }
  ++Cursor.begunInEntry;
  NextInput.dx = entry.dx;
  NextInput.dy = entry.dy;
  NextInput.primaryButton = entry.button;
  NextInput.keysHeld.assign(entry.keys.begin(), entry.keys.end());
  platform::SetHeadlessInput(NextInput);
}

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
  std::printf(
      "f=%" PRId64 " m=%d ball=%d,%d v=%d,%d pad=%d,%d ptr=%d,%d lives=%d,%d score=%d,%d serve=%d,%d lvl=%d "
      "hits=%d pc=%d block=%d,%d hid=%d snd=%s img=%016" PRIx64 "\n",
      Cursor.flips, TitleMenuRunning != 0 ? 1 : 0, BallX, BallY, BallDX, BallDY, Paddle1X, Paddle2X, PointerX,
      PointerY, Lives1, Lives2, Score1, Score2, Serve1Pending, Serve2Pending, Level, HitCount, PlayerCount, BlockX,
      BlockY, HiddenModeCount, sounds, PresentedPictureHash());
}

// The way out takes a few frames; more means the game did not take it.
constexpr int64_t MostFlipsOnTheWayOut = 10;

// After the script: the next frame's input on the game's own way out. The title menu is left by its quit
// entry (first a frame that moves the pointer into the band without a key, then Enter); play is left by
// closing the window. Nothing is held otherwise, so no frame of the way out opens the menu again.
void SteerTowardsQuit() {
  if (++Cursor.flipsAfterEnd > MostFlipsOnTheWayOut) {
    std::fprintf(stderr, "replay: the game did not quit within %" PRId64 " frames after the script\n",
                 MostFlipsOnTheWayOut);
    std::fflush(stdout);
    std::_Exit(3);
  }
  if (TitleMenuRunning == 0 && !Cursor.closeQueued) {
    platform::PostMessage(platform::MainWindowHandle(), platform::WM_CLOSE, 0, 0);
    Cursor.closeQueued = true;
  }
  platform::SetHeadlessInput(FrameTowardsQuit(TitleMenuRunning != 0, PointerY));
}

// After every flip: report the frame just shown and load the next one; once the script has run out, say so
// and lead the game to its quit, reporting nothing more.
void OnFlip(void*) {
  if (Cursor.scriptEnded) {
    SteerTowardsQuit();
    return;
  }
  ++Cursor.flips;
  PrintMessageBoxes();
  if (!Soak.on) PrintTraceLine();
  if (Soak.on && Cursor.flips == std::min(SoakBaselineFrames, Cursor.totalFrames))
    Soak.baselineBytes = platform::HeapBytesInUse();
  std::string shotError;
  if (!SaveShotsOfFlip(Shots, Cursor.flips, &shotError)) {
    std::fprintf(stderr, "replay: cannot save the picture: %s\n", shotError.c_str());
    std::exit(1);
  }
  if (Cursor.flips >= Cursor.totalFrames) {
    if (Soak.on) {
      std::printf("heap baseline_frame=%" PRId64 " baseline_bytes=%" PRIu64 " end_frame=%" PRId64 " end_bytes=%" PRIu64
                  "\n",
                  std::min(SoakBaselineFrames, Cursor.totalFrames), Soak.baselineBytes, Cursor.flips,
                  platform::HeapBytesInUse());
    }
    std::printf("end\n");
    std::fflush(stdout);
    Cursor.scriptEnded = true;
    SteerTowardsQuit();
    return;
  }
  BeginNextFrame();
}

bool LoadScript(const char* path, ReplayScript* script) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "replay: cannot read the script %s\n", path);
    return false;
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ScriptParse parsed = ParseReplayScript(text);
  if (!parsed.ok) {
    std::fprintf(stderr, "replay: %s\n", DescribeScriptError(path, parsed.error).c_str());
    return false;
  }
  *script = std::move(parsed.script);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
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
    std::fprintf(stderr,
                 "usage: replay [--soak] [--shot FLIP=FILE]... SCRIPT   (run in the folder that holds the game's assets)\n");
    return 2;
  }
  static ReplayScript script;
  if (!LoadScript(argv[first], &script)) return 2;
  Cursor.script = &script;
  std::size_t mostKeys = 0;
  for (const ScriptEntry& entry : script.entries) mostKeys = std::max(mostKeys, entry.keys.size());
  NextInput.keysHeld.reserve(mostKeys);
  Cursor.totalFrames = script.TotalFrames();
  if (Cursor.totalFrames == 0) {
    std::printf("end\n");
    return 0;
  }

  platform::SelectBackend(platform::Backend::Headless);
  BeginNextFrame();
  platform::SetPresentHook(OnFlip, nullptr);
  static int instanceTag = 0;
  const int32_t code = WinMain(&instanceTag, nullptr, "", 1);
  PrintMessageBoxes();
  if (!Cursor.scriptEnded) std::printf("exit %d\n", code);
  std::fflush(stdout);
  return code;
}
