// Replay scripts: per-frame input as text, loaded by the replay tool and by --play, written by --record.
// A line is "<count> [dx=N] [dy=N] [btn] [keys=NAME,...]", "close" or "match"; "#" starts a comment.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The largest count one line may give: far beyond any run a test would want, small enough to add up.
inline constexpr int64_t kMaxScriptCount = 100000000;

// A run of identical frames: `count` frames with this mouse motion (each), button and held keys.
// `closesBefore` WM_CLOSE requests are queued before the first of them. With `startsMatch` (a "match" line before
// it) a two-player match is set up before its first frame, as an online session starts each of its matches; a
// script that opens with one starts in that match, without the title menu (an online session's recording).
struct ScriptEntry {
  int64_t count = 0;
  int32_t dx = 0;
  int32_t dy = 0;
  bool button = false;
  std::vector<uint8_t> keys;
  int32_t closesBefore = 0;
  bool startsMatch = false;
  bool operator==(const ScriptEntry&) const = default;
};

struct ReplayScript {
  std::vector<ScriptEntry> entries;
  int64_t TotalFrames() const;
  bool operator==(const ReplayScript&) const = default;
};

// What went wrong on which line (1-based).
struct ScriptError {
  int32_t line = 0;
  std::string reason;
};

// The outcome of reading a script: the script when ok, else the first malformed line.
struct ScriptParse {
  bool ok = false;
  ReplayScript script;
  ScriptError error;
};

// Reads a whole script; nothing runs before the text is known to be good. A close line with no frame line
// after it is malformed too, since its request would be queued before a frame that never comes.
ScriptParse ParseReplayScript(std::string_view text);

// The largest script file read, so that a huge or endless file is refused instead of read whole. The soak script
// the replay tool writes for kMaxScriptCount frames (about 104 MiB) still fits.
inline constexpr size_t kMaxScriptBytes = 128 * 1024 * 1024;

// Reads and checks the script file at path, for the replay tool and --play alike. False with the reason in
// *error: "cannot read the script <path>", "the script <path> is larger than <kMaxScriptBytes> bytes", or the
// first malformed line as DescribeScriptError gives it.
bool LoadReplayScript(const std::string& path, ReplayScript* script, std::string* error);

// "<path>:<line>: malformed line: <reason>", the one form every reader of scripts reports in.
std::string DescribeScriptError(const std::string& path, const ScriptError& error);

// The script as text that ParseReplayScript reads back equal: its close lines, then one line per entry.
// Keys are written by name in the order of the key list below; a key code without a name is left out.
std::string WriteReplayScript(const ReplayScript& script);
// One entry's lines (its close lines first), each ending in a newline.
std::string WriteScriptEntry(const ScriptEntry& entry);

// Whether the script opens with a "match" line: it is played from the match, without the title menu.
bool StartsWithMatch(const ReplayScript& script);

// The key codes of a key name (ESC, SPACE, RETURN, LEFT, RIGHT, RCONTROL, LSHIFT, A to Z, CHORD); empty if unknown.
std::vector<uint8_t> KeyCodesForName(const std::string& name);
// Whether a key code has a name of its own in scripts (CHORD is only a shorthand for T, A and V).
bool IsScriptKey(uint8_t keyCode);
