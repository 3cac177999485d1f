// The instrument set's logic: what a song plays (programs before and after changes, drum notes, running
// status), the freepats config read, the nearest patch chosen, and the config written for the plan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/midi_file.h"
#include "tools/instruments/instrument_set.h"

namespace {

using instruments::NearestDrumNote;
using instruments::NearestProgram;

// A format-0 file of one track made of the given event bytes (each event preceded by its delta time).
std::vector<uint8_t> OneTrack(std::vector<uint8_t> events) {
  events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> file = testmidi::Header(0, 1, 96);
  const std::vector<uint8_t> track = testmidi::Chunk("MTrk", events);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

TEST(InstrumentSet, NearestPatchStaysInTheFamilyAndTiesGoUp) {
  struct Case {
    int wanted;
    std::set<int> have;
    int program;
    int drum;
  };
  const Case cases[] = {
      {81, {80, 84, 88}, 80, 80},                          // Lead 2 -> Lead 1
      {91, {88, 94}, 94, 94},                              // Pad 4: two pads three away, the higher wins
      {89, {88, 94, 95}, 88, 88}, {87, {80, 88}, 80, 88},  // the program keeps to its family though another lies nearer
      {0, {38, 80}, 38, 38},                               // no piano at all: the nearest over every family
      {37, {36, 38}, 38, 38},     {5, {}, -1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NearestProgram(c.wanted, c.have), c.program) << c.wanted;
    EXPECT_EQ(NearestDrumNote(c.wanted, c.have), c.drum) << c.wanted;
  }
}

TEST(InstrumentSet, ReadsTheProgramsAndDrumNotesASongPlays) {
  const std::vector<uint8_t> song = OneTrack({
      0x00, 0x91, 60,   100,                 // channel 2 plays before its program change: the default program
      0x10, 0xC1, 38,                        // then Synth Bass 1
      0x00, 0x91, 40,   100,  0x00, 40,  0,  // running status: a note-on of velocity 0 ends it
      0x00, 0xC0, 80,                        // channel 1 changes program twice and plays after both
      0x00, 0xFF, 0x03, 0x02, 'h',  'i',     // a meta event between them leaves the running status alone
      0x00, 0xC0, 81,   0x00, 0x90, 72,  90, 0x00, 0xC2, 89,  // channel 3 changes program but never plays
      0x00, 0x99, 36,   110,                                  // drums on channel 10
      0x00, 42,   80,   0x00, 46,   0,                        // velocity 0: not played
  });
  instruments::SongInstruments found;
  ASSERT_TRUE(instruments::ReadSongInstruments(song, &found));
  EXPECT_EQ(found.programs, (std::set<int>{0, 38, 80, 81}));
  EXPECT_EQ(found.drumNotes, (std::set<int>{36, 42}));

  std::vector<uint8_t> cut = song;
  cut.resize(cut.size() - 6);
  instruments::SongInstruments ignored;
  EXPECT_FALSE(instruments::ReadSongInstruments(cut, &ignored));
  EXPECT_FALSE(instruments::ReadSongInstruments({'R', 'I', 'F', 'F'}, &ignored));
}

TEST(InstrumentSet, PlanShipsOnlyTheSongsPatchesAndMapsEverySlotToThem) {
  const instruments::PatchSet freepats = instruments::ReadPatchSet(
      "dir /usr/share/midi/freepats\n"
      "# a comment\n"
      "drumset 0\n"
      " 36\tDrum_000/036_Kick.pat amp=100\n"
      " 38\tDrum_000/038_Snare.pat\n"
      "bank 0\n"
      " 0\tTone_000/000_Piano.pat amp=120 pan=center  # the piano\n"
      " 38\tTone_000/038_Bass.pat\n"
      " 80\tTone_000/080_Square.pat\n"
      "bank 1\n"
      " 81\tTone_001/081_Saw.pat\n");
  EXPECT_EQ(freepats.folder, "/usr/share/midi/freepats");
  ASSERT_EQ(freepats.tones.size(), 3u);
  EXPECT_EQ(freepats.tones.at(0).options, "amp=120 pan=center");
  ASSERT_EQ(freepats.drums.size(), 2u);

  instruments::SongInstruments song;
  song.programs = {38, 81};
  song.drumNotes = {36, 37};
  instruments::InstrumentPlan plan;
  ASSERT_TRUE(instruments::PlanInstrumentSet(song, freepats, &plan));
  EXPECT_EQ(plan.shippedTones, (std::set<int>{38, 80}));  // no piano: the song does not play it
  EXPECT_EQ(plan.shippedDrums, (std::set<int>{36, 38}));
  const std::string config = instruments::WriteConfig(plan, freepats);
  for (const char* line : {"\n0 Tone_000/038_Bass.pat\n", "\n81 Tone_000/080_Square.pat\n",
                           "\n127 Tone_000/080_Square.pat\n", "\ndrumset 0\n0 Drum_000/036_Kick.pat amp=100 note=36\n",
                           "\n36 Drum_000/036_Kick.pat amp=100\n", "\n37 Drum_000/038_Snare.pat note=38\n"})
    EXPECT_NE(config.find(line), std::string::npos) << line;
  EXPECT_EQ(config.find("Piano"), std::string::npos);

  instruments::PatchSet noDrums = freepats;
  noDrums.drums.clear();
  EXPECT_FALSE(instruments::PlanInstrumentSet(song, noDrums, &plan));
}

}  // namespace
