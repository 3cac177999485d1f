// The song, composed in code: a chord per bar, an eight-bar hook for the lead, a driving eighth-note bass,
// warm sustained pads and a drum groove with a fill closing every eight-bar phrase.
#include "tools/asset_generator/song_composition.h"

#include <array>
#include <string>

#include "tools/asset_generator/drawing.h"

namespace assets {

namespace {

constexpr uint32_t kEighth = kTicksPerQuarter / 2;
constexpr uint32_t kSixteenth = kTicksPerQuarter / 4;

// A chord as its root's pitch class (C = 0) and the intervals of its three notes above the root.
struct Chord {
  int root;
  std::array<int, 3> intervals;
};
constexpr std::array<int, 3> kMinor{0, 3, 7}, kMajor{0, 4, 7};
constexpr Chord kAm{9, kMinor}, kDm{2, kMinor}, kC{0, kMajor}, kF{5, kMajor}, kG{7, kMajor}, kE{4, kMajor};

// A melody note: a key (0 for a rest) and a length in eighths.
struct Step {
  uint8_t key;
  uint32_t eighths;
};
using Phrase = std::vector<std::vector<Step>>;  // one list of steps per bar, eight eighths each

enum class Part { Intro, A, B, Bridge, Outro };
struct Section {
  Part part;
  std::vector<Chord> chords;  // one per bar
};

// Named keys: octave numbers as in A4 = 69.
constexpr uint8_t kE4 = 64, kG4 = 67, kGs4 = 68, kA4 = 69, kB4 = 71, kC5 = 72, kD5 = 74, kE5 = 76, kF5 = 77, kG5 = 79,
                  kGs5 = 80, kA5 = 81, kB5 = 83, kC6 = 84, kD6 = 86, kE6 = 88;

// The hook: up the A minor triad, falling back through F and C, resting on the dominant E at the end.
const Phrase kHook = {
    {{kA4, 2}, {kC5, 1}, {kE5, 1}, {kA5, 2}, {kG5, 1}, {kE5, 1}}, {{kF5, 3}, {kE5, 1}, {kC5, 2}, {kA4, 2}},
    {{kG4, 2}, {kC5, 1}, {kE5, 1}, {kG5, 2}, {kF5, 1}, {kE5, 1}}, {{kD5, 4}, {kB4, 2}, {kG4, 2}},
    {{kA4, 2}, {kC5, 1}, {kE5, 1}, {kA5, 2}, {kB5, 1}, {kC6, 1}}, {{kA5, 3}, {kG5, 1}, {kF5, 2}, {kE5, 2}},
    {{kD5, 2}, {kE5, 1}, {kF5, 1}, {kG5, 2}, {kB4, 2}},           {{kE5, 4}, {kGs4, 2}, {kB4, 2}}};
// The B section sings higher and longer over D minor.
const Phrase kVerse = {{{kF5, 2}, {kA5, 2}, {kD6, 4}},
                       {{kC6, 2}, {kB5, 1}, {kA5, 1}, {kE5, 4}},
                       {{kF5, 2}, {kA5, 2}, {kC6, 2}, {kA5, 2}},
                       {{kB5, 4}, {kGs5, 4}},
                       {{kD6, 2}, {kC6, 1}, {kA5, 1}, {kF5, 4}},
                       {{kE5, 2}, {kA5, 2}, {kC6, 4}},
                       {{kC6, 2}, {kA5, 1}, {kF5, 1}, {kG5, 2}, {kA5, 2}},
                       {{kB5, 2}, {kGs5, 2}, {kE5, 4}}};
// The bridge: long notes climbing to E6 on a brighter voice.
const Phrase kBridgeLine = {{{kA5, 4}, {kC6, 4}}, {{kB5, 4}, {kD6, 4}}, {{kC6, 8}},  {{kE6, 4}, {kA5, 4}},
                            {{kF5, 4}, {kA5, 4}}, {{kG5, 4}, {kB5, 4}}, {{kGs5, 8}}, {{kE5, 2}, {kGs5, 2}, {kB5, 4}}};
const Phrase kOutroLine = {{{kA5, 2}, {kE5, 2}, {kC5, 2}, {kE5, 2}},
                           {{kF5, 4}, {kC5, 4}},
                           {{kD5, 2}, {kB4, 2}, {kG4, 2}, {kB4, 2}},
                           {{kA4, 8}}};

std::vector<Section> SongForm() {
  const std::vector<Chord> a = {kAm, kF, kC, kG, kAm, kF, kG, kE};
  return {{Part::Intro, {kAm, kF, kC, kG}},
          {Part::A, a},
          {Part::B, {kDm, kAm, kF, kE, kDm, kAm, kF, kE}},
          {Part::A, a},
          {Part::Bridge, {kF, kG, kAm, kAm, kF, kG, kE, kE}},
          {Part::A, a},
          {Part::Outro, {kAm, kF, kG, kAm}}};
}

// Small deterministic variations in loudness so repeated notes do not sound mechanical.
uint8_t Humanise(Random& random, int velocity) { return uint8_t(velocity - 4 + int(random.Next() % 9)); }

void WritePhrase(MidiTrack& lead, const Phrase& phrase, uint32_t startTick, int velocity, Random& random) {
  for (size_t bar = 0; bar < phrase.size(); ++bar) {
    uint32_t tick = startTick + uint32_t(bar) * kTicksPerBar;
    for (const Step& step : phrase[bar]) {
      const uint32_t length = step.eighths * kEighth;
      // Slightly detached: each note stops a little before the next.
      if (step.key != 0) lead.Note(tick, kLeadChannel, step.key, Humanise(random, velocity), length - length / 8);
      tick += length;
    }
  }
}

void WriteLead(MidiTrack& lead, const std::vector<Section>& form) {
  Random random(7u);
  lead.Name("Lead");
  lead.Program(0, kLeadChannel, kLeadProgram);
  lead.Controller(0, kLeadChannel, 7, 96);   // volume
  lead.Controller(0, kLeadChannel, 10, 72);  // pan a little right
  lead.Controller(0, kLeadChannel, 91, 50);  // reverb
  uint32_t tick = 0;
  for (const Section& section : form) {
    switch (section.part) {
      case Part::Intro:
        break;
      case Part::A:
        WritePhrase(lead, kHook, tick, 100, random);
        break;
      case Part::B:
        WritePhrase(lead, kVerse, tick, 96, random);
        break;
      case Part::Bridge:
        lead.Program(tick, kLeadChannel, kBridgeLeadProgram);
        WritePhrase(lead, kBridgeLine, tick, 84, random);
        lead.Program(tick + 8 * kTicksPerBar, kLeadChannel, kLeadProgram);
        break;
      case Part::Outro:
        WritePhrase(lead, kOutroLine, tick, 92, random);
        break;
    }
    tick += uint32_t(section.chords.size()) * kTicksPerBar;
  }
  lead.EndAt(tick);
}

// The bass: roots in the second octave, driving eighths with an octave leap on the fourth and eighth;
// quarter notes while the intro builds, half notes of root and fifth in the bridge, a held root at the end.
void WriteBassBar(MidiTrack& bass, Part part, size_t barInSection, size_t barsInSection, const Chord& chord,
                  uint32_t bar, Random& random) {
  const uint8_t root = uint8_t(36 + chord.root);
  if (part == Part::Intro && barInSection < 2) return;
  if (part == Part::Outro && barInSection + 1 == barsInSection) {
    bass.Note(bar, kBassChannel, root, 100, kTicksPerBar);
    return;
  }
  if (part == Part::Intro) {
    for (uint32_t beat = 0; beat < 4; ++beat)
      bass.Note(bar + beat * kTicksPerQuarter, kBassChannel, root, Humanise(random, 92), 400);
    return;
  }
  if (part == Part::Bridge) {
    bass.Note(bar, kBassChannel, root, 92, 2 * kTicksPerQuarter - 40);
    bass.Note(bar + 2 * kTicksPerQuarter, kBassChannel, uint8_t(root + 7), 88, 2 * kTicksPerQuarter - 40);
    return;
  }
  for (uint32_t eighth = 0; eighth < 8; ++eighth) {
    const bool leap = eighth == 3 || eighth == 7;
    const int accent = eighth % 2 == 0 ? 104 : 90;
    bass.Note(bar + eighth * kEighth, kBassChannel, uint8_t(root + (leap ? 12 : 0)), Humanise(random, accent),
              kEighth - 30);
  }
}

void WriteBass(MidiTrack& bass, const std::vector<Section>& form) {
  Random random(11u);
  bass.Name("Bass");
  bass.Program(0, kBassChannel, kBassProgram);
  bass.Controller(0, kBassChannel, 7, 104);
  bass.Controller(0, kBassChannel, 10, 64);
  uint32_t tick = 0;
  for (const Section& section : form) {
    for (size_t i = 0; i < section.chords.size(); ++i, tick += kTicksPerBar)
      WriteBassBar(bass, section.part, i, section.chords.size(), section.chords[i], tick, random);
  }
  bass.EndAt(tick);
}

// The pads: the chord held for the whole bar in close position between A3 and G#4.
void WritePads(MidiTrack& pads, const std::vector<Section>& form) {
  pads.Name("Pads");
  pads.Program(0, kPadChannel, kPadProgram);
  pads.Controller(0, kPadChannel, 7, 78);
  pads.Controller(0, kPadChannel, 10, 52);
  pads.Controller(0, kPadChannel, 91, 90);
  uint32_t tick = 0;
  for (const Section& section : form) {
    if (section.part == Part::Bridge) pads.Program(tick, kPadChannel, kBridgePadProgram);
    if (section.part == Part::Outro) pads.Program(tick, kPadChannel, kPadProgram);
    for (const Chord& chord : section.chords) {
      for (const int interval : chord.intervals) {
        int key = 57 + (chord.root + interval - 9 + 24) % 12;  // pitch class placed in A3..G#4
        pads.Note(tick, kPadChannel, uint8_t(key), section.part == Part::Intro ? 58 : 66, kTicksPerBar);
      }
      tick += kTicksPerBar;
    }
  }
  pads.EndAt(tick);
}

// One bar of the groove: kick on one and three, snare on two and four, closed hats in eighths.
void WriteGrooveBar(MidiTrack& drums, uint32_t bar, bool halfBar, bool drive, Random& random) {
  const uint32_t beats = halfBar ? 2 : 4;
  for (uint32_t beat = 0; beat < beats; ++beat) {
    const uint32_t at = bar + beat * kTicksPerQuarter;
    drums.Note(at, kDrumChannel, beat % 2 == 0 ? kKick : kSnare, Humanise(random, beat % 2 == 0 ? 112 : 104),
               kSixteenth);
    drums.Note(at, kDrumChannel, kClosedHat, Humanise(random, 84), kSixteenth);
    drums.Note(at + kEighth, kDrumChannel, kClosedHat, Humanise(random, 62), kSixteenth);
  }
  // In the driving sections a second kick pushes into beat three.
  if (drive && !halfBar)
    drums.Note(bar + 2 * kTicksPerQuarter - kEighth, kDrumChannel, kKick, Humanise(random, 90), kSixteenth);
}

// The fill: the first half of the bar keeps the groove, the second rolls in sixteenths from snare down the toms.
void WriteFill(MidiTrack& drums, uint32_t bar, Random& random) {
  WriteGrooveBar(drums, bar, true, false, random);
  static const uint8_t roll[8] = {kSnare, kSnare, kHighTom, kHighTom, kMidTom, kMidTom, kLowTom, kFloorTom};
  for (uint32_t i = 0; i < 8; ++i) {
    const uint32_t at = bar + 2 * kTicksPerQuarter + i * kSixteenth;
    drums.Note(at, kDrumChannel, roll[i], Humanise(random, 88 + int(i) * 4), kSixteenth);
  }
  drums.Note(bar + 2 * kTicksPerQuarter, kDrumChannel, kKick, 110, kSixteenth);
}

void WriteDrums(MidiTrack& drums, const std::vector<Section>& form) {
  Random random(13u);
  drums.Name("Drums");
  drums.Controller(0, kDrumChannel, 7, 110);
  uint32_t tick = 0;
  for (const Section& section : form) {
    const size_t bars = section.chords.size();
    for (size_t i = 0; i < bars; ++i, tick += kTicksPerBar) {
      const bool lastBar = i + 1 == bars;
      if (i == 0 && section.part != Part::Intro) drums.Note(tick, kDrumChannel, kCrash, 108, kTicksPerQuarter);
      if (section.part == Part::Intro && i < 2) {
        // The intro opens on hats alone.
        for (uint32_t e = 0; e < 8; ++e)
          drums.Note(tick + e * kEighth, kDrumChannel, kClosedHat, Humanise(random, e % 2 ? 50 : 70), kSixteenth);
      } else if (section.part == Part::Outro && lastBar) {
        drums.Note(tick, kDrumChannel, kKick, 116, kSixteenth);
        drums.Note(tick, kDrumChannel, kCrash, 116, kTicksPerBar);
      } else if (lastBar && section.part != Part::Outro) {
        WriteFill(drums, tick, random);
      } else {
        WriteGrooveBar(drums, tick, false, section.part == Part::A, random);
        if (i % 4 == 3) drums.Note(tick + 7 * kEighth, kDrumChannel, kOpenHat, 76, kEighth);
      }
    }
  }
  drums.EndAt(tick);
}

}  // namespace

std::vector<MidiTrack> ComposeSong() {
  const std::vector<Section> form = SongForm();
  uint32_t bars = 0;
  for (const Section& section : form) bars += uint32_t(section.chords.size());
  const uint32_t end = bars * kTicksPerBar;
  // The conductor track: metre, key (no sharps, minor), tempo, and a ritardando over the last two bars.
  MidiTrack conductor;
  conductor.Name("Tavo 2000 Theme");
  conductor.TimeSignature(0, 4, 2);
  conductor.KeySignature(0, 0, true);
  conductor.Tempo(0, kSongTempo);
  conductor.Tempo(end - 2 * kTicksPerBar, 116.0);
  conductor.Tempo(end - kTicksPerBar, 104.0);
  conductor.EndAt(end);
  std::vector<MidiTrack> tracks(5);
  tracks[0] = conductor;
  WriteLead(tracks[1], form);
  WriteBass(tracks[2], form);
  WritePads(tracks[3], form);
  WriteDrums(tracks[4], form);
  return tracks;
}

}  // namespace assets
