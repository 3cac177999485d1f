// The replay tool: runs the whole game on the headless backend from a script of per-frame input, in the current
// folder with its assets, and prints one trace line per flipped frame. A test instrument, not the game.
//   replay SCRIPT   ->  msgbox / f=... lines, then "exit <code>" (program quit) or "end" (script ran out)
//   replay --soak SCRIPT  ->  no f=... lines; "heap ..." with the heap in use after the first frames and at the end
//   replay --shot FLIP=FILE ... SCRIPT   also saves the picture shown at each FLIP as a PNG file
//   replay --soak-script FRAMES SEED   prints the soak's script of FRAMES frames for SEED and runs nothing
//   replay --host=PORT SCRIPT, replay --join=HOST:PORT SCRIPT   plays one side of an online match over UDP, its own
//       player's input from SCRIPT (the other player's part ignored), and prints the trace of each frame once both
//       inputs are known, then "end" when its script and the other side's are done; --record=FILE writes the frames
//       both played as a script, --time-scale=N runs its frame clock and the link simulator N times faster;
//       with --server=ADDRESS[:PORT] the host takes a room code from that rendezvous server (told on stderr as
//       "ONLINE: room CODE") and the joiner gives it (--join=CODE); --relay-only plays through the server's relay
//   replay --synctest=N SCRIPT   rolls every frame of play back N frames (1 to 8) and plays them again; the same
//                                trace, or exit 4 naming the first frame whose state differs
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
#include "app/online/meeting_screen.h"
#include "app/online/online_recording.h"
#include "app/online/rollback.h"
#include "app/online/session.h"
#include "app/startup.h"
#include "app/title_menu.h"
#include "audio/sound_effects.h"
#include "game/block.h"
#include "game/match_state.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/net.h"
#include "platform/picture_hash.h"
#include "platform/process_environment.h"
#include "platform/sound.h"
#include "platform/tool_support/heap_usage.h"
#include "platform/video.h"
#include "platform/window.h"
#include "replay_shots.h"
#include "soak_script.h"
#include "synctest.h"

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

// Appends the name of the sound in a slot: its role in the game, else its slot.
void AppendSoundName(int32_t id, std::string& names) {
  if (!names.empty()) names += ',';
  if (id == BounceSound) {
    names += "bounce";
  } else if (id == ScoreSound) {
    names += "score";
  } else {
    char slot[16];
    std::snprintf(slot, sizeof slot, "sound%d", static_cast<int>(id));
    names += slot;
  }
}

// The sound effects started since the last flip, by name, in call order; "-" for none. The record and the text
// keep their storage from frame to frame, so a frame allocates nothing here.
const char* StartedSoundNames() {
  static std::vector<platform::SoundBuffer*> started(platform::kStartedBufferRecord);
  static std::string names(platform::kStartedBufferRecord * 12, ' ');
  platform::TakeStartedBuffersInto(started);
  names.clear();
  for (const platform::SoundBuffer* buffer : started) {
    int32_t id = 0;
    while (id < kSoundSlotCount && SoundTable[id].buffer != buffer) ++id;
    if (id < kSoundSlotCount) {
      AppendSoundName(id, names);
    } else {
      names += names.empty() ? "?" : ",?";
    }
  }
  if (names.empty()) names += '-';
  return names.c_str();
}

// The fingerprint of the picture the flip just presented.
uint64_t PresentedPictureHash() {
  const platform::PresentedFrame& frame = platform::LastPresentedFrame();
  return platform::HashPictureBytes(frame.pixels.data(), frame.pitch, frame.width, frame.height, frame.bitsPerPixel);
}

void PrintTraceLineOf(int64_t flip, bool inMenu, const FrameState& state, const char* sounds, uint64_t picture) {
  const int32_t* v = state.variables;
  std::printf("f=%" PRId64
              " m=%d ball=%d,%d v=%d,%d pad=%d,%d ptr=%d,%d lives=%d,%d score=%d,%d serve=%d,%d lvl=%d "
              "hits=%d pc=%d block=%d,%d hid=%d snd=%s img=%016" PRIx64 "\n",
              flip, inMenu ? 1 : 0, v[kStateBallX], v[kStateBallY], v[kStateBallDX], v[kStateBallDY], v[kStatePaddle1X],
              v[kStatePaddle2X], v[kStatePointerX], v[kStatePointerY], v[kStateLives1], v[kStateLives2],
              v[kStateScore1], v[kStateScore2], v[kStateServe1Pending], v[kStateServe2Pending], v[kStateLevel],
              v[kStateHitCount], v[kStatePlayerCount], v[kStateBlockX], v[kStateBlockY], v[kStateHiddenModeCount],
              sounds, picture);
}

void PrintTraceLine() {
  static FrameState now;
  SaveFrameState(&now);
  const char* sounds = StartedSoundNames();
  PrintTraceLineOf(Flips, TitleMenuRunning != 0, now, sounds, PresentedPictureHash());
}

// ---- One side of an online match (--host, --join)

struct PeerRun {
  bool on = false;
  OnlineRequest request;
  std::string recordPath;
};
PeerRun Peer;

// A frame both sides' inputs are known for: its trace line, from the state and picture it left.
void PrintConfirmedFrame(const ConfirmedFrame& frame) {
  static std::string names;
  names.clear();
  for (int32_t i = 0; i < frame.soundCount; ++i) AppendSoundName(frame.soundIds[i], names);
  if (names.empty()) names += '-';
  PrintTraceLineOf(frame.frame, false, frame.after, names.c_str(), frame.pictureHash);
}

// A session that ends before every frame of the script was confirmed: say why and end as a failed run. (The other
// side, done first, may leave while this one plays its last frame: that is the script's end, not a failure.)
void PeerSessionEnded() {
  if (OnlineConfirmedThrough() >= TotalFrames) return;
  std::fflush(stdout);
  std::fprintf(stderr, "replay: the online session ended: %s\n", OnlineEndReason().c_str());
  std::_Exit(kOnlineFailedExitCode);
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

// A flip of an online peer: the meeting screen's flips are not frames of the script; after the script's last frame
// the peer waits until both sides have confirmed every frame, says "end", leaves and leads the game to its quit.
void OnPeerFlip() {
  PrintMessageBoxes();
  if (OnlineSessionPhase == OnlinePhase::Meeting) return;
  if (OnlineSessionPhase == OnlinePhase::Playing && ++Flips < TotalFrames) {
    GiveNextFrame();
    return;
  }
  if (!SettleOnlineSession(TotalFrames)) PeerSessionEnded();
  std::string error;
  if (!SaveOnlineRecording(&error)) {
    std::fprintf(stderr, "replay: the recording was not saved: %s\n", error.c_str());
    std::exit(1);
  }
  const OnlineCounts& counts = OnlineSessionCounts();
  std::fprintf(stderr,
               "online: rollbacks=%" PRId64 " frames_played_again=%" PRId64 " stalls=%" PRId64 " stalled_ms=%" PRId64
               " ignored=%" PRId64 " bytes_sent=%" PRId64 " bytes_received=%" PRId64 " round_trip_ms=%u delay=%d\n",
               counts.rollbacks, counts.framesPlayedAgain, counts.stalls, counts.stalledMs, counts.datagramsIgnored,
               counts.bytesSent, counts.bytesReceived, counts.roundTripMs, counts.inputDelay);
  std::printf("end\n");
  std::fflush(stdout);
  OnOnlineSessionEnded = nullptr;
  EndOnlineSession("The script is over.", true);
  ScriptEnded = true;
  SteerTowardsQuit();
}

// After every flip: report the frame just shown and load the next one; once the script has run out, say so
// and lead the game to its quit, reporting nothing more.
void OnFlip(void*) {
  if (ScriptEnded) {
    SteerTowardsQuit();
    return;
  }
  if (Peer.on) {
    OnPeerFlip();
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
  int64_t synctestDepth = 0;
  for (; first + 1 < argc; ++first) {
    if (std::strcmp(argv[first], "--soak") == 0) {
      Soak.on = true;
      continue;
    }
    if (std::strncmp(argv[first], "--host=", 7) == 0 || std::strncmp(argv[first], "--join=", 7) == 0) {
      Peer.on = true;
      Peer.request.role = argv[first][2] == 'h' ? OnlineRole::Host : OnlineRole::Joiner;
      Peer.request.name = Peer.request.role == OnlineRole::Host ? "Host" : "Joiner";
      int64_t port = 0;
      if (Peer.request.role == OnlineRole::Joiner) {
        Peer.request.peerAddress = argv[first] + 7;
      } else if (!ParseWholeNumber(argv[first] + 7, 1, 65535, &port)) {
        std::fprintf(stderr, "replay: --host wants a port from 1 to 65535, not %s\n", argv[first] + 7);
        return 2;
      }
      Peer.request.port = static_cast<uint16_t>(port);
      continue;
    }
    if (std::strncmp(argv[first], "--server=", 9) == 0) {
      Peer.request.serverAddress = argv[first] + 9;
      continue;
    }
    if (std::strcmp(argv[first], "--relay-only") == 0) {
      Peer.request.relayOnly = true;
      continue;
    }
    if (std::strncmp(argv[first], "--time-scale=", 13) == 0) {
      int64_t scale = 1;
      if (!ParseWholeNumber(argv[first] + 13, 1, 100, &scale)) {
        std::fprintf(stderr, "replay: --time-scale wants a number from 1 to 100, not %s\n", argv[first] + 13);
        return 2;
      }
      platform::SetNetClockScale(static_cast<uint32_t>(scale));
      continue;
    }
    if (std::strncmp(argv[first], "--record=", 9) == 0) {
      Peer.recordPath = argv[first] + 9;
      continue;
    }
    if (std::strncmp(argv[first], "--synctest=", 11) == 0) {
      if (!ParseWholeNumber(argv[first] + 11, 1, kRollbackWindow, &synctestDepth)) {
        std::fprintf(stderr, "replay: --synctest wants a number of frames from 1 to %d, not %s\n", kRollbackWindow,
                     argv[first] + 11);
        return 2;
      }
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
                 "usage: replay [--soak] [--synctest=N] [--host=PORT | --join=HOST:PORT] [--shot FLIP=FILE]... SCRIPT\n"
                 "       replay --host=PORT|--join=CODE --server=ADDRESS[:PORT] [--relay-only] SCRIPT\n"
                 "       (run in the folder that holds the game's assets)\n"
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
  if (synctestDepth > 0) StartSynctest(static_cast<int32_t>(synctestDepth), &Cursor, &Flips);
  if (StartsWithMatch(script)) FirstScreen = StartRecordedOnlineMatch;
  if (Peer.on) {
    std::string error;
    if (!StartOnlineSession(Peer.request, &error)) {
      std::fprintf(stderr, "replay: %s\n", error.c_str());
      return kOnlineFailedExitCode;
    }
    FirstScreen = RunMeetingScreen;
    StartOnlineRecording(Peer.recordPath);
    PaceOnlineFramesByNetClock = true;
    TakeOnlinePictureHashes = true;
    OnFrameConfirmed = PrintConfirmedFrame;
    OnOnlineSessionEnded = PeerSessionEnded;
  }
  static int instanceTag = 0;
  const int32_t code = WinMain(&instanceTag, nullptr, "", 1);
  PrintMessageBoxes();
  if (!ScriptEnded) std::printf("exit %d\n", code);
  std::fflush(stdout);
  // Left through exit: in the page a program that has waited (an online peer) returns from main into no caller,
  // and only exit ends it there (the page reads the trace when it ends).
  std::exit(code);
}
