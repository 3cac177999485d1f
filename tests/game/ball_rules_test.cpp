// The ball rules, rule by rule: walls and miss lines, paddle hits, scoring, level-ups, clamps and the
// generator, with the sounds each one starts (read back from the headless sound buffers, in order).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/asset_catalogue.h"
#include "audio/sound_effects.h"
#include "game/ball_rules.h"
#include "game/match_state.h"
#include "platform/headless/headless.h"
#include "platform/sound.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wave_file.h"

namespace {

enum class Heard { Bounce, Score, Other };

class BallRules : public testsupport::HeadlessSoundTest {
 protected:
  void SetUp() override {
    HeadlessSoundTest::SetUp();
    ASSERT_EQ(InitSound(), 1);
    const std::string folder = testfiles::ProcessFolder();
    testwave::WaveLayout blip;
    blip.samples = testwave::Ramp(64);
    BounceSound = LoadWav(testwave::WriteFile(folder + "rules_bounce.wav", testwave::BuildWave(blip)).c_str());
    ScoreSound = LoadWav(testwave::WriteFile(folder + "rules_score.wav", testwave::BuildWave(blip)).c_str());
    ASSERT_EQ(BounceSound, 0);
    ASSERT_EQ(ScoreSound, 1);
    platform::TakeStartedBuffers();
    ResetMatch();
    RandomState = 1;
    PlayerCount = 1;
    Paddle1X = Paddle2X = PointerX = 200;
  }

  // The sounds started since the last call, by name.
  std::vector<Heard> SoundsHeard() {
    std::vector<Heard> heard;
    for (platform::SoundBuffer* buffer : platform::TakeStartedBuffers()) {
      if (buffer == SoundTable[BounceSound].buffer) heard.push_back(Heard::Bounce);
      else if (buffer == SoundTable[ScoreSound].buffer) heard.push_back(Heard::Score);
      else heard.push_back(Heard::Other);
    }
    return heard;
  }

  void PlaceBall(int32_t x, int32_t y, int32_t dx, int32_t dy) {
    BallX = x;
    BallY = y;
    BallDX = dx;
    BallDY = dy;
  }
};

}  // namespace

TEST(MatchState, ResetStartsAMatchAndLeavesPaddlesPointerPlayersBlockAndHiddenMode) {
  BallX = BallY = BallDX = BallDY = 77;
  Serve1Pending = 0;
  Serve2Pending = 1;
  Lives1 = Lives2 = 0;
  Score1 = Score2 = 5000;
  HitCount = 7;
  Level = 9;
  PlayerCount = 2;
  Paddle1X = 40;
  Paddle2X = 50;
  PointerX = 60;
  PointerY = 70;
  BlockX = 80;
  BlockY = 90;
  HiddenModeCount = 3;
  EXPECT_TRUE(ResetMatch());
  EXPECT_EQ(BallX, 100);
  EXPECT_EQ(BallY, 100);
  EXPECT_EQ(BallDX, 10);
  EXPECT_EQ(BallDY, 8);
  EXPECT_EQ(Serve1Pending, 1);
  EXPECT_EQ(Serve2Pending, 0);
  EXPECT_EQ(Lives1, 3);
  EXPECT_EQ(Lives2, 3);
  EXPECT_EQ(Score1, 0);
  EXPECT_EQ(Score2, 0);
  EXPECT_EQ(HitCount, 0);
  EXPECT_EQ(Level, 0);
  EXPECT_EQ(PlayerCount, 2);
  EXPECT_EQ(Paddle1X, 40);
  EXPECT_EQ(Paddle2X, 50);
  EXPECT_EQ(PointerX, 60);
  EXPECT_EQ(PointerY, 70);
  EXPECT_EQ(BlockX, 80);
  EXPECT_EQ(BlockY, 90);
  EXPECT_EQ(HiddenModeCount, 3);
}

TEST(RandomGenerator, StartsAtOneAndFollowsTheFixedSequence) {
  RandomState = 1;
  const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  for (int32_t value : expected) EXPECT_EQ(NextRandom(), value);
  RandomState = 0xFFFFFFFFu;  // wraps modulo 2^32
  EXPECT_EQ(NextRandom(), static_cast<int32_t>(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

TEST_F(BallRules, SideWallsStepTheBallBackInsideWithOneBounce) {
  PlaceBall(12, 200, -8, 4);
  CheckWalls();
  EXPECT_EQ(BallDX, 8);
  EXPECT_EQ(BallX, 20);
  EXPECT_EQ(SoundsHeard(), std::vector<Heard>{Heard::Bounce});

  PlaceBall(433, 200, 6, 4);
  CheckWalls();
  EXPECT_EQ(BallDX, -6);
  EXPECT_EQ(BallX, 427);
  EXPECT_EQ(SoundsHeard(), std::vector<Heard>{Heard::Bounce});

  PlaceBall(16, 200, -3, 4);  // one pixel inside the left wall: no contact
  CheckWalls();
  EXPECT_EQ(BallDX, -3);
  PlaceBall(432, 200, 3, 4);
  CheckWalls();
  EXPECT_EQ(BallDX, 3);
  EXPECT_TRUE(SoundsHeard().empty());
}

TEST_F(BallRules, EndWallZonesNegateTwiceSoTheBallMovesOnOutwards) {
  PlaceBall(200, 10, 4, -8);
  CheckWalls();
  EXPECT_EQ(BallDY, -8);
  EXPECT_EQ(BallY, 2);
  EXPECT_EQ(Lives1, 2);
  EXPECT_EQ(Serve1Pending, 1);
  EXPECT_EQ(SoundsHeard(), std::vector<Heard>{Heard::Bounce});

  PlaceBall(200, 458, 4, 8);
  CheckWalls();
  EXPECT_EQ(BallDY, 8);
  EXPECT_EQ(BallY, 466);
  EXPECT_EQ(Lives1, 1);
  EXPECT_EQ(SoundsHeard(), std::vector<Heard>{Heard::Bounce});
}

TEST_F(BallRules, MissLinesShortOfTheEndWallsReverseTheBallSilently) {
  PlaceBall(200, 16, 4, -8);
  CheckWalls();
  EXPECT_EQ(BallDY, 8);
  EXPECT_EQ(BallY, 16);
  EXPECT_EQ(Lives1, 2);
  for (int32_t y : {448, 457}) {
    PlaceBall(200, y, 4, 8);
    CheckWalls();
    EXPECT_EQ(BallDY, -8);
    EXPECT_EQ(BallY, y);
  }
  EXPECT_EQ(Lives1, 0);
  EXPECT_EQ(Serve1Pending, 1);
  EXPECT_TRUE(SoundsHeard().empty());

  PlaceBall(200, 17, 4, -8);  // above the top miss line by one
  CheckWalls();
  PlaceBall(200, 447, 4, 8);
  CheckWalls();
  EXPECT_EQ(Lives1, 0);
  EXPECT_EQ(BallDY, 8);
}

TEST_F(BallRules, TopMissCostsPlayerTwoInATwoPlayerMatchAndPlayerOneAlone) {
  PlayerCount = 2;
  Serve1Pending = 0;
  PlaceBall(200, 16, 4, -8);
  CheckWalls();
  EXPECT_EQ(Lives2, 2);
  EXPECT_EQ(Serve2Pending, 1);
  EXPECT_EQ(Lives1, 3);
  EXPECT_EQ(Serve1Pending, 0);

  PlayerCount = 1;
  Serve2Pending = 0;
  PlaceBall(200, 16, 4, -8);
  CheckWalls();
  EXPECT_EQ(Lives1, 2);
  EXPECT_EQ(Serve1Pending, 1);
  EXPECT_EQ(Lives2, 2);
  EXPECT_EQ(Serve2Pending, 0);
}

TEST_F(BallRules, PaddleHitSpanIncludesBothEndsAndNothingOutside) {
  Paddle1X = 100;
  PlaceBall(176, 437, 10, 8);
  CheckPaddleHits();
  EXPECT_EQ(Score1, 64);
  EXPECT_EQ(BallDY, -8);
  EXPECT_EQ(BallY, 429);

  PlaceBall(100, 437, 10, 8);
  CheckPaddleHits();
  EXPECT_EQ(Score1, 128);

  for (int32_t x : {99, 177}) {
    PlaceBall(x, 437, 10, 8);
    CheckPaddleHits();
    EXPECT_EQ(BallDY, 8) << "x " << x;
  }
  EXPECT_EQ(Score1, 128);
  EXPECT_EQ(HitCount, 2);
}

TEST_F(BallRules, BottomPaddleZoneStartsAt437) {
  Paddle1X = 100;
  PlaceBall(150, 436, 10, 8);
  CheckPaddleHits();
  EXPECT_EQ(Score1, 0);
  EXPECT_TRUE(SoundsHeard().empty());
  PlaceBall(150, 437, 10, 8);
  CheckPaddleHits();
  EXPECT_EQ(Score1, 64);
  EXPECT_EQ(SoundsHeard(), std::vector<Heard>{Heard::Bounce});
}

TEST_F(BallRules, HitTakesTheNudgeFromTheGeneratorOffBallDX) {
  Paddle1X = 100;
  PlaceBall(150, 440, 10, 8);
  CheckPaddleHits();  // first draw 41: nudge 1
  EXPECT_EQ(BallDX, 9);
  PlaceBall(150, 440, 10, 8);
  CheckPaddleHits();  // 18467: nudge 2
  EXPECT_EQ(BallDX, 8);
  PlaceBall(150, 440, 10, 8);
  CheckPaddleHits();  // 6334: nudge 4
  EXPECT_EQ(BallDX, 6);
}

TEST_F(BallRules, BallAt450OverThePaddleIsBothAMissAndAHitInOneFrame) {
  Paddle1X = 100;
  Serve1Pending = 0;
  PlaceBall(150, 450, 10, 8);
  CheckWalls();
  EXPECT_EQ(Lives1, 2);
  EXPECT_EQ(Serve1Pending, 1);
  EXPECT_EQ(BallDY, -8);
  CheckPaddleHits();
  EXPECT_EQ(Score1, 64);
  EXPECT_EQ(HitCount, 1);
  EXPECT_EQ(BallDY, 8);
  EXPECT_EQ(BallY, 458);
  EXPECT_EQ(SoundsHeard(), std::vector<Heard>{Heard::Bounce});
}

TEST_F(BallRules, TopPaddleHitScoresForPlayerTwoOrForPlayerOneAlone) {
  PlayerCount = 1;
  Paddle1X = 100;
  Paddle2X = 300;  // mirrored to 100 in a one-player match
  PlaceBall(150, 30, 10, -8);
  CheckPaddleHits();
  EXPECT_EQ(Paddle2X, 100);
  EXPECT_EQ(Score1, 64);
  EXPECT_EQ(Score2, 0);
  EXPECT_EQ(BallDY, 8);
  EXPECT_EQ(BallY, 38);

  PlayerCount = 2;
  Paddle2X = 300;
  PlaceBall(150, 20, 10, -8);  // over paddle 1's place, not paddle 2's
  CheckPaddleHits();
  EXPECT_EQ(Score2, 0);
  PlaceBall(310, 31, 10, -8);
  CheckPaddleHits();
  EXPECT_EQ(Score2, 0);
  PlaceBall(310, 30, 10, -8);
  CheckPaddleHits();
  EXPECT_EQ(Score2, 64);
  EXPECT_EQ(Score1, 64);
}

TEST_F(BallRules, TenthHitScoresBothAmountsPlaysBothSoundsAndBonusGoesToPlayerOne) {
  PlayerCount = 2;
  Paddle2X = 100;
  HitCount = 9;
  Level = 3;
  PlaceBall(150, 25, 10, -8);
  CheckPaddleHits();
  EXPECT_EQ(HitCount, 0);
  EXPECT_EQ(Level, 4);
  EXPECT_EQ(Score2, 64);
  EXPECT_EQ(Score1, 1024);
  EXPECT_EQ(SoundsHeard(), (std::vector<Heard>{Heard::Bounce, Heard::Score}));

  Paddle1X = 100;
  HitCount = 9;
  PlaceBall(150, 440, 10, 8);
  CheckPaddleHits();
  EXPECT_EQ(Score1, 1024 + 64 + 1024);
  EXPECT_EQ(Level, 5);
}

TEST_F(BallRules, NinthHitDoesNotLevelUp) {
  Paddle1X = 100;
  HitCount = 8;
  PlaceBall(150, 440, 10, 8);
  CheckPaddleHits();
  EXPECT_EQ(HitCount, 9);
  EXPECT_EQ(Level, 0);
  EXPECT_EQ(Score1, 64);
  EXPECT_EQ(SoundsHeard(), std::vector<Heard>{Heard::Bounce});
}

TEST_F(BallRules, LevelUpAddsTwoToTheMagnitudeOfEachMovingComponent) {
  struct Case {
    int32_t dx, dy, wantDx, wantDy;
  };
  for (const Case& c : {Case{-7, 8, -9, 10}, Case{5, -12, 7, -14}, Case{0, 8, 0, 10}, Case{-1, 0, -3, 0}}) {
    PlaceBall(200, 200, c.dx, c.dy);  // far from both paddles: only the level-up acts
    HitCount = 10;
    CheckPaddleHits();
    EXPECT_EQ(BallDX, c.wantDx) << c.dx << "," << c.dy;
    EXPECT_EQ(BallDY, c.wantDy) << c.dx << "," << c.dy;
    EXPECT_EQ(HitCount, 0);
  }
  EXPECT_EQ(Level, 4);
  EXPECT_EQ(Score1, 4 * 1024);
}

TEST_F(BallRules, PointerAndPaddlesAreClampedTo15Through364) {
  PlayerCount = 2;
  PlaceBall(200, 200, 1, 1);
  struct Case {
    int32_t value, want;
  };
  for (const Case& c : {Case{-500, 15}, Case{14, 15}, Case{15, 15}, Case{16, 16}, Case{363, 363}, Case{364, 364},
                        Case{365, 364}, Case{9000, 364}}) {
    PointerX = Paddle1X = Paddle2X = c.value;
    CheckPaddleHits();
    EXPECT_EQ(PointerX, c.want) << c.value;
    EXPECT_EQ(Paddle1X, c.want) << c.value;
    EXPECT_EQ(Paddle2X, c.want) << c.value;
  }
  Paddle1X = 100;
  Paddle2X = 300;
  CheckPaddleHits();
  EXPECT_EQ(Paddle2X, 300);  // two players: the top paddle is player 2's own
}
