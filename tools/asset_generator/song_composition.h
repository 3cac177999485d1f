// The game's song: an original piece in A minor at 125 beats per minute, composed note by note in code.
// Form: intro, A, B, A, bridge, A, outro (48 bars of 4/4, about a minute and a half).
#pragma once
#include <cstdint>
#include <vector>

#include "tools/asset_generator/midi_writer.h"

namespace assets {

constexpr uint16_t kTicksPerQuarter = 480;
constexpr uint32_t kTicksPerBar = 4 * kTicksPerQuarter;
constexpr double kSongTempo = 125.0;

// General MIDI channels (counted from 0) and programs of the parts.
constexpr uint8_t kLeadChannel = 0, kBassChannel = 1, kPadChannel = 2, kDrumChannel = 9;
constexpr uint8_t kLeadProgram = 80;        // Lead 1 (square)
constexpr uint8_t kBridgeLeadProgram = 81;  // Lead 2 (sawtooth), for the bridge
constexpr uint8_t kBassProgram = 38;        // Synth Bass 1
constexpr uint8_t kPadProgram = 89;         // Pad 2 (warm)
constexpr uint8_t kBridgePadProgram = 91;   // Pad 4 (choir), for the bridge

// Drum keys of the General MIDI percussion map used by the groove and the fills.
constexpr uint8_t kKick = 36, kSnare = 38, kClosedHat = 42, kOpenHat = 46, kCrash = 49;
constexpr uint8_t kHighTom = 50, kMidTom = 47, kLowTom = 45, kFloorTom = 41;

// The tracks of the format-1 file: conductor (tempo, metre, key), lead, bass, pads, drums.
std::vector<MidiTrack> ComposeSong();

}  // namespace assets
