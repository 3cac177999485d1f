// The input book: rings indexed by frame, the other side's inputs taken only where they continue without a gap,
// and the comparison of each newly known input with what a played frame assumed.
#include "app/online/input_ledger.h"

#include <algorithm>

namespace {

int32_t SlotOf(int64_t frame) { return static_cast<int32_t>(frame % kLedgerFrames); }

bool SameInput(const PlayerInput& a, const PlayerInput& b) { return a.bits == b.bits && a.dx == b.dx && a.dy == b.dy; }

}  // namespace

void StartLedger(InputLedger* ledger) { *ledger = InputLedger{}; }

bool AddOwnInput(InputLedger* ledger, int64_t frame, const PlayerInput& input) {
  // A frame the other side has not acknowledged must not be written over.
  if (frame != ledger->ownNewest + 1 || frame - ledger->ownAcknowledged >= kLedgerFrames) return false;
  ledger->own[SlotOf(frame)] = input;
  ledger->ownNewest = frame;
  return true;
}

const PlayerInput& OwnInput(const InputLedger& ledger, int64_t frame) { return ledger.own[SlotOf(frame)]; }

PlayerInput OtherInput(const InputLedger& ledger, int64_t frame) {
  if (ledger.otherNewest == 0) return PlayerInput{};
  return ledger.other[SlotOf(std::min(frame, ledger.otherNewest))];
}

void NotePlayed(InputLedger* ledger, int64_t frame, const PlayerInput& used) {
  ledger->usedForOther[SlotOf(frame)] = used;
  ledger->playedNewest = std::max(ledger->playedNewest, frame);
}

bool TakeInputsMessage(InputLedger* ledger, const Message& message) {
  if (message.ackFrame > static_cast<uint64_t>(ledger->ownNewest)) return false;
  ledger->ownAcknowledged = std::max<int64_t>(ledger->ownAcknowledged, message.ackFrame);
  const int64_t first = message.firstFrame;
  const int64_t last = first + message.inputCount - 1;
  if (message.inputCount == 0 || first < 1 || first > ledger->otherNewest + 1) return true;
  for (int64_t frame = ledger->otherNewest + 1; frame <= last; ++frame) {
    // Our own frames bound how far the other side may run ahead: beyond the book's size it cannot be honest.
    if (frame - NewestConfirmedFrame(*ledger) >= kLedgerFrames) break;
    const PlayerInput& input = message.inputs[frame - first];
    ledger->other[SlotOf(frame)] = input;
    ledger->otherNewest = frame;
    if (frame <= ledger->playedNewest && !SameInput(input, ledger->usedForOther[SlotOf(frame)]) &&
        (ledger->firstWrong == 0 || frame < ledger->firstWrong)) {
      ledger->firstWrong = frame;
    }
  }
  return true;
}

void FillInputsMessage(const InputLedger& ledger, Message* message) {
  message->kind = MessageKind::Inputs;
  message->ackFrame = static_cast<uint32_t>(ledger.otherNewest);
  const int64_t first = ledger.ownAcknowledged + 1;
  const int64_t count = std::clamp<int64_t>(ledger.ownNewest - ledger.ownAcknowledged, 0, kMaxInputsPerMessage);
  message->firstFrame = static_cast<uint32_t>(count > 0 ? first : 0);
  message->inputCount = static_cast<uint8_t>(count);
  for (int64_t i = 0; i < count; ++i) message->inputs[i] = ledger.own[SlotOf(first + i)];
}

int64_t NewestConfirmedFrame(const InputLedger& ledger) { return std::min(ledger.playedNewest, ledger.otherNewest); }
