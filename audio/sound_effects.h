// The sound-effect table: 256 slots of static sound buffers loaded from RIFF WAVE files.
// A sound's id is its slot's index; -1 means "not loaded" and every operation refuses it harmlessly.
#pragma once
#include <cstdint>
#include <string>

#include "platform/sound.h"

// One record of the table, fields in this order.
struct SoundSlot {
  platform::SoundBuffer* buffer;  // the loaded sound, or null
  int32_t state;                  // 0 free, 1 loaded; the free-slot search reads only this
  int32_t rate;                   // samples per second declared by the file (playback ignores it)
  int32_t size;                   // bytes of sample data, also the buffer's size
  int32_t id;                     // the slot's own index
};

constexpr int32_t kSoundSlotCount = 256;

// Play flag: loop until stopped (the game always plays once, flags 0).
constexpr uint32_t DSBPLAY_LOOPING = 1;

// Owned by the sound table; written only by the operations below.
extern SoundSlot SoundTable[kSoundSlotCount];
extern platform::SoundDeviceObject* SoundDevice;  // null until the first InitSound creates it
extern int32_t SoundInitPending;                  // 1 at program start, cleared by the first InitSound

// Start-up: creates the device on the first call; every call stops, releases and frees all slots. 1 or 0.
int32_t InitSound();

// Loads a WAVE file into the lowest free slot; returns the id or -1. The samples are played as
// 8-bit mono at 11025 Hz whatever the file declares.
int32_t LoadWav(const char* fileName);
// Why the last LoadWav gave -1, as the WAVE reader said it; empty after one that succeeded.
const std::string& LastWavLoadError();

// A new slot sharing the samples of slot id; returns its id or -1.
int32_t DuplicateSound(int32_t id);

// Plays slot id from its first sample (restarting it when it plays); flags 0 once, DSBPLAY_LOOPING loops.
// 1 on success or for a slot without sound, 0 when the platform refuses. The extras are ignored.
int32_t PlaySoundEffect(int32_t id, uint32_t flags, int32_t extra1, int32_t extra2, int32_t extra3);

// Non-zero while a rollback plays frames again: PlaySoundEffect then starts nothing and answers 1, so a frame that
// was heard once is not heard twice, and notes the sound's id in HeldSoundIds (the first kHeldSoundRecord of them,
// HeldSoundCount counting all; the rollback empties it before each frame). 0 unless a rollback sets it.
constexpr int32_t kHeldSoundRecord = 16;
extern int32_t SoundEffectsHeld;
extern int32_t HeldSoundIds[kHeldSoundRecord];
extern int32_t HeldSoundCount;

// volume 0 (quietest, -30 dB) to 100 (full); frequency in samples per second; pan in hundredths of a
// decibel, negative left. 1 when the platform accepts, else 0.
int32_t SetSoundVolume(int32_t id, int32_t volume);
int32_t SetSoundFrequency(int32_t id, int32_t frequency);
int32_t SetSoundPan(int32_t id, int32_t pan);

// Stops slot id and rewinds it; always 1.
int32_t StopSoundEffect(int32_t id);
int32_t StopAllSoundEffects();

// Stops and releases slot id's buffer; the slot stays marked loaded until InitSound. Always 1.
int32_t DeleteSound(int32_t id);
int32_t DeleteAllSounds();

// The platform's status flags of slot id (1 playing, 2 lost, 4 looping), or -1 for a slot without sound.
int32_t GetSoundStatus(int32_t id);

// Shut-down: stops every sound, releases every buffer and then the device. Always 1.
int32_t ShutdownSound();
