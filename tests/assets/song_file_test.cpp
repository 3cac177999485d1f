// Checks of the generated song: a well-formed format-1 file with tempo, metre, key and program changes,
// General MIDI parts with drums on channel 10, a groove and fills in their places, and a 60 to 120 second length.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/assets/generated_files.h"

namespace asset_checks {
namespace {

bool IsNoteOn(const MidiEvent& e) { return (e.status & 0xF0) == 0x90 && e.data.size() == 2 && e.data[1] > 0; }
bool IsNoteOff(const MidiEvent& e) {
  return ((e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.data.size() == 2 && e.data[1] == 0));
}
int Channel(const MidiEvent& e) { return e.status & 0x0F; }

class Song : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { song_ = new MidiFile(ReadMidi("Music/song10.mid")); }
  static void TearDownTestSuite() { delete song_; }
  static MidiFile* song_;
};
MidiFile* Song::song_ = nullptr;

TEST_F(Song, IsAFormatOneFileWithEveryTrackEndingProperly) {
  EXPECT_EQ(song_->format, 1);
  EXPECT_EQ(song_->trackCount, song_->tracks.size());
  EXPECT_GE(song_->tracks.size(), 4u);
  EXPECT_EQ(song_->division & 0x8000, 0) << "ticks per quarter note, not time code";
  EXPECT_GT(song_->division, 0);
  for (const auto& track : song_->tracks) {
    ASSERT_FALSE(track.empty());
    EXPECT_EQ(track.back().status, 0xFF);
    EXPECT_EQ(track.back().metaType, 0x2F) << "the last event ends the track";
    for (size_t i = 0; i + 1 < track.size(); ++i) EXPECT_FALSE(track[i].status == 0xFF && track[i].metaType == 0x2F);
  }
}

TEST_F(Song, SetsTempoNearOneTwentyFiveInFourFourAndAMinorKey) {
  bool tempo = false, metre = false, minorKey = false;
  for (const auto& track : song_->tracks) {
    for (const MidiEvent& e : track) {
      if (e.status != 0xFF) continue;
      if (e.metaType == 0x51 && e.tick == 0) {
        const double bpm = 60e6 / double((e.data[0] << 16) | (e.data[1] << 8) | e.data[2]);
        EXPECT_NEAR(bpm, 125.0, 3.0);
        tempo = true;
      }
      if (e.metaType == 0x58) metre = e.data.size() == 4 && e.data[0] == 4 && e.data[1] == 2;
      if (e.metaType == 0x59) minorKey = e.data.size() == 2 && e.data[1] == 1;
    }
  }
  EXPECT_TRUE(tempo);
  EXPECT_TRUE(metre);
  EXPECT_TRUE(minorKey);
}

TEST_F(Song, LastsBetweenOneAndTwoMinutes) {
  uint32_t end = 0;
  for (const auto& track : song_->tracks) end = std::max(end, track.back().tick);
  const double seconds = SecondsAt(*song_, end);
  EXPECT_GE(seconds, 60.0);
  EXPECT_LE(seconds, 120.0);
}

TEST_F(Song, UsesGeneralMidiLeadBassAndPadVoicesAndChangesThem) {
  std::map<int, std::set<int>> programsByChannel;
  for (const auto& track : song_->tracks)
    for (const MidiEvent& e : track)
      if ((e.status & 0xF0) == 0xC0) programsByChannel[Channel(e)].insert(e.data[0]);
  bool lead = false, bass = false, pad = false;
  size_t changes = 0;
  for (const auto& [channel, programs] : programsByChannel) {
    EXPECT_NE(channel, 9) << "no program change on the drum channel";
    for (const int p : programs) {
      lead |= p >= 80 && p <= 87;
      bass |= p >= 32 && p <= 39;
      pad |= p >= 88 && p <= 95;
    }
    changes += programs.size();
  }
  EXPECT_TRUE(lead);
  EXPECT_TRUE(bass);
  EXPECT_TRUE(pad);
  EXPECT_GT(changes, programsByChannel.size()) << "at least one part changes its voice during the song";
}

TEST_F(Song, EveryNoteEndsAndNoKeyIsStruckWhileStillSounding) {
  for (size_t t = 0; t < song_->tracks.size(); ++t) {
    std::set<std::pair<int, int>> sounding;
    for (const MidiEvent& e : song_->tracks[t]) {
      const std::pair<int, int> key{Channel(e), e.data.empty() ? -1 : e.data[0]};
      if (IsNoteOn(e)) {
        EXPECT_FALSE(sounding.count(key)) << "track " << t << " strikes key " << key.second << " again at " << e.tick;
        sounding.insert(key);
      } else if (IsNoteOff(e)) {
        EXPECT_TRUE(sounding.erase(key)) << "track " << t << " releases a silent key at " << e.tick;
      }
    }
    EXPECT_TRUE(sounding.empty()) << "track " << t << " leaves notes hanging";
  }
}

TEST_F(Song, HasADrumTrackOnChannelTenWithTheGrooveAndAFillEveryEightBars) {
  const uint32_t bar = 4u * song_->division;
  const std::vector<MidiEvent>* drums = nullptr;
  for (const auto& track : song_->tracks)
    for (const MidiEvent& e : track)
      if (IsNoteOn(e) && Channel(e) == 9) drums = &track;
  ASSERT_NE(drums, nullptr);
  std::map<uint32_t, std::multiset<std::pair<uint32_t, int>>> hitsByBar;  // bar -> (tick in bar, key)
  for (const MidiEvent& e : *drums) {
    if (!IsNoteOn(e)) continue;
    EXPECT_EQ(Channel(e), 9) << "the drum track plays only on channel 10";
    hitsByBar[e.tick / bar].insert({e.tick % bar, e.data[0]});
  }
  const uint32_t beat = song_->division;
  std::vector<uint32_t> fillBars;
  size_t grooveBars = 0;
  for (const auto& [index, hits] : hitsByBar) {
    bool toms = false;
    for (const auto& [at, key] : hits)
      toms |= key == 41 || key == 43 || key == 45 || key == 47 || key == 48 || key == 50;
    if (toms) {
      fillBars.push_back(index);
      continue;
    }
    const bool groove =
        hits.count({0, 36}) && hits.count({2 * beat, 36}) && hits.count({beat, 38}) && hits.count({3 * beat, 38});
    size_t hats = 0;
    for (uint32_t eighth = 0; eighth < 8; ++eighth) hats += hits.count({eighth * beat / 2, 42}) ? 1 : 0;
    if (groove && hats == 8) ++grooveBars;
  }
  EXPECT_GE(grooveBars, hitsByBar.size() / 2) << "most bars: kick on one and three, snare on two and four, eighth hats";
  ASSERT_GE(fillBars.size(), 4u);
  for (size_t i = 1; i < fillBars.size(); ++i)
    EXPECT_EQ(fillBars[i] - fillBars[i - 1], 8u) << "fill after bar " << fillBars[i - 1];
}

TEST_F(Song, MelodicPartsStayInPlayableRanges) {
  for (const auto& track : song_->tracks) {
    for (const MidiEvent& e : track) {
      if (!IsNoteOn(e) || Channel(e) == 9) continue;
      EXPECT_GE(e.data[0], 28) << "too low at tick " << e.tick;
      EXPECT_LE(e.data[0], 96) << "too high at tick " << e.tick;
    }
  }
}

}  // namespace
}  // namespace asset_checks
