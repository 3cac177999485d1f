// Feeds arbitrary text to the replay script parser: it must accept or refuse every input, a refusal naming a
// line of the input and a reason, an acceptance holding only entries the script's rules allow.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tools/replay/replay_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  ReplayScript script;
  ScriptError error;
  if (!ParseReplayScript(in, &script, &error)) {
    const int64_t lines = std::count(text.begin(), text.end(), '\n') + 1;
    if (error.line < 1 || error.line > lines || error.reason.empty()) std::abort();
    return 0;
  }
  for (const ScriptEntry& entry : script.entries)
    if (entry.count < 1 || entry.count > 100000000 || entry.closesBefore < 0) std::abort();
  return 0;
}
