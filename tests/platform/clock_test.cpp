// The headless clock: still until the program waits, wrapping at 32 bits.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "tests/support/headless_fixture.h"

TEST(HeadlessClock, MovesOnlyWhenTheProgramWaits) {
  testsupport::UseHeadlessBackend();
  platform::SetVirtualTicks(100);
  EXPECT_EQ(platform::GetTicks(), 100u);
  EXPECT_EQ(platform::GetTicks(), 100u);
  platform::SleepMs(28);
  platform::PauseBriefly();
  EXPECT_EQ(platform::GetTicks(), 129u);
}

TEST(HeadlessClock, WrapsAtThirtyTwoBits) {
  testsupport::UseHeadlessBackend();
  platform::SetVirtualTicks(0xFFFFFFF0u);
  platform::SleepMs(0x20);
  EXPECT_EQ(platform::GetTicks(), 0x10u);
}
