// The animated sprite object (Bob): position, velocity, up to 64 frame surfaces and 16 animation sequences,
// with attribute bits that choose how it animates, moves and shows. Records are caller-owned; no list is kept.
#pragma once

#include <cstdint>

#include "gfx/extras/bmp_file.h"
#include "gfx/surface.h"

inline constexpr int32_t kBobMaxFrames = 64;
inline constexpr int32_t kBobMaxSequences = 16;
inline constexpr int32_t kBobSequenceEnd = -1;

// Attribute bits of Bob::attr. Their names are the library's own, fixed by its design, so they carry no k.
inline constexpr uint32_t BobAttrSingleFrame = 0x1;    // animation keeps frame 0
inline constexpr uint32_t BobAttrCycleFrames = 0x2;    // animation loops through every frame
inline constexpr uint32_t BobAttrSequences = 0x4;      // animation steps through the selected sequence
inline constexpr uint32_t BobAttrOneShot = 0x8;        // ...and stops on its last frame
inline constexpr uint32_t BobAttrVisible = 0x10;       // drawn at all
inline constexpr uint32_t BobAttrBounce = 0x20;        // velocity reverses at the clip rectangle
inline constexpr uint32_t BobAttrWrap = 0x40;          // position wraps round the clip rectangle (before bounce)
inline constexpr uint32_t BobAttrFramesLoaded = 0x80;  // a frame has been filled
inline constexpr uint32_t BobAttrClone = 0x100;        // frames and sequences belong to another Bob

struct Bob {
  int32_t state;         // 1 after CreateBob
  int32_t sequenceDone;  // 1 once a one-shot sequence reached its end
  uint32_t attr;
  int32_t x, y;
  int32_t velX, velY;
  int32_t width, height;  // one frame
  int32_t rowPad;         // added to width so frame surfaces are a multiple of 8 wide
  int32_t spareCounters[4];
  uint32_t spareWords[32];
  int32_t frameIndex;
  int32_t frameCount;
  int32_t sequenceIndex;
  int32_t tickCounter;
  int32_t sequencePos;
  int32_t ticksPerStep;
  int32_t* sequences[kBobMaxSequences];  // owned arrays of frame indices ending with -1, or null
  Surface* frames[kBobMaxFrames];        // owned off-screen surfaces, or null
};

// Initialises every field and creates frameCount (0..64) frame surfaces of (width + rowPad) x height in the
// display's format with the given memory placement bits; logs the row padding. No colour key is set.
// Returns 0 at the first surface that cannot be made (earlier ones stay for DestroyBob).
int32_t CreateBob(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frameCount, uint32_t attr,
                  uint32_t memFlags);
// Releases the frames and frees the sequences; a clone only forgets its borrowed frames.
int32_t DestroyBob(Bob* bob);
// Copies source over dest and marks dest a clone sharing the source's frames and sequences.
int32_t CloneBob(const Bob* source, Bob* dest);

// Fills frame `frame` from an 8-bit bitmap: mode 0 reads cell (cx, cy) of a grid of width x height cells with
// one-pixel lines around each; any other mode reads the pixel position (cx, cy). Refused (0) for a frame index
// outside 0..63, an empty slot, or a cell not inside the bitmap.
int32_t LoadBobFrame(Bob* bob, const BmpFileData* bitmap, int32_t frame, int32_t cx, int32_t cy, int32_t mode);
// Stores a copy of count (at least 1) frame indices, ended with -1, as sequence anim (0..15). A sequence the
// slot held before is not freed: clones may share it; DestroyBob frees what the slots hold at the end.
int32_t LoadBobAnimation(Bob* bob, int32_t anim, int32_t count, const int32_t* sequence);

// One animation tick; the first of single-frame, cycle, sequences that is set acts.
int32_t AnimateBob(Bob* bob);
// Adds the velocity, then wraps or bounces at the clip rectangle.
int32_t MoveBob(Bob* bob);
// Keyed blit of the current frame at (x, y); a hidden Bob draws nothing and succeeds. 0 when the blit fails.
int32_t DrawBob(Bob* bob, Surface* dest);
// The same, stretched to drawWidth x drawHeight.
int32_t DrawBobScaled(Bob* bob, int32_t drawWidth, int32_t drawHeight, Surface* dest);

int32_t SetBobPosition(Bob* bob, int32_t x, int32_t y);
int32_t SetBobVelocity(Bob* bob, int32_t velX, int32_t velY);
int32_t SetBobAnimationSpeed(Bob* bob, int32_t ticks);
// Selects a sequence from its start; the shown frame changes at the next animation step.
int32_t SetBobAnimation(Bob* bob, int32_t anim);
int32_t ShowBob(Bob* bob);
int32_t HideBob(Bob* bob);

// Overlap of boxes reduced to about three eighths of their size round a reference point; strict comparisons.
int32_t BobsCollide(const Bob* a, const Bob* b);
int32_t RectsCollide(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2, int32_t h2);
