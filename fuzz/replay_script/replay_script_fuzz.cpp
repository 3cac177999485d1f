// Feeds arbitrary text to the replay script parser: it must accept or refuse every input, a refusal naming a
// line of the input and a reason, an acceptance holding only entries the script's rules allow and written back
// as text that reads as the same script (held keys compared as sets: the writer puts them in its own order).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/demos/replay_script.h"

namespace {

ScriptEntry WithKeySet(ScriptEntry entry) {
  std::sort(entry.keys.begin(), entry.keys.end());
  entry.keys.erase(std::unique(entry.keys.begin(), entry.keys.end()), entry.keys.end());
  return entry;
}

bool SameScript(const ReplayScript& a, const ReplayScript& b) {
  if (a.entries.size() != b.entries.size()) return false;
  for (size_t i = 0; i < a.entries.size(); ++i)
    if (!(WithKeySet(a.entries[i]) == WithKeySet(b.entries[i]))) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ScriptParse parse = ParseReplayScript(text);
  if (!parse.ok) {
    const int64_t lines = std::count(text.begin(), text.end(), '\n') + 1;
    if (parse.error.line < 1 || parse.error.line > lines || parse.error.reason.empty()) std::abort();
    return 0;
  }
  for (const ScriptEntry& entry : parse.script.entries)
    if (entry.count < 1 || entry.count > 100000000 || entry.closesBefore < 0) std::abort();
  const ScriptParse again = ParseReplayScript(WriteReplayScript(parse.script));
  if (!again.ok || !SameScript(again.script, parse.script)) std::abort();
  return 0;
}
