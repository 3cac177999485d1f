// Everything one frame of play reads or writes, saved and restored as one record so that frames can be undone
// and played again; its 64-bit fingerprint, which two machines playing one match compare frame by frame.
#pragma once
#include <cstdint>
#include <string>

#include "app/online/protocol.h"
#include "input/input_devices.h"

// How many of the match's 32-bit variables the record holds (every one of game/match_state.h, and the block's
// step); FrameStateVariableName names each in the record's order.
constexpr int32_t kFrameStateVariableCount = 21;
// Where each variable stands in the record.
enum FrameStateVariable : int32_t {
  kStateBallX,
  kStateBallY,
  kStateBallDX,
  kStateBallDY,
  kStateServe1Pending,
  kStateServe2Pending,
  kStateLives1,
  kStateLives2,
  kStateScore1,
  kStateScore2,
  kStateHitCount,
  kStateLevel,
  kStatePlayerCount,
  kStatePaddle1X,
  kStatePaddle2X,
  kStatePointerX,
  kStatePointerY,
  kStateBlockX,
  kStateBlockY,
  kStateHiddenModeCount,
  kStateBlockStep,
};

struct FrameState {
  int32_t variables[kFrameStateVariableCount];  // BallX, BallY, ... in FrameStateVariableName's order
  uint32_t randomState;                         // the nudge generator
  uint8_t keyboardState[256];                   // the devices' records as the last reads left them (the joystick
                                                // is read by no frame of play, so a machine with one plays alike)
  MouseStateRecord mouseState;
};

// Copies the game's state into *state, and back. Nothing else of the program is touched: the pictures, the sound
// table and the title menu's state are not part of a frame of play.
void SaveFrameState(FrameState* state);
void RestoreFrameState(const FrameState& state);

// FNV-1a over every field, integers taken as little-endian bytes, so every system gives the same value.
uint64_t FrameStateHash(const FrameState& state);

// The record as bytes for another machine (StateReport): little-endian, kFrameStateBytes of them, and back.
void WriteFrameStateBytes(const FrameState& state, uint8_t* bytes);
void ReadFrameStateBytes(const uint8_t* bytes, FrameState* state);

// The name of variables[index] ("BallX"), or "?" outside the record.
const char* FrameStateVariableName(int32_t index);

// The fields in which two records differ, as "BallX=3/5 RandomState=..." (first record's value, then the
// second's), at most maxFields of them named; empty when they are equal.
std::string DifferingFrameStateFields(const FrameState& first, const FrameState& second, int32_t maxFields);
