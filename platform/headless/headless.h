// The headless backend's controls: what tests, benchmarks, fuzzers and the replay tool use to script input,
// read the presented picture, render the sound mix and provoke failures. The program itself never includes it.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/input.h"
#include "platform/sound.h"
#include "platform/video.h"

namespace platform {

// ---- Window and messages

// The message boxes shown since the previous call, as (caption, text), in order.
std::vector<std::pair<std::string, std::string>> TakeShownMessageBoxes();
// Forgets queued messages, a pending quit and recorded boxes.
void ResetMessageQueue();

// ---- Presentation

// Benchmarks: with keep false a headless present only counts and calls the hook, keeping no copy,
// so a frame can be timed without the cost of presenting it. On by default.
void KeepHeadlessFrames(bool keep);
// The next count presents are refused.
void RefuseNextPresents(int32_t count);
// The next OpenPresentation is refused with this reason, as the SDL backend's is when it can make no renderer.
void RefuseNextPresentationOpen(const std::string& reason);
// Forgets the kept picture, the counts and the refusals.
void ResetHeadlessPresentation();

// ---- Clock

// Sets the virtual clock (tests of wrap-around).
void SetVirtualTicks(uint32_t ticks);

// ---- Input

// Scripted input: the first mouse read after SetHeadlessInput reports dx, dy, later reads 0, 0;
// the keys and the button stay held until the next call.
using HeadlessInputFrame = InputFrame;  // the same record the demo player gives the game
void SetHeadlessInput(const HeadlessInputFrame& frame);

// Joysticks, attached in this order. Raw axes are -32768..32767, bit n of buttons is button n.
struct HeadlessJoystick {
  InputGuid guid;
  std::string productName;
  int32_t rawAxes[8] = {};
  uint32_t buttons = 0;
};
void SetHeadlessJoysticks(const std::vector<HeadlessJoystick>& joysticks);

// Makes one set-up step (or every read) of one kind of device fail.
// InputStep::CreateSystem makes the system object itself fail, whatever the kind.
void SetHeadlessInputFailure(InputDeviceKind kind, InputStep step);
// Back to no input, no joystick and no failures.
void ResetHeadlessInput();

// ---- Sound

// The buffers whose Play succeeded since the previous take, in order; the record keeps the first
// kStartedBufferRecord of them. TakeStartedBuffersInto refills the caller's vector and keeps both vectors'
// storage, so taking once a frame allocates nothing once `taken` has grown to the record's size.
constexpr uint32_t kStartedBufferRecord = 64;
std::vector<SoundBuffer*> TakeStartedBuffers();
void TakeStartedBuffersInto(std::vector<SoundBuffer*>& taken);

// Whether CreateSoundDevice succeeds (a machine without sound when false). True at start.
void SetHeadlessSoundDeviceAvailable(bool available);

// Makes CreateSoundBuffer and DuplicateSoundBuffer refuse as if memory ran out, so tests can see that callers
// clean up. False at start.
void SetHeadlessBufferCreationFails(bool fails);

// Mixes every playing buffer (and the music, once started) into `frames` interleaved stereo float frames at
// `rate` Hz, advancing them as the device would; the SDL callback runs the same mixer.
void RenderHeadlessAudio(float* out, uint32_t frames, uint32_t rate);

}  // namespace platform
