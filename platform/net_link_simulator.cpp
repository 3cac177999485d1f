// The link simulator: reading TAVO_NET_SIM's settings, and the per-direction queues that delay, jitter, lose,
// duplicate and reorder datagrams with a seeded generator of our own, so that a run repeats on every system.
#include "platform/internal/net_link_simulator.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace platform {

namespace {

// Reads a whole decimal number of at most max; false for anything else (signs, spaces, nothing, too large).
bool ReadWholeNumber(const std::string& text, uint64_t max, uint64_t* out) {
  if (text.empty() || text.size() > 20) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return false;
    value = value * 10 + digit;
  }
  if (value > max) return false;
  *out = value;
  return true;
}

struct SettingName {
  const char* name;
  const char* unit;  // what its value means, for the reason given with a bad one
  uint64_t max;
};
constexpr SettingName kSettings[] = {
    {"delay", "milliseconds", kMaxSimulatedDelayMs},
    {"jitter", "milliseconds", kMaxSimulatedDelayMs},
    {"loss", "a percentage", 100},
    {"duplicate", "a percentage", 100},
    {"reorder", "a percentage", 100},
    {"seed", "a whole number", std::numeric_limits<uint64_t>::max()},
};
constexpr size_t kSettingCount = sizeof(kSettings) / sizeof(kSettings[0]);

void StoreSetting(size_t index, uint64_t value, LinkSimulation* out) {
  switch (index) {
    case 0:
      out->delayMs = static_cast<uint32_t>(value);
      break;
    case 1:
      out->jitterMs = static_cast<uint32_t>(value);
      break;
    case 2:
      out->lossPercent = static_cast<uint32_t>(value);
      break;
    case 3:
      out->duplicatePercent = static_cast<uint32_t>(value);
      break;
    case 4:
      out->reorderPercent = static_cast<uint32_t>(value);
      break;
    default:
      out->seed = value;
      break;
  }
}

// The time a datagram queued at nowMs is due: the delay plus up to the jitter.
uint64_t DrawDueTime(LinkQueue* queue, uint64_t nowMs) {
  uint64_t due = nowMs + queue->simulation.delayMs;
  if (queue->simulation.jitterMs > 0) due += NextLinkRandom(&queue->random) % (queue->simulation.jitterMs + 1ull);
  return due;
}

// When an entry may leave: a datagram held back goes at the latest kReorderHoldLimitMs after its own time.
uint64_t LeavingTime(const QueuedDatagram& entry) {
  return entry.heldBack ? entry.dueMs + kReorderHoldLimitMs : entry.dueMs;
}

}  // namespace

bool ParseLinkSimulation(const std::string& text, LinkSimulation* out, std::string* error) {
  LinkSimulation parsed;
  bool seen[kSettingCount] = {};
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    std::string item = text.substr(start, end - start);
    start = end + 1;
    if (item.empty()) {
      *error = "an empty setting between commas";
      return false;
    }
    size_t equals = item.find('=');
    std::string name = item.substr(0, equals);
    size_t index = 0;
    while (index < kSettingCount && name != kSettings[index].name) index++;
    if (index == kSettingCount) {
      *error = "unknown setting '" + name + "' (known: delay, jitter, loss, duplicate, reorder, seed)";
      return false;
    }
    if (seen[index]) {
      *error = "'" + name + "' is given twice";
      return false;
    }
    seen[index] = true;
    uint64_t value = 0;
    if (equals == std::string::npos || !ReadWholeNumber(item.substr(equals + 1), kSettings[index].max, &value)) {
      *error = "'" + item + "': " + name + " takes " + kSettings[index].unit + " from 0 to " +
               std::to_string(kSettings[index].max);
      return false;
    }
    StoreSetting(index, value, &parsed);
  }
  if (!text.empty() && text.back() == ',') {
    *error = "a comma with no setting after it";
    return false;
  }
  *out = parsed;
  return true;
}

uint64_t NextLinkRandom(LinkRandom* random) {
  random->state += 0x9e3779b97f4a7c15ull;
  uint64_t z = random->state;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

bool LinkChance(LinkRandom* random, uint32_t percent) {
  if (percent == 0) return false;
  return NextLinkRandom(random) % 100 < percent;
}

bool LinkSimulated(const LinkSimulation& simulation) {
  return simulation.delayMs > 0 || simulation.jitterMs > 0 || simulation.lossPercent > 0 ||
         simulation.duplicatePercent > 0 || simulation.reorderPercent > 0;
}

bool LinkSimulationAskedFor(const char* setting, LinkSimulation* out) {
  if (setting == nullptr) return false;
  std::string reason;
  if (ParseLinkSimulation(setting, out, &reason)) return true;
  std::fprintf(stderr, "NET: TAVO_NET_SIM: %s; no simulation\n", reason.c_str());
  return false;
}

void StartLinkQueue(LinkQueue* queue, const LinkSimulation& simulation) {
  queue->simulation = simulation;
  queue->random.state = simulation.seed;
  queue->nextOrder = 0;
  queue->waiting.clear();
  queue->waiting.reserve(kLinkQueueCapacity);
}

void ReleaseLinkQueue(LinkQueue* queue) {
  for (QueuedDatagram& entry : queue->waiting) {
    entry.dueMs = 0;
    entry.heldBack = false;
  }
}

uint32_t QueueDatagram(LinkQueue* queue, const NetAddress& peer, const uint8_t* bytes, size_t size, uint64_t nowMs) {
  const LinkSimulation& simulation = queue->simulation;
  if (size > kMaxDatagramBytes || LinkChance(&queue->random, simulation.lossPercent) ||
      queue->waiting.size() >= kLinkQueueCapacity) {
    return 1;
  }
  const bool duplicated = LinkChance(&queue->random, simulation.duplicatePercent);
  const bool heldBack = LinkChance(&queue->random, simulation.reorderPercent);

  QueuedDatagram entry;
  entry.peer = peer;
  entry.size = static_cast<uint16_t>(size);
  if (size > 0) std::memcpy(entry.bytes, bytes, size);
  entry.dueMs = DrawDueTime(queue, nowMs);
  entry.order = queue->nextOrder++;
  entry.heldBack = heldBack;
  const uint64_t newcomerDue = entry.dueMs;

  // The datagrams held back behind this one go right after it, the latest held first, so each of them arrives
  // behind every datagram sent after it. Held behind a newcomer that is itself held back, they wait on with it.
  if (!heldBack) {
    for (size_t i = queue->waiting.size(); i-- > 0;) {
      QueuedDatagram& held = queue->waiting[i];
      if (!held.heldBack) continue;
      held.heldBack = false;
      if (held.dueMs < newcomerDue) held.dueMs = newcomerDue;
      held.order = queue->nextOrder++;
    }
  }
  queue->waiting.push_back(entry);

  if (duplicated && queue->waiting.size() < kLinkQueueCapacity) {
    QueuedDatagram copy = entry;
    copy.heldBack = false;
    copy.dueMs = DrawDueTime(queue, nowMs);
    copy.order = queue->nextOrder++;
    queue->waiting.push_back(copy);
  }
  return 0;
}

bool TakeDueDatagram(LinkQueue* queue, uint64_t nowMs, QueuedDatagram* out) {
  size_t best = queue->waiting.size();
  for (size_t i = 0; i < queue->waiting.size(); i++) {
    const QueuedDatagram& entry = queue->waiting[i];
    if (LeavingTime(entry) > nowMs) continue;
    if (best == queue->waiting.size()) {
      best = i;
      continue;
    }
    const QueuedDatagram& chosen = queue->waiting[best];
    if (LeavingTime(entry) < LeavingTime(chosen) ||
        (LeavingTime(entry) == LeavingTime(chosen) && entry.order < chosen.order)) {
      best = i;
    }
  }
  if (best == queue->waiting.size()) return false;
  *out = queue->waiting[best];
  queue->waiting[best] = queue->waiting.back();
  queue->waiting.pop_back();
  return true;
}

}  // namespace platform
