// Static sound buffers and the sound device that plays them, on both backends.
// Each buffer holds unsigned 8-bit mono samples; a mixer plays them at their frequency (11025 Hz unless set).
#pragma once
#include <cstdint>

namespace platform {

struct SoundDeviceObject;  // the output device: one per program
struct SoundBuffer;        // one static buffer of 8-bit mono samples, reference-counted

// Result codes: 0 is success, every failure is negative.
constexpr int32_t kSoundOk = 0;
constexpr int32_t kSoundErrInvalidParam = static_cast<int32_t>(0x80070057u);
constexpr int32_t kSoundErrNoDevice = static_cast<int32_t>(0x88780078u);
constexpr int32_t kSoundErrControlUnavailable = static_cast<int32_t>(0x8878001Eu);
constexpr int32_t kSoundErrOutOfMemory = static_cast<int32_t>(0x8007000Eu);

// Cooperative level accepted by SetSoundCooperativeLevel.
constexpr uint32_t kSoundLevelNormal = 1;

// Buffer creation flags (bits of SoundBufferDesc::flags).
constexpr uint32_t kSoundBufferStatic = 0x02;
constexpr uint32_t kSoundBufferLocSoftware = 0x08;
constexpr uint32_t kSoundBufferCtrlFrequency = 0x20;
constexpr uint32_t kSoundBufferCtrlPan = 0x40;
constexpr uint32_t kSoundBufferCtrlVolume = 0x80;

// Play flags, lock flags and status bits.
constexpr uint32_t kSoundPlayLooping = 1;
constexpr uint32_t kSoundLockFromWriteCursor = 1;
constexpr uint32_t kSoundStatusPlaying = 1;
constexpr uint32_t kSoundStatusBufferLost = 2;
constexpr uint32_t kSoundStatusLooping = 4;

// Limits of the setters and of the buffer size.
constexpr int32_t kSoundVolumeMin = -10000;  // hundredths of a decibel: silence
constexpr int32_t kSoundVolumeMax = 0;       // no attenuation
constexpr int32_t kSoundPanLeft = -10000;
constexpr int32_t kSoundPanRight = 10000;
constexpr uint32_t kSoundFrequencyMin = 100;
constexpr uint32_t kSoundFrequencyMax = 200000;
constexpr uint32_t kSoundBufferMaxBytes = 0x0FFFFFFF;
constexpr uint32_t kSoundDefaultFrequency = 11025;

// What a new buffer is: its size in bytes, its creation flags and its starting frequency (0 = 11025 Hz).
// The sample format is always unsigned 8-bit mono.
struct SoundBufferDesc {
  uint32_t flags = 0;
  uint32_t bytes = 0;
  uint32_t frequency = kSoundDefaultFrequency;
};

// Every operation below is called by the sound table (audio/sound_effects.cpp) unless its line says otherwise.

// Device. Created once at start-up (InitSound); SDL: opens the audio output (fails without one).
int32_t CreateSoundDevice(SoundDeviceObject** out);
// Set once after creation (InitSound).
int32_t SetSoundCooperativeLevel(SoundDeviceObject* device, uint32_t level);
// At shut-down (ShutdownSound); the last release closes the output.
uint32_t ReleaseSoundDevice(SoundDeviceObject* device);

// Buffers. A duplicate shares the source's samples but plays, stops and is set on its own.
// Create by LoadWav, Duplicate by DuplicateSound, Release by DeleteSound and ShutdownSound.
int32_t CreateSoundBuffer(SoundDeviceObject* device, const SoundBufferDesc& desc, SoundBuffer** out);
int32_t DuplicateSoundBuffer(SoundDeviceObject* device, SoundBuffer* source, SoundBuffer** out);
uint32_t ReleaseSoundBuffer(SoundBuffer* buffer);

// Lock hands out up to two writable regions of `bytes` bytes starting at `offset` (or at the write cursor
// with kSoundLockFromWriteCursor), the second one when the range wraps; Unlock commits what was written.
// Both by LoadWav, which copies the samples in.
int32_t LockSoundBuffer(SoundBuffer* buffer, uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1,
                        void** region2, uint32_t* bytes2, uint32_t flags);
int32_t UnlockSoundBuffer(SoundBuffer* buffer, void* region1, uint32_t bytes1, void* region2, uint32_t bytes2);

// Playback. Play starts (or keeps playing) from the current position; kSoundPlayLooping loops.
// Play, Stop and SetPosition by PlaySoundEffect and StopSoundEffect; GetStatus by GetSoundStatus;
// GetPosition has no caller in the program (tests read it).
int32_t PlaySoundBuffer(SoundBuffer* buffer, uint32_t flags);
int32_t StopSoundBuffer(SoundBuffer* buffer);
int32_t SetSoundBufferPosition(SoundBuffer* buffer, uint32_t position);
int32_t GetSoundBufferPosition(SoundBuffer* buffer, uint32_t* position);
int32_t GetSoundBufferStatus(SoundBuffer* buffer, uint32_t* status);

// Setters; each needs the matching control flag at creation and a value within the limits above.
// Called by SetSoundVolume, SetSoundFrequency and SetSoundPan; GetVolume has no caller in the program.
int32_t SetSoundBufferVolume(SoundBuffer* buffer, int32_t hundredthsOfDecibel);
int32_t SetSoundBufferFrequency(SoundBuffer* buffer, uint32_t samplesPerSecond);
int32_t SetSoundBufferPan(SoundBuffer* buffer, int32_t pan);
int32_t GetSoundBufferVolume(SoundBuffer* buffer, int32_t* hundredthsOfDecibel);

// A listener for the finished mix, set only by the audio benchmarks and tests: called after every mix (on the
// audio thread under SDL) with the interleaved stereo frames about to leave the mixer. Null removes it.
using SoundOutputTap = void (*)(const float* mixed, uint32_t frames, uint32_t rate, void* user);
void SetSoundOutputTap(SoundOutputTap tap, void* user);

}  // namespace platform
