// The frame-state record: one table of the match's variables, walked by save, restore, hash and comparison,
// so a variable added to the table is saved, restored, hashed and named alike.
#include "app/online/frame_state.h"

#include <cstring>
#include <iterator>

#include "game/ball_rules.h"
#include "game/block.h"
#include "game/match_state.h"

namespace {

struct NamedVariable {
  const char* name;
  int32_t* variable;
};

constexpr NamedVariable kVariables[] = {
    {"BallX", &BallX},
    {"BallY", &BallY},
    {"BallDX", &BallDX},
    {"BallDY", &BallDY},
    {"Serve1Pending", &Serve1Pending},
    {"Serve2Pending", &Serve2Pending},
    {"Lives1", &Lives1},
    {"Lives2", &Lives2},
    {"Score1", &Score1},
    {"Score2", &Score2},
    {"HitCount", &HitCount},
    {"Level", &Level},
    {"PlayerCount", &PlayerCount},
    {"Paddle1X", &Paddle1X},
    {"Paddle2X", &Paddle2X},
    {"PointerX", &PointerX},
    {"PointerY", &PointerY},
    {"BlockX", &BlockX},
    {"BlockY", &BlockY},
    {"HiddenModeCount", &HiddenModeCount},
    {"BlockStep", &BlockStep},
};
static_assert(std::size(kVariables) == kFrameStateVariableCount, "the record holds every variable of the table");
static_assert(kVariables[kStateBallX].variable == &BallX && kVariables[kStateLives1].variable == &Lives1 &&
                  kVariables[kStatePaddle1X].variable == &Paddle1X &&
                  kVariables[kStateBlockStep].variable == &BlockStep,
              "the indices name the table's places");
static_assert(kFrameStateBytes == 4 * kFrameStateVariableCount + 4 + 256 + 16, "a report holds every field");

constexpr uint64_t kFnvOffset = 0xCBF29CE484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001B3ull;

void HashBytes(uint64_t* hash, const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) *hash = (*hash ^ bytes[i]) * kFnvPrime;
}

void HashWord(uint64_t* hash, uint32_t word) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                            static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
  HashBytes(hash, bytes, sizeof bytes);
}

void HashWords(uint64_t* hash, const int32_t* words, size_t count) {
  for (size_t i = 0; i < count; ++i) HashWord(hash, static_cast<uint32_t>(words[i]));
}

// Appends " name=first/second" when the two differ and fewer than maxFields have been named.
void NoteDifference(std::string* out, int32_t* named, int32_t maxFields, const char* name, int64_t first,
                    int64_t second) {
  if (first == second || *named >= maxFields) return;
  if (!out->empty()) *out += ' ';
  *out += name;
  *out += '=' + std::to_string(first) + '/' + std::to_string(second);
  ++*named;
}

}  // namespace

void SaveFrameState(FrameState* state) {
  for (int32_t i = 0; i < kFrameStateVariableCount; ++i) state->variables[i] = *kVariables[i].variable;
  state->randomState = RandomState;
  std::memcpy(state->keyboardState, KeyboardState, sizeof KeyboardState);
  state->mouseState = MouseState;
}

void RestoreFrameState(const FrameState& state) {
  for (int32_t i = 0; i < kFrameStateVariableCount; ++i) *kVariables[i].variable = state.variables[i];
  RandomState = state.randomState;
  std::memcpy(KeyboardState, state.keyboardState, sizeof KeyboardState);
  MouseState = state.mouseState;
}

uint64_t FrameStateHash(const FrameState& state) {
  uint64_t hash = kFnvOffset;
  HashWords(&hash, state.variables, std::size(state.variables));
  HashWord(&hash, state.randomState);
  HashBytes(&hash, state.keyboardState, sizeof state.keyboardState);
  const MouseStateRecord& mouse = state.mouseState;
  const int32_t mouseMotion[3] = {mouse.lX, mouse.lY, mouse.lZ};
  HashWords(&hash, mouseMotion, std::size(mouseMotion));
  HashBytes(&hash, mouse.rgbButtons, sizeof mouse.rgbButtons);
  return hash;
}

void WriteFrameStateBytes(const FrameState& state, uint8_t* bytes) {
  size_t at = 0;
  const auto put = [&](uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) bytes[at++] = static_cast<uint8_t>(word >> shift);
  };
  for (int32_t value : state.variables) put(static_cast<uint32_t>(value));
  put(state.randomState);
  std::memcpy(bytes + at, state.keyboardState, sizeof state.keyboardState);
  at += sizeof state.keyboardState;
  put(static_cast<uint32_t>(state.mouseState.lX));
  put(static_cast<uint32_t>(state.mouseState.lY));
  put(static_cast<uint32_t>(state.mouseState.lZ));
  std::memcpy(bytes + at, state.mouseState.rgbButtons, sizeof state.mouseState.rgbButtons);
}

void ReadFrameStateBytes(const uint8_t* bytes, FrameState* state) {
  size_t at = 0;
  const auto take = [&]() {
    uint32_t word = 0;
    for (int shift = 0; shift < 32; shift += 8) word |= static_cast<uint32_t>(bytes[at++]) << shift;
    return word;
  };
  for (int32_t& value : state->variables) value = static_cast<int32_t>(take());
  state->randomState = take();
  std::memcpy(state->keyboardState, bytes + at, sizeof state->keyboardState);
  at += sizeof state->keyboardState;
  state->mouseState.lX = static_cast<int32_t>(take());
  state->mouseState.lY = static_cast<int32_t>(take());
  state->mouseState.lZ = static_cast<int32_t>(take());
  std::memcpy(state->mouseState.rgbButtons, bytes + at, sizeof state->mouseState.rgbButtons);
}

const char* FrameStateVariableName(int32_t index) {
  return index >= 0 && index < kFrameStateVariableCount ? kVariables[index].name : "?";
}

std::string DifferingFrameStateFields(const FrameState& first, const FrameState& second, int32_t maxFields) {
  std::string out;
  int32_t named = 0;
  for (int32_t i = 0; i < kFrameStateVariableCount; ++i)
    NoteDifference(&out, &named, maxFields, kVariables[i].name, first.variables[i], second.variables[i]);
  NoteDifference(&out, &named, maxFields, "RandomState", first.randomState, second.randomState);
  for (int32_t key = 0; key < 256; ++key) {
    if (first.keyboardState[key] == second.keyboardState[key]) continue;
    const std::string name = "KeyboardState[" + std::to_string(key) + "]";
    NoteDifference(&out, &named, maxFields, name.c_str(), first.keyboardState[key], second.keyboardState[key]);
  }
  const MouseStateRecord& a = first.mouseState;
  const MouseStateRecord& b = second.mouseState;
  NoteDifference(&out, &named, maxFields, "MouseState.lX", a.lX, b.lX);
  NoteDifference(&out, &named, maxFields, "MouseState.lY", a.lY, b.lY);
  NoteDifference(&out, &named, maxFields, "MouseState.lZ", a.lZ, b.lZ);
  for (int32_t button = 0; button < 4; ++button) {
    const std::string name = "MouseState.rgbButtons[" + std::to_string(button) + "]";
    NoteDifference(&out, &named, maxFields, name.c_str(), a.rgbButtons[button], b.rgbButtons[button]);
  }
  return out;
}
