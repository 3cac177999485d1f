// The set-up every test on the headless backend shares: the backend chosen, and for the tests that play sound,
// the sound service put back as the program finds it at start, so no case sees what an earlier case left.
#pragma once
#include <gtest/gtest.h>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"

namespace testsupport {

// The headless backend: no window, no audio device, a virtual clock.
inline void UseHeadlessBackend() { platform::SelectBackend(platform::Backend::Headless); }

// Music and sound shut down and the device available again; the next InitSound makes the device anew.
inline void ResetSound() {
  platform::SetHeadlessSoundDeviceAvailable(true);
  ShutdownMusic();
  ShutdownSound();
  SoundInitPending = 1;
}

// A fixture on the headless backend; Base is ::testing::Test or a ::testing::TestWithParam.
template <typename Base = ::testing::Test>
class OnHeadless : public Base {
 protected:
  void SetUp() override { UseHeadlessBackend(); }
};
class HeadlessTest : public OnHeadless<> {};

// A fixture on the headless backend with the sound service reset (nothing initialised yet).
class HeadlessSoundTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetSound();
  }
};

}  // namespace testsupport
