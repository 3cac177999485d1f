// Replay scripts read and written: counts, dx=/dy= motion, btn, keys=NAME,... and close lines; # starts a comment.
// Every number is checked for form and range, so a mistyped line is reported instead of half-read.
#include "app/demos/replay_script.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "app/title_menu_layout.h"
#include "input/key_codes.h"
#include "platform/file_system.h"

namespace {

struct NamedKey {
  const char* name;
  uint8_t code;
};

// Every key a script can name, in the order the writer lists them.
constexpr NamedKey kScriptKeys[] = {{"ESC", DIK_ESCAPE},    {"SPACE", DIK_SPACE}, {"RETURN", DIK_RETURN},
                                    {"LEFT", DIK_LEFT},     {"RIGHT", DIK_RIGHT}, {"RCONTROL", DIK_RCONTROL},
                                    {"LSHIFT", DIK_LSHIFT}, {"A", DIK_A},         {"B", DIK_B},
                                    {"C", DIK_C},           {"D", DIK_D},         {"E", DIK_E},
                                    {"F", DIK_F},           {"G", DIK_G},         {"H", DIK_H},
                                    {"I", DIK_I},           {"J", DIK_J},         {"K", DIK_K},
                                    {"L", DIK_L},           {"M", DIK_M},         {"N", DIK_N},
                                    {"O", DIK_O},           {"P", DIK_P},         {"Q", DIK_Q},
                                    {"R", DIK_R},           {"S", DIK_S},         {"T", DIK_T},
                                    {"U", DIK_U},           {"V", DIK_V},         {"W", DIK_W},
                                    {"X", DIK_X},           {"Y", DIK_Y},         {"Z", DIK_Z}};

bool ParseInteger(const std::string& text, int64_t minimum, int64_t maximum, int64_t* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end != text.c_str() + text.size() || value < minimum || value > maximum) return false;
  if (!(text[0] == '-' || (text[0] >= '0' && text[0] <= '9'))) return false;  // no "+", no blanks
  *out = value;
  return true;
}

bool ParseKeys(const std::string& list, std::vector<uint8_t>* keys, std::string* reason) {
  std::stringstream names(list);
  std::string name;
  int32_t count = 0;
  while (std::getline(names, name, ',')) {
    const std::vector<uint8_t> codes = KeyCodesForName(name);
    if (codes.empty()) {
      *reason = "unknown key name '" + name + "'";
      return false;
    }
    keys->insert(keys->end(), codes.begin(), codes.end());
    ++count;
  }
  if (count == 0 || list.back() == ',') {
    *reason = "empty key name in '" + list + "'";
    return false;
  }
  return true;
}

// One option of a frame line; `seen` guards against giving the same option twice.
bool ParseOption(const std::string& word, ScriptEntry* entry, std::string* seen, std::string* reason) {
  const std::string::size_type equals = word.find('=');
  const std::string key = word.substr(0, equals);
  if (seen->find("<" + key + ">") != std::string::npos) {
    *reason = "'" + key + "' given twice";
    return false;
  }
  *seen += "<" + key + ">";
  const std::string value = equals == std::string::npos ? std::string() : word.substr(equals + 1);
  int64_t number = 0;
  const int64_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  if ((key == "dx" || key == "dy") && equals != std::string::npos) {
    if (!ParseInteger(value, lo, hi, &number)) {
      *reason = "'" + word + "' needs a whole number";
      return false;
    }
    (key == "dx" ? entry->dx : entry->dy) = static_cast<int32_t>(number);
    return true;
  }
  if (key == "btn" && equals == std::string::npos) {
    entry->button = true;
    return true;
  }
  if (key == "keys" && equals != std::string::npos) return ParseKeys(value, &entry->keys, reason);
  *reason = "unknown word '" + word + "'";
  return false;
}

bool ParseFrameLine(std::istringstream& words, const std::string& first, ScriptEntry* entry, std::string* reason) {
  if (!ParseInteger(first, 1, kMaxScriptCount, &entry->count)) {
    *reason = "a line starts with a frame count from 1 to " + std::to_string(kMaxScriptCount) + " or with 'close'";
    return false;
  }
  std::string seen;
  std::string word;
  while (words >> word) {
    if (!ParseOption(word, entry, &seen, reason)) return false;
  }
  return true;
}

}  // namespace

int64_t ReplayScript::TotalFrames() const {
  int64_t total = 0;
  for (const ScriptEntry& entry : entries) total += entry.count;
  return total;
}

std::vector<uint8_t> KeyCodesForName(const std::string& name) {
  if (name == "CHORD") return {kHiddenChordKeys[0], kHiddenChordKeys[1], kHiddenChordKeys[2]};
  for (const NamedKey& key : kScriptKeys) {
    if (name == key.name) return {key.code};
  }
  return {};
}

bool IsScriptKey(uint8_t keyCode) {
  for (const NamedKey& key : kScriptKeys) {
    if (key.code == keyCode) return true;
  }
  return false;
}

ScriptParse ParseReplayScript(std::string_view text) {
  ScriptParse result;
  ReplayScript* script = &result.script;
  std::istringstream in{std::string(text)};
  int32_t pendingCloses = 0;
  int32_t firstPendingCloseLine = 0;
  bool pendingMatch = false;
  int32_t pendingMatchLine = 0;
  std::string line;
  for (int32_t number = 1; std::getline(in, line); ++number) {
    const std::string::size_type hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;  // blank or comment only
    if (first == "match") {
      std::string extra;
      if (words >> extra) {
        result.error = ScriptError{number, "'match' takes nothing after it"};
        return result;
      }
      if (pendingMatch) {
        result.error = ScriptError{number, "'match' twice before a frame line"};
        return result;
      }
      pendingMatch = true;
      pendingMatchLine = number;
      continue;
    }
    if (first == "close") {
      std::string extra;
      if (words >> extra) {
        result.error = ScriptError{number, "'close' takes nothing after it"};
        return result;
      }
      if (pendingCloses++ == 0) firstPendingCloseLine = number;
      continue;
    }
    ScriptEntry entry;
    std::string reason;
    if (!ParseFrameLine(words, first, &entry, &reason)) {
      result.error = ScriptError{number, reason};
      return result;
    }
    entry.closesBefore = pendingCloses;
    entry.startsMatch = pendingMatch;
    pendingCloses = 0;
    pendingMatch = false;
    script->entries.push_back(std::move(entry));
  }
  if (pendingMatch) {
    result.error = ScriptError{pendingMatchLine, "'match' needs a frame line after it"};
    return result;
  }
  if (pendingCloses > 0) {
    // The request is queued before the next frame; with no frame after it, it could never take effect.
    result.error = ScriptError{firstPendingCloseLine, "'close' needs a frame line after it"};
    return result;
  }
  result.ok = true;
  return result;
}

bool LoadReplayScript(const std::string& path, ReplayScript* script, std::string* error) {
  std::string text, reason;
  switch (platform::ReadSmallFile(path, kMaxScriptBytes, &text, &reason)) {
    case platform::FileRead::Read:
      break;
    case platform::FileRead::TooLarge:
      *error = "the script " + path + " is larger than " + std::to_string(kMaxScriptBytes) + " bytes";
      return false;
    case platform::FileRead::Missing:
    case platform::FileRead::Failed:
      *error = "cannot read the script " + path;
      return false;
  }
  ScriptParse parsed = ParseReplayScript(text);
  if (!parsed.ok) {
    *error = DescribeScriptError(path, parsed.error);
    return false;
  }
  *script = std::move(parsed.script);
  return true;
}

std::string DescribeScriptError(const std::string& path, const ScriptError& error) {
  return path + ":" + std::to_string(error.line) + ": malformed line: " + error.reason;
}

std::string WriteScriptEntry(const ScriptEntry& entry) {
  std::string lines;
  for (int32_t close = 0; close < entry.closesBefore; ++close) lines += "close\n";
  if (entry.startsMatch) lines += "match\n";
  lines += std::to_string(entry.count);
  if (entry.dx != 0) lines += " dx=" + std::to_string(entry.dx);
  if (entry.dy != 0) lines += " dy=" + std::to_string(entry.dy);
  if (entry.button) lines += " btn";
  std::string names;
  for (const NamedKey& key : kScriptKeys) {
    if (std::find(entry.keys.begin(), entry.keys.end(), key.code) == entry.keys.end()) continue;
    names += (names.empty() ? "" : ",") + std::string(key.name);
  }
  if (!names.empty()) lines += " keys=" + names;
  return lines + "\n";
}

bool StartsWithMatch(const ReplayScript& script) {
  return !script.entries.empty() && script.entries.front().startsMatch;
}

std::string WriteReplayScript(const ReplayScript& script) {
  std::string text;
  for (const ScriptEntry& entry : script.entries) text += WriteScriptEntry(entry);
  return text;
}
