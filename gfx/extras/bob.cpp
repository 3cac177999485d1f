// Animated sprite objects: creation with padded frame surfaces, frames cut from bitmaps, animation sequences,
// wrap-or-bounce movement, keyed (optionally stretched) drawing, clones and overlap tests.
#include <cstdlib>
#include <cstring>

#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/extras/bob.h"
#include "gfx/extras/error_log.h"
#include "gfx/extras/lines.h"

namespace {

int32_t RowPadFor(int32_t width) {
  const int32_t remainder = width % 8;
  return remainder != 0 ? 8 - remainder : 0;
}

Surface* CurrentFrame(const Bob* bob) {
  if (bob->frameIndex < 0 || bob->frameIndex >= kBobMaxFrames) return nullptr;
  return bob->frames[bob->frameIndex];
}

// The frame at sequence position pos of the selected sequence, or the end marker when there is no sequence.
int32_t SequenceEntry(const Bob* bob, int32_t pos) {
  if (bob->sequenceIndex < 0 || bob->sequenceIndex >= kBobMaxSequences) return kBobSequenceEnd;
  const int32_t* sequence = bob->sequences[bob->sequenceIndex];
  return sequence != nullptr ? sequence[pos] : kBobSequenceEnd;
}

// One tick of the tick counter; true when an animation step is due.
bool StepDue(Bob* bob) {
  bob->tickCounter += 1;
  if (bob->tickCounter < bob->ticksPerStep) return false;
  bob->tickCounter = 0;
  return true;
}

void StepSequence(Bob* bob) {
  if (bob->sequenceIndex < 0 || bob->sequenceIndex >= kBobMaxSequences || !bob->sequences[bob->sequenceIndex]) return;
  bob->sequencePos += 1;
  bob->frameIndex = SequenceEntry(bob, bob->sequencePos);
  if (bob->frameIndex != kBobSequenceEnd) return;
  if (bob->attr & BobAttrOneShot) {
    // The last frame stays shown; every later step lands on the end again and comes back.
    bob->sequenceDone = 1;
    bob->sequencePos -= 1;
  } else {
    bob->sequencePos = 0;
  }
  bob->frameIndex = SequenceEntry(bob, bob->sequencePos);
}

}  // namespace

int32_t CreateBob(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frameCount, uint32_t attr,
                  uint32_t memFlags) {
  if (bob == nullptr) return 0;
  // Every field but the caller's spare words starts defined, so DestroyBob is safe after any failure below.
  bob->state = 1;
  bob->attr = attr;
  bob->sequenceDone = 0;
  std::memset(bob->spareCounters, 0, sizeof bob->spareCounters);
  bob->frameIndex = 0;
  bob->frameCount = frameCount;
  bob->sequenceIndex = bob->tickCounter = bob->sequencePos = bob->ticksPerStep = 0;
  bob->x = x;
  bob->y = y;
  bob->width = width;
  bob->height = height;
  bob->velX = bob->velY = 0;
  for (Surface*& frame : bob->frames) frame = nullptr;
  for (int32_t*& sequence : bob->sequences) sequence = nullptr;
  bob->rowPad = RowPadFor(width);
  // KEEP: the creation line carries the row padding, not a name (BobTest.CreationPadsFrames... reads it).
  WriteErrorLog("\nCreate BOB %d", bob->rowPad);

  // More frames than there are slots would write past the record.
  if (frameCount < 0 || frameCount > kBobMaxFrames) {
    bob->frameCount = 0;
    return 0;
  }
  if (DisplayDevice == nullptr) return 0;
  for (int32_t i = 0; i < frameCount; ++i) {
    Surface* frame = CreateOffscreenSurface(width + bob->rowPad, height, kSurfaceCapsOffscreenPlain | memFlags);
    if (frame == nullptr) return 0;
    // KEEP: frames start without a colour key: each caller sets it (the showcase, BobTest.DrawingIsAKeyed...).
    ClearColorKey(frame);
    bob->frames[i] = frame;
  }
  return 1;
}

int32_t DestroyBob(Bob* bob) {
  if (bob == nullptr) return 0;
  if (bob->attr & BobAttrClone) {
    // The frames and sequences belong to the source Bob: forget the frames, leave the sequences alone.
    for (Surface*& frame : bob->frames) frame = nullptr;
    return 1;
  }
  for (Surface*& frame : bob->frames) {
    if (frame != nullptr) Release(frame);
    frame = nullptr;
  }
  for (int32_t*& sequence : bob->sequences) {
    std::free(sequence);
    sequence = nullptr;
  }
  return 1;
}

int32_t CloneBob(const Bob* source, Bob* dest) {
  if (source == nullptr || dest == nullptr || source == dest) return 0;
  std::memcpy(dest, source, sizeof *dest);
  dest->attr |= BobAttrClone;
  return 1;
}

int32_t LoadBobFrame(Bob* bob, const BmpFileData* bitmap, int32_t frame, int32_t cx, int32_t cy, int32_t mode) {
  if (bob == nullptr || frame < 0 || frame >= kBobMaxFrames || bob->frames[frame] == nullptr) return 0;
  const int64_t px = mode == 0 ? static_cast<int64_t>(cx) * (static_cast<int64_t>(bob->width) + 1) + 1 : cx;
  const int64_t py = mode == 0 ? static_cast<int64_t>(cy) * (static_cast<int64_t>(bob->height) + 1) + 1 : cy;
  if (!BmpCellInside(bitmap, px, py, bob->width, bob->height)) return 0;
  Surface* surface = bob->frames[frame];
  // The surface must hold width bytes in each of height rows.
  if (surface->height < bob->height || surface->width < bob->width) return 0;
  int32_t pitch = 0;
  uint8_t* destination = LockSurface(surface, &pitch);
  if (destination == nullptr) return 0;
  const int64_t stride = bitmap->infoHeader.biWidth;
  const uint8_t* source = bitmap->pixels + py * stride + px;
  for (int32_t row = 0; row < bob->height; ++row)
    std::memcpy(destination + static_cast<intptr_t>(row) * pitch, source + row * stride,
                static_cast<size_t>(bob->width));
  UnlockSurface(surface);
  bob->attr |= BobAttrFramesLoaded;
  return 1;
}

int32_t LoadBobAnimation(Bob* bob, int32_t anim, int32_t count, const int32_t* sequence) {
  if (bob == nullptr || anim < 0 || anim >= kBobMaxSequences || count < 1 || sequence == nullptr) return 0;
  auto* copy = static_cast<int32_t*>(std::malloc((static_cast<size_t>(count) + 1) * sizeof(int32_t)));
  if (copy == nullptr) {
    bob->sequences[anim] = nullptr;
    return 0;
  }
  std::memcpy(copy, sequence, static_cast<size_t>(count) * sizeof(int32_t));
  copy[count] = kBobSequenceEnd;
  // KEEP: a sequence already in the slot is not freed: clones read it (BobTest.ACloneKeepsItsSequence...).
  // A clone stays valid for as long as its source lives; DestroyBob frees the sequences the slots hold then.
  bob->sequences[anim] = copy;
  // A shorter sequence replacing the selected one must not be read beyond its end.
  if (anim == bob->sequenceIndex) bob->sequencePos = 0;
  return 1;
}

int32_t AnimateBob(Bob* bob) {
  if (bob == nullptr) return 0;
  if (bob->attr & BobAttrSingleFrame) {
    bob->frameIndex = 0;
  } else if (bob->attr & BobAttrCycleFrames) {
    if (StepDue(bob)) {
      bob->frameIndex += 1;
      if (bob->frameIndex >= bob->frameCount) bob->frameIndex = 0;
    }
  } else if (bob->attr & BobAttrSequences) {
    if (StepDue(bob)) StepSequence(bob);
  }
  return 1;
}

int32_t MoveBob(Bob* bob) {
  if (bob == nullptr) return 0;
  bob->x += bob->velX;
  bob->y += bob->velY;
  if (bob->attr & BobAttrWrap) {
    if (bob->x > ClipMaxX) bob->x = ClipMinX - bob->width;
    else if (bob->x < ClipMinX - bob->width) bob->x = ClipMaxX;
    if (bob->y > ClipMaxY) bob->y = ClipMinY - bob->height;
    else if (bob->y < ClipMinY - bob->height) bob->y = ClipMaxY;
  } else if (bob->attr & BobAttrBounce) {
    // KEEP: only the velocity turns; the position stays outside (BobTest.BounceTurnsVelocityButLeaves...).
    if (bob->x > ClipMaxX - bob->width || bob->x < ClipMinX) bob->velX = -bob->velX;
    if (bob->y > ClipMaxY - bob->height || bob->y < ClipMinY) bob->velY = -bob->velY;
  }
  return 1;
}

int32_t DrawBob(Bob* bob, Surface* dest) {
  if (bob == nullptr) return 0;
  if (!(bob->attr & BobAttrVisible)) return 1;
  Surface* frame = CurrentFrame(bob);
  if (frame == nullptr || dest == nullptr) return 0;
  const RectL source{0, 0, bob->width, bob->height};
  const RectL target{bob->x, bob->y, bob->x + bob->width, bob->y + bob->height};
  return StretchBlitSurface(frame, source, dest, target, true) ? 1 : 0;
}

int32_t DrawBobScaled(Bob* bob, int32_t drawWidth, int32_t drawHeight, Surface* dest) {
  if (bob == nullptr) return 0;
  if (!(bob->attr & BobAttrVisible)) return 1;
  Surface* frame = CurrentFrame(bob);
  if (frame == nullptr || dest == nullptr) return 0;
  const RectL source{0, 0, bob->width, bob->height};
  const RectL target{bob->x, bob->y, bob->x + drawWidth, bob->y + drawHeight};
  return StretchBlitSurface(frame, source, dest, target, true) ? 1 : 0;
}

int32_t SetBobPosition(Bob* bob, int32_t x, int32_t y) {
  if (bob == nullptr) return 0;
  bob->x = x;
  bob->y = y;
  return 1;
}

int32_t SetBobVelocity(Bob* bob, int32_t velX, int32_t velY) {
  if (bob == nullptr) return 0;
  bob->velX = velX;
  bob->velY = velY;
  return 1;
}

int32_t SetBobAnimationSpeed(Bob* bob, int32_t ticks) {
  if (bob == nullptr) return 0;
  bob->ticksPerStep = ticks;
  return 1;
}

int32_t SetBobAnimation(Bob* bob, int32_t anim) {
  if (bob == nullptr) return 0;
  bob->sequenceIndex = anim;
  bob->sequencePos = 0;
  return 1;
}

int32_t ShowBob(Bob* bob) {
  if (bob == nullptr) return 0;
  bob->attr |= BobAttrVisible;
  return 1;
}

int32_t HideBob(Bob* bob) {
  if (bob == nullptr) return 0;
  bob->attr &= ~BobAttrVisible;
  return 1;
}

int32_t RectsCollide(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2, int32_t h2) {
  // KEEP: the boxes shrink to about three eighths each way (BobCollision.ReducedBoxesMustOverlap...).
  // Half-extents reduced by an eighth of the size: (w >> 1) - (w >> 3).
  const int32_t halfW1 = (w1 >> 1) - (w1 >> 3), halfH1 = (h1 >> 1) - (h1 >> 3);
  const int32_t halfW2 = (w2 >> 1) - (w2 >> 3), halfH2 = (h2 >> 1) - (h2 >> 3);
  const int64_t dx = static_cast<int64_t>(x2) + halfW2 - (static_cast<int64_t>(x1) + halfW1);
  const int64_t dy = static_cast<int64_t>(y2) + halfH2 - (static_cast<int64_t>(y1) + halfH1);
  return (dx < 0 ? -dx : dx) < static_cast<int64_t>(halfW1) + halfW2 &&
         (dy < 0 ? -dy : dy) < static_cast<int64_t>(halfH1) + halfH2;
}

int32_t BobsCollide(const Bob* a, const Bob* b) {
  if (a == nullptr || b == nullptr) return 0;
  return RectsCollide(a->x, a->y, a->width, a->height, b->x, b->y, b->width, b->height);
}
