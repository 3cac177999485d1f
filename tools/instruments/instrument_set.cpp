// The instrument set's logic: reading a song's programs and drum notes from its MIDI events, reading the
// freepats timidity.cfg, choosing the nearest patches, and writing our own config.
#include "tools/instruments/instrument_set.h"

#include <cstdlib>
#include <sstream>

namespace instruments {

namespace {

constexpr int kDrumChannel = 9;

uint32_t BigEndian(const std::vector<uint8_t>& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[at + i];
  return value;
}

// Reads a variable-length number at *at, not past end; false when it runs past.
bool ReadVariable(const std::vector<uint8_t>& bytes, size_t* at, size_t end, uint32_t* value) {
  *value = 0;
  for (int i = 0; i < 4; ++i) {
    if (*at >= end) return false;
    const uint8_t byte = bytes[(*at)++];
    *value = (*value << 7) | (byte & 0x7F);
    if (!(byte & 0x80)) return true;
  }
  return false;
}

// What one channel does over the song: the ticks of its program changes and of its first note.
struct ChannelUse {
  std::map<uint64_t, std::set<int>> programsAt;
  uint64_t firstNote = UINT64_MAX;
};

// Walks one track's events from start to end, recording program changes and note starts by tick.
bool ReadTrack(const std::vector<uint8_t>& bytes, size_t at, size_t end, ChannelUse* channels,
               std::set<int>* drumNotes) {
  uint64_t tick = 0;
  uint8_t running = 0;  // the last channel message's status, which a data byte in its place repeats
  while (at < end) {
    uint32_t delta = 0;
    if (!ReadVariable(bytes, &at, end, &delta) || at >= end) return false;
    tick += delta;
    const uint8_t status = (bytes[at] & 0x80) ? bytes[at++] : running;
    if (status == 0xFF || status == 0xF0 || status == 0xF7) {
      if (status == 0xFF && at++ >= end) return false;  // the meta event's type
      uint32_t length = 0;
      if (!ReadVariable(bytes, &at, end, &length) || length > end - at) return false;
      at += length;
      continue;
    }
    if (status < 0x80 || status >= 0xF0) return false;
    running = status;
    const int kind = status & 0xF0, channel = status & 0x0F;
    const size_t dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    if (end - at < dataBytes) return false;
    if (kind == 0xC0) channels[channel].programsAt[tick].insert(bytes[at] & 0x7F);
    if (kind == 0x90 && bytes[at + 1] != 0) {
      if (channel == kDrumChannel) drumNotes->insert(bytes[at] & 0x7F);
      else if (tick < channels[channel].firstNote) channels[channel].firstNote = tick;
    }
    at += dataBytes;
  }
  return true;
}

// The nearest of `have` to `wanted` among those `allowed` says yes to; ties go to the higher one.
template <typename Allowed>
int Nearest(int wanted, const std::set<int>& have, Allowed allowed) {
  int best = -1;
  for (int candidate : have) {
    if (!allowed(candidate)) continue;
    if (best < 0 || std::abs(candidate - wanted) <= std::abs(best - wanted)) best = candidate;
  }
  return best;
}

std::set<int> Keys(const std::map<int, Patch>& patches) {
  std::set<int> keys;
  for (const auto& [key, patch] : patches) keys.insert(key);
  return keys;
}

}  // namespace

bool ReadSongInstruments(const std::vector<uint8_t>& bytes, SongInstruments* found) {
  if (bytes.size() < 14 || BigEndian(bytes, 0, 4) != 0x4D546864) return false;  // "MThd"
  const uint32_t headerLength = BigEndian(bytes, 4, 4);
  if (headerLength < 6 || headerLength > bytes.size() - 8) return false;
  ChannelUse channels[16];
  std::set<int> drumNotes;
  size_t at = 8 + headerLength;
  while (bytes.size() - at >= 8) {
    const uint32_t id = BigEndian(bytes, at, 4), length = BigEndian(bytes, at + 4, 4);
    at += 8;
    if (length > bytes.size() - at) return false;
    if (id == 0x4D54726B && !ReadTrack(bytes, at, at + length, channels, &drumNotes)) return false;  // "MTrk"
    at += length;
  }
  for (int channel = 0; channel < 16; ++channel) {
    const ChannelUse& use = channels[channel];
    if (channel == kDrumChannel || use.firstNote == UINT64_MAX) continue;
    // A note before the first program change plays the default program.
    if (use.programsAt.empty() || use.programsAt.begin()->first > use.firstNote) found->programs.insert(0);
    for (const auto& [tick, programs] : use.programsAt) found->programs.insert(programs.begin(), programs.end());
  }
  found->drumNotes.insert(drumNotes.begin(), drumNotes.end());
  return true;
}

PatchSet ReadPatchSet(const std::string& configText) {
  PatchSet set;
  std::map<int, Patch>* current = nullptr;
  std::istringstream lines(configText);
  std::string line;
  while (std::getline(lines, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;
    if (first == "dir") {
      words >> set.folder;
    } else if (first == "bank" || first == "drumset") {
      int number = -1;
      words >> number;
      current = number != 0 ? nullptr : (first == "bank" ? &set.tones : &set.drums);
    } else if (current && first.find_first_not_of("0123456789") == std::string::npos) {
      const int slot = std::atoi(first.c_str());
      Patch patch;
      if (slot > 127 || !(words >> patch.file)) continue;
      for (std::string option; words >> option;) patch.options += (patch.options.empty() ? "" : " ") + option;
      (*current)[slot] = patch;
    }
  }
  return set;
}

int NearestProgram(int wanted, const std::set<int>& have) {
  const int family = wanted / 8;
  const int inFamily = Nearest(wanted, have, [family](int candidate) { return candidate / 8 == family; });
  return inFamily >= 0 ? inFamily : Nearest(wanted, have, [](int) { return true; });
}

int NearestDrumNote(int wanted, const std::set<int>& have) {
  return Nearest(wanted, have, [](int) { return true; });
}

bool PlanInstrumentSet(const SongInstruments& song, const PatchSet& freepats, InstrumentPlan* plan) {
  const std::set<int> tones = Keys(freepats.tones), drums = Keys(freepats.drums);
  plan->shippedTones.clear();
  plan->shippedDrums.clear();
  for (int program : song.programs)
    plan->shippedTones.insert(tones.count(program) ? program : NearestProgram(program, tones));
  for (int note : song.drumNotes) plan->shippedDrums.insert(drums.count(note) ? note : NearestDrumNote(note, drums));
  // A song with no drums (or no melody) still gets one patch there, so every slot of the set can sound.
  if (plan->shippedTones.empty()) plan->shippedTones.insert(NearestProgram(0, tones));
  if (plan->shippedDrums.empty()) plan->shippedDrums.insert(NearestDrumNote(35, drums));
  if (plan->shippedTones.count(-1) || plan->shippedDrums.count(-1)) return false;
  for (int slot = 0; slot < 128; ++slot) {
    plan->toneSource[slot] = NearestProgram(slot, plan->shippedTones);
    plan->drumSource[slot] = NearestDrumNote(slot, plan->shippedDrums);
  }
  return true;
}

std::string WriteConfig(const InstrumentPlan& plan, const PatchSet& freepats) {
  std::ostringstream out;
  out << "# The game's instrument set: the freepats patches its song plays; every other program and drum note\n"
         "# plays the nearest of them. Written at build time by tavo_instruments.\n\n"
         "bank 0\n";
  for (int slot = 0; slot < 128; ++slot) {
    const Patch& patch = freepats.tones.at(plan.toneSource[slot]);
    out << slot << ' ' << patch.file << (patch.options.empty() ? "" : " ") << patch.options << '\n';
  }
  out << "\ndrumset 0\n";
  for (int slot = 0; slot < 128; ++slot) {
    const int source = plan.drumSource[slot];
    const Patch& patch = freepats.drums.at(source);
    out << slot << ' ' << patch.file << (patch.options.empty() ? "" : " ") << patch.options;
    // A drum keeps its own pitch when it stands in for another note.
    if (source != slot) out << " note=" << source;
    out << '\n';
  }
  return out.str();
}

}  // namespace instruments
