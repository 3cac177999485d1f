// The instrument set for the Timidity music renderer: which programs and drum notes a song plays, what the
// freepats set offers, and the plan that ships only the patches needed and maps every other slot to one of them.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace instruments {

// The programs the melodic channels play (0 where a channel plays before any program change) and the keys
// the drum channel (the tenth) plays.
struct SongInstruments {
  std::set<int> programs;
  std::set<int> drumNotes;
};

// Adds what the standard MIDI file in bytes plays to *found; false when the file cannot be read through.
bool ReadSongInstruments(const std::vector<uint8_t>& bytes, SongInstruments* found);

// One patch line of a timidity.cfg: the file (relative to the set's folder) and its options ("amp=100").
struct Patch {
  std::string file;
  std::string options;
};

// The patches of tone bank 0 and drum set 0 of an instrument set's timidity.cfg, and its patch folder.
struct PatchSet {
  std::string folder;
  std::map<int, Patch> tones;
  std::map<int, Patch> drums;
};

// Reads the text of a timidity.cfg (only "dir", "bank 0", "drumset 0" and their patch lines matter).
PatchSet ReadPatchSet(const std::string& configText);

// The program among `have` nearest to `wanted`: within its General MIDI family of eight when the family has
// one, else over all; a tie goes to the higher program. -1 when `have` is empty.
int NearestProgram(int wanted, const std::set<int>& have);
// The drum note among `have` nearest to `wanted`, a tie going to the higher note; -1 when `have` is empty.
int NearestDrumNote(int wanted, const std::set<int>& have);

// Every slot of the written set: the program or drum note whose patch plays it.
struct InstrumentPlan {
  int toneSource[128];
  int drumSource[128];
  std::set<int> shippedTones;  // the freepats programs whose patches are copied
  std::set<int> shippedDrums;
};

// The plan for a song: each program and drum note it plays from freepats' own patch, or from the nearest
// freepats has; then every other slot from the nearest shipped patch. False when freepats has no tone or
// no drum patch at all for what the song needs.
bool PlanInstrumentSet(const SongInstruments& song, const PatchSet& freepats, InstrumentPlan* plan);

// The timidity.cfg text of the plan (patch paths relative to the config's own folder).
std::string WriteConfig(const InstrumentPlan& plan, const PatchSet& freepats);

}  // namespace instruments
