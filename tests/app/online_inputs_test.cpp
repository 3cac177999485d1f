// The online input book (acknowledgements, gaps, predictions proved wrong) and the frame both machines play made
// from the two players' parts.
#include <gtest/gtest.h>

#include "app/online/frame_input.h"
#include "app/online/input_ledger.h"
#include "input/key_codes.h"

namespace {

Message InputsOf(uint32_t ack, uint32_t first, std::initializer_list<uint8_t> bits) {
  Message m;
  m.kind = MessageKind::Inputs;
  m.ackFrame = ack;
  m.firstFrame = first;
  for (uint8_t b : bits) m.inputs[m.inputCount++].bits = b;
  return m;
}

TEST(InputLedger, AcknowledgedInputsAreNotSentAgainAndGapsWaitForTheirFrames) {
  InputLedger ledger;
  StartLedger(&ledger);
  for (int64_t frame = 1; frame <= 5; ++frame) ASSERT_TRUE(AddOwnInput(&ledger, frame, {kInputSpace, 1, 0}));
  EXPECT_FALSE(AddOwnInput(&ledger, 7, {})) << "frames are added in order";
  Message out;
  FillInputsMessage(ledger, &out);
  EXPECT_EQ(out.firstFrame, 1u);
  EXPECT_EQ(out.inputCount, 5);
  EXPECT_EQ(out.ackFrame, 0u);

  EXPECT_TRUE(TakeInputsMessage(&ledger, InputsOf(3, 1, {kInputLeft, kInputLeft})));
  EXPECT_EQ(ledger.otherNewest, 2);
  FillInputsMessage(ledger, &out);
  EXPECT_EQ(out.firstFrame, 4u);
  EXPECT_EQ(out.inputCount, 2);
  EXPECT_EQ(out.ackFrame, 2u);

  EXPECT_TRUE(TakeInputsMessage(&ledger, InputsOf(3, 5, {kInputRight})));
  EXPECT_EQ(ledger.otherNewest, 2) << "frame 5 waits for frames 3 and 4";
  EXPECT_TRUE(TakeInputsMessage(&ledger, InputsOf(3, 2, {kInputLeft, kInputRight, kInputRight})));
  EXPECT_EQ(ledger.otherNewest, 4) << "an overlapping message continues the frames";
  EXPECT_FALSE(TakeInputsMessage(&ledger, InputsOf(9, 5, {}))) << "an acknowledgement of frames never sent";
  EXPECT_EQ(ledger.ownAcknowledged, 3);
}

TEST(InputLedger, PredictionIsTheNewestKnownInputAndTheFirstWrongFrameIsFound) {
  InputLedger ledger;
  StartLedger(&ledger);
  EXPECT_EQ(OtherInput(ledger, 1).bits, 0) << "nothing known: no key held";
  ASSERT_TRUE(TakeInputsMessage(&ledger, InputsOf(0, 1, {kInputLeft})));
  for (int64_t frame = 1; frame <= 6; ++frame) {
    AddOwnInput(&ledger, frame, {});
    EXPECT_EQ(OtherInput(ledger, frame).bits, kInputLeft) << frame;
    NotePlayed(&ledger, frame, OtherInput(ledger, frame));
  }
  EXPECT_EQ(NewestConfirmedFrame(ledger), 1);
  // Frames 2 and 3 were guessed right, frame 4 wrong, frame 5 wrong again: the first wrong one counts.
  ASSERT_TRUE(TakeInputsMessage(&ledger, InputsOf(6, 2, {kInputLeft, kInputLeft, kInputRight, kInputSpace})));
  EXPECT_EQ(ledger.firstWrong, 4);
  EXPECT_EQ(NewestConfirmedFrame(ledger), 5);
  EXPECT_EQ(OtherInput(ledger, 6).bits, kInputSpace);
}

TEST(OnlineFrameInput, EachPlayerOwnsItsKeys) {
  const struct {
    uint8_t host, joiner;
    std::vector<uint8_t> keys;
  } cases[] = {
      {kInputRightControl | kInputLeftShift, kInputLeftShift | kInputRightControl, {DIK_LSHIFT, DIK_RCONTROL}},
      {kInputLeft | kInputRight, kInputLeft | kInputRight, {DIK_LEFT, DIK_RIGHT}},
      {kInputSpace, 0, {DIK_SPACE}},
      {0, kInputSpace, {DIK_SPACE}},
      {kInputButton | kInputNewMatch, kInputButton, {}},
  };
  for (const auto& c : cases) {
    platform::InputFrame frame;
    MergeFrameInput({c.host, 7, -2}, {c.joiner, 99, 99}, &frame);
    EXPECT_EQ(frame.keysHeld, c.keys);
    EXPECT_EQ(frame.dx, 7);
    EXPECT_EQ(frame.dy, -2);
  }
  platform::InputFrame sampled;
  sampled.dx = 100000;
  sampled.primaryButton = true;
  sampled.keysHeld = {DIK_LSHIFT, DIK_SPACE, DIK_RCONTROL};
  const PlayerInput host = OwnPlayerInput(OnlineRole::Host, sampled);
  EXPECT_EQ(host.bits, kInputSpace | kInputRightControl | kInputButton);
  EXPECT_EQ(host.dx, 32767);
  const PlayerInput joiner = OwnPlayerInput(OnlineRole::Joiner, sampled);
  EXPECT_EQ(joiner.bits, kInputSpace | kInputLeftShift);
  EXPECT_EQ(joiner.dx, 0);
}

}  // namespace
