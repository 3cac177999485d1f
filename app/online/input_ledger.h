// One peer's book of inputs in an online match: its own inputs by frame until the other side has them, the other
// side's as they arrive without a gap, what was predicted for the frames played before theirs came, and the
// earliest frame a prediction got wrong.
#pragma once
#include <cstdint>

#include "app/online/protocol.h"

// Frames the book holds of each side, well beyond what the rollback window lets either side run ahead.
constexpr int32_t kLedgerFrames = 128;

// Frames are numbered from 1 within a session; 0 means "none yet".
struct InputLedger {
  PlayerInput own[kLedgerFrames];
  int64_t ownNewest = 0;        // own inputs known for frames 1..ownNewest
  int64_t ownAcknowledged = 0;  // the other side holds our frames 1..ownAcknowledged
  PlayerInput other[kLedgerFrames];
  int64_t otherNewest = 0;                  // the other side's inputs known, without a gap, for 1..otherNewest
  PlayerInput usedForOther[kLedgerFrames];  // what each played frame used for the other side (actual or predicted)
  int64_t playedNewest = 0;                 // frames 1..playedNewest have been played
  int64_t firstWrong = 0;  // earliest played frame whose prediction the other side's input has proved wrong
};

// Starts a new book (a new session).
void StartLedger(InputLedger* ledger);

// Our input for frame (which must be ownNewest + 1).
bool AddOwnInput(InputLedger* ledger, int64_t frame, const PlayerInput& input);
const PlayerInput& OwnInput(const InputLedger& ledger, int64_t frame);

// The other side's input for a frame: its own when known, else the newest known (the prediction), else nothing.
PlayerInput OtherInput(const InputLedger& ledger, int64_t frame);

// Notes that frame was played with `used` for the other side (frames are played, and played again, in order).
// Once the frames from firstWrong on have been played again, the caller sets firstWrong back to 0.
void NotePlayed(InputLedger* ledger, int64_t frame, const PlayerInput& used);

// Takes an Inputs message: the other side's frames that continue ours without a gap (others are ignored; they
// come again), its acknowledgement of ours, and any frame already played with a prediction that now proves
// wrong (firstWrong). False for a message that cannot be from a well-behaved peer (an acknowledgement of frames we
// never had), which is then ignored whole.
bool TakeInputsMessage(InputLedger* ledger, const Message& message);

// Fills an Inputs message with our unacknowledged inputs (the oldest kMaxInputsPerMessage of them) and our
// acknowledgement; the hash fields are left to the caller.
void FillInputsMessage(const InputLedger& ledger, Message* message);

// The newest frame both sides' inputs are known for (and played): its state is final.
int64_t NewestConfirmedFrame(const InputLedger& ledger);
