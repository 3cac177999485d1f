// The input devices on the headless backend: set-up results, what each read puts in its record,
// what a missing or half-set-up device does, the joystick's enumeration, name, range and dead zone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "input/input_devices.h"
#include "input/key_codes.h"
#include "platform/headless/headless.h"
#include "tests/support/headless_fixture.h"

namespace {

platform::InputGuid GuidWithMark(uint8_t mark) {
  platform::InputGuid guid;
  guid.data1 = 0x12345600u + mark;
  guid.data4[7] = mark;
  return guid;
}

platform::HeadlessJoystick Joystick(uint8_t mark, const std::string& name) {
  platform::HeadlessJoystick joystick;
  joystick.guid = GuidWithMark(mark);
  joystick.productName = name;
  return joystick;
}

bool AllBytesAre(const void* record, size_t size, uint8_t value) {
  const auto* bytes = static_cast<const uint8_t*>(record);
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i] != value) return false;
  }
  return true;
}

class InputDevicesTest : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform::ResetHeadlessInput();
    JoystickGuid = platform::InputGuid{};
    std::memset(JoystickName, 0, sizeof(JoystickName));
    JoystickPresent = 0;
    std::memset(KeyboardState, 0, sizeof(KeyboardState));
    std::memset(&MouseState, 0, sizeof(MouseState));
    std::memset(&JoystickState, 0, sizeof(JoystickState));
  }

  void TearDown() override {
    ShutdownInput();
    ShutdownKeyboard();
    ShutdownMouse();
    ShutdownJoystick();
    EXPECT_EQ(platform::LiveInputObjects(), 0) << "shut-down left input objects alive";
    platform::ResetHeadlessInput();
  }

  void StartAll() {
    ASSERT_EQ(InitInput(), 1);
    ASSERT_EQ(InitKeyboard(), 1);
    ASSERT_EQ(InitMouse(), 1);
  }
};

// --- Keyboard -------------------------------------------------------------------------------------------

TEST_F(InputDevicesTest, KeyboardReadMarksExactlyTheHeldKeys) {
  StartAll();
  platform::SetHeadlessInput({0, 0, false, {DIK_SPACE, DIK_LEFT, DIK_RCONTROL}});
  ASSERT_EQ(ReadKeyboard(), 1);
  for (int key = 0; key < 256; ++key) {
    bool held = key == DIK_SPACE || key == DIK_LEFT || key == DIK_RCONTROL;
    EXPECT_EQ(KeyboardState[key], held ? 0x80 : 0) << "key " << key;
  }
  platform::SetHeadlessInput({});
  ASSERT_EQ(ReadKeyboard(), 1);
  EXPECT_TRUE(AllBytesAre(KeyboardState, 256, 0));
}

TEST_F(InputDevicesTest, EscapeTestNeedsNoDevice) {
  platform::SetHeadlessInput({0, 0, false, {DIK_ESCAPE}});
  EXPECT_TRUE(platform::IsKeyDownNow(DIK_ESCAPE));
  EXPECT_FALSE(platform::IsKeyDownNow(DIK_SPACE));
  platform::SetHeadlessInput({});
  EXPECT_FALSE(platform::IsKeyDownNow(DIK_ESCAPE));
}

// --- Mouse ----------------------------------------------------------------------------------------------

TEST_F(InputDevicesTest, MouseMotionIsReportedOnceAndTheButtonStaysHeld) {
  StartAll();
  platform::SetHeadlessInput({7, -3, true, {}});
  ASSERT_EQ(ReadMouse(), 1);
  EXPECT_EQ(MouseState.lX, 7);
  EXPECT_EQ(MouseState.lY, -3);
  EXPECT_EQ(MouseState.lZ, 0);
  EXPECT_EQ(MouseState.rgbButtons[0], 0x80);
  EXPECT_EQ(MouseState.rgbButtons[1], 0);
  // A second read in the same frame sees only what moved in between: nothing.
  ASSERT_EQ(ReadMouse(), 1);
  EXPECT_EQ(MouseState.lX, 0);
  EXPECT_EQ(MouseState.lY, 0);
  EXPECT_EQ(MouseState.rgbButtons[0], 0x80);
  platform::SetHeadlessInput({-2, 5, false, {}});
  ASSERT_EQ(ReadMouse(), 1);
  EXPECT_EQ(MouseState.lX, -2);
  EXPECT_EQ(MouseState.lY, 5);
  EXPECT_EQ(MouseState.rgbButtons[0], 0);
}

// --- Devices that are missing or half set up --------------------------------------------------------------

TEST_F(InputDevicesTest, ReadsWithoutDevicesClearTheirRecordsAndFail) {
  std::memset(KeyboardState, 0x80, sizeof(KeyboardState));
  std::memset(&MouseState, 0x7F, sizeof(MouseState));
  EXPECT_EQ(ReadKeyboard(), 0);
  EXPECT_EQ(ReadMouse(), 0);
  EXPECT_TRUE(AllBytesAre(KeyboardState, sizeof(KeyboardState), 0));
  EXPECT_TRUE(AllBytesAre(&MouseState, sizeof(MouseState), 0));
}

TEST_F(InputDevicesTest, NoInputObjectMeansNoDevices) {
  platform::SetHeadlessInputFailure(platform::InputDeviceKind::Keyboard, platform::InputStep::CreateSystem);
  EXPECT_EQ(InitInput(), 0);
  EXPECT_EQ(InputObject, nullptr);
  EXPECT_EQ(InitKeyboard(), 0);
  EXPECT_EQ(InitMouse(), 0);
  EXPECT_EQ(InitJoystick(-512, 512, -512, 512, 5), 0);
  EXPECT_EQ(KeyboardDevice, nullptr);
  EXPECT_EQ(MouseDevice, nullptr);
  EXPECT_EQ(ReadKeyboard(), 0);
}

TEST_F(InputDevicesTest, DeviceWhoseCreationFailedIsNotKept) {
  platform::SetHeadlessInputFailure(platform::InputDeviceKind::Mouse, platform::InputStep::CreateDevice);
  ASSERT_EQ(InitInput(), 1);
  EXPECT_EQ(InitKeyboard(), 1);
  EXPECT_EQ(InitMouse(), 0);
  EXPECT_EQ(MouseDevice, nullptr);
  std::memset(&MouseState, 0x7F, sizeof(MouseState));
  EXPECT_EQ(ReadMouse(), 0);
  EXPECT_TRUE(AllBytesAre(&MouseState, sizeof(MouseState), 0));
}

// A device created but not fully set up is kept; its reads ask it, fail, and leave the record alone.
TEST_F(InputDevicesTest, HalfSetUpKeyboardAndMouseFailReadsWithoutClearing) {
  const platform::InputStep steps[] = {platform::InputStep::CooperativeLevel, platform::InputStep::DataFormat,
                                       platform::InputStep::Acquire};
  for (platform::InputStep step : steps) {
    for (auto kind : {platform::InputDeviceKind::Keyboard, platform::InputDeviceKind::Mouse}) {
      SetUp();
      platform::SetHeadlessInputFailure(kind, step);
      platform::SetHeadlessInput({4, 4, true, {DIK_SPACE}});
      ASSERT_EQ(InitInput(), 1);
      bool keyboard = kind == platform::InputDeviceKind::Keyboard;
      EXPECT_EQ(keyboard ? InitKeyboard() : InitMouse(), 0) << "step " << int(step);
      EXPECT_NE(keyboard ? KeyboardDevice : MouseDevice, nullptr) << "step " << int(step);
      std::memset(KeyboardState, 0x55, sizeof(KeyboardState));
      std::memset(&MouseState, 0x55, sizeof(MouseState));
      EXPECT_EQ(keyboard ? ReadKeyboard() : ReadMouse(), 0) << "step " << int(step);
      EXPECT_TRUE(keyboard ? AllBytesAre(KeyboardState, 256, 0x55) : AllBytesAre(&MouseState, 16, 0x55))
          << "step " << int(step);
      TearDown();
    }
  }
}

TEST_F(InputDevicesTest, FailedReadOfAWorkingDeviceLeavesTheRecord) {
  StartAll();
  platform::SetHeadlessInput({9, 9, true, {DIK_A}});
  platform::SetHeadlessInputFailure(platform::InputDeviceKind::Keyboard, platform::InputStep::Read);
  std::memset(KeyboardState, 0x11, sizeof(KeyboardState));
  EXPECT_EQ(ReadKeyboard(), 0);
  EXPECT_TRUE(AllBytesAre(KeyboardState, 256, 0x11));
  EXPECT_EQ(ReadMouse(), 1);
  EXPECT_EQ(MouseState.lX, 9);
}

// --- Joystick ---------------------------------------------------------------------------------------------

TEST_F(InputDevicesTest, NoJoystickAttached) {
  StartAll();
  EXPECT_EQ(InitJoystick(-512, 512, -512, 512, 5), 0);
  EXPECT_STREQ(JoystickName, "");
  EXPECT_TRUE(platform::IsZeroGuid(JoystickGuid));
  EXPECT_EQ(JoystickPresent, 0);
  EXPECT_EQ(JoystickDevice, nullptr);
  std::memset(&JoystickState, 0x33, sizeof(JoystickState));
  EXPECT_EQ(ReadJoystick(), 0);
  EXPECT_TRUE(AllBytesAre(&JoystickState, sizeof(JoystickState), 0x33));
}

TEST_F(InputDevicesTest, FirstOfTwoJoysticksIsUsedWithRangeAndDeadZone) {
  platform::HeadlessJoystick first = Joystick(1, "Arcade Stick");
  first.rawAxes[0] = 32767;
  first.rawAxes[1] = -32768;
  first.buttons = 0x80000001u;
  platform::HeadlessJoystick second = Joystick(2, "Second Pad");
  second.rawAxes[0] = -32768;
  platform::SetHeadlessJoysticks({first, second});
  StartAll();
  // X and Y get ranges of their own.
  ASSERT_EQ(InitJoystick(-512, 512, -100, 300, 5), 1);
  EXPECT_STREQ(JoystickName, "Arcade Stick");
  EXPECT_TRUE(JoystickGuid == first.guid);
  EXPECT_EQ(JoystickPresent, 1);
  ASSERT_EQ(ReadJoystick(), 1);
  EXPECT_EQ(JoystickState.lX, 512);
  EXPECT_EQ(JoystickState.lY, -100);
  EXPECT_EQ(JoystickState.rgbButtons[0], 0x80);
  EXPECT_EQ(JoystickState.rgbButtons[1], 0);
  EXPECT_EQ(JoystickState.rgbButtons[31], 0x80);
  EXPECT_EQ(JoystickState.rgdwPOV[0], 0xFFFFFFFFu);
  // Inside the 5 % dead zone both axes rest at the middle of their range.
  first.rawAxes[0] = 1600;
  first.rawAxes[1] = -1600;
  platform::SetHeadlessJoysticks({first, second});
  ASSERT_EQ(ReadJoystick(), 1);
  EXPECT_EQ(JoystickState.lX, 0);
  EXPECT_EQ(JoystickState.lY, 100);
}

TEST_F(InputDevicesTest, LongJoystickNamesAreCutTo79Characters) {
  const std::string exact(79, 'x');
  const std::string longer = std::string(79, 'y') + "Z";
  const std::string longest(259, 'w');
  for (const std::string& name : {exact, longer, longest}) {
    SetUp();
    platform::SetHeadlessJoysticks({Joystick(3, name)});
    StartAll();
    EXPECT_EQ(InitJoystick(-512, 512, -512, 512, 5), 1);
    EXPECT_EQ(std::string(JoystickName), name.substr(0, 79));
    EXPECT_EQ(JoystickName[79], '\0');
    TearDown();
  }
}

TEST_F(InputDevicesTest, HalfSetUpJoystickIsKeptButNeverRead) {
  platform::SetHeadlessJoysticks({Joystick(4, "Pad")});
  platform::SetHeadlessInputFailure(platform::InputDeviceKind::Joystick, platform::InputStep::Acquire);
  StartAll();
  EXPECT_EQ(InitJoystick(-512, 512, -512, 512, 5), 0);
  EXPECT_NE(JoystickDevice, nullptr);
  EXPECT_EQ(JoystickPresent, 0);
  EXPECT_STREQ(JoystickName, "Pad");
  std::memset(&JoystickState, 0x44, sizeof(JoystickState));
  EXPECT_EQ(ReadJoystick(), 0);
  EXPECT_TRUE(AllBytesAre(&JoystickState, sizeof(JoystickState), 0x44));
}

TEST_F(InputDevicesTest, JoystickReadStopsWhenPollingFails) {
  platform::SetHeadlessJoysticks({Joystick(5, "Pad")});
  StartAll();
  ASSERT_EQ(InitJoystick(-512, 512, -512, 512, 5), 1);
  platform::SetHeadlessInputFailure(platform::InputDeviceKind::Joystick, platform::InputStep::Poll);
  std::memset(&JoystickState, 0x66, sizeof(JoystickState));
  EXPECT_EQ(ReadJoystick(), 0);
  EXPECT_TRUE(AllBytesAre(&JoystickState, sizeof(JoystickState), 0x66));
}

TEST_F(InputDevicesTest, ReleasedJoystickOfAPresentOneClearsTheRecord) {
  platform::SetHeadlessJoysticks({Joystick(6, "Pad")});
  StartAll();
  ASSERT_EQ(InitJoystick(-512, 512, -512, 512, 5), 1);
  ShutdownJoystick();
  std::memset(&JoystickState, 0x66, sizeof(JoystickState));
  EXPECT_EQ(ReadJoystick(), 0);
  EXPECT_TRUE(AllBytesAre(&JoystickState, sizeof(JoystickState), 0));
}

// --- Shut-down --------------------------------------------------------------------------------------------

TEST_F(InputDevicesTest, DevicesOutliveTheObjectReleasedBeforeThem) {
  platform::SetHeadlessJoysticks({Joystick(7, "Pad")});
  StartAll();
  ASSERT_EQ(InitJoystick(-512, 512, -512, 512, 5), 1);
  EXPECT_EQ(platform::LiveInputObjects(), 4);
  ShutdownInput();
  EXPECT_EQ(platform::LiveInputObjects(), 4) << "the object goes only with its last device";
  platform::SetHeadlessInput({1, 2, false, {DIK_RETURN}});
  EXPECT_EQ(ReadKeyboard(), 1);
  EXPECT_EQ(KeyboardState[DIK_RETURN], 0x80);
  ShutdownKeyboard();
  ShutdownMouse();
  EXPECT_EQ(platform::LiveInputObjects(), 2);
  ShutdownJoystick();
  EXPECT_EQ(platform::LiveInputObjects(), 0);
}

// --- Axis scaling -----------------------------------------------------------------------------------------

TEST(JoystickAxisScaling, EndsAndMiddleOfTheRange) {
  EXPECT_EQ(platform::ScaleJoystickAxis(-32768, -512, 512, 0), -512);
  EXPECT_EQ(platform::ScaleJoystickAxis(-32767, -512, 512, 0), -512);
  EXPECT_EQ(platform::ScaleJoystickAxis(0, -512, 512, 0), 0);
  EXPECT_EQ(platform::ScaleJoystickAxis(32767, -512, 512, 0), 512);
  EXPECT_EQ(platform::ScaleJoystickAxis(16384, -512, 512, 0), 256);
  EXPECT_EQ(platform::ScaleJoystickAxis(32767, 0, 65535, 0), 65535);
  EXPECT_EQ(platform::ScaleJoystickAxis(-32768, 0, 65535, 0), 0);
  EXPECT_EQ(platform::ScaleJoystickAxis(32767, 100, 200, 0), 200);
  EXPECT_EQ(platform::ScaleJoystickAxis(0, 100, 200, 0), 150);
}

TEST(JoystickAxisScaling, DeadZoneHoldsTheMiddleAndKeepsTheFullTravel) {
  // 500 hundredths of a percent: 5 % of the half travel, 1638 raw steps.
  EXPECT_EQ(platform::ScaleJoystickAxis(1638, -512, 512, 500), 0);
  EXPECT_EQ(platform::ScaleJoystickAxis(-1638, -512, 512, 500), 0);
  EXPECT_GT(platform::ScaleJoystickAxis(1800, -512, 512, 500), 0);
  EXPECT_LT(platform::ScaleJoystickAxis(-1800, -512, 512, 500), 0);
  EXPECT_LT(platform::ScaleJoystickAxis(1800, -512, 512, 500), platform::ScaleJoystickAxis(1800, -512, 512, 0));
  EXPECT_EQ(platform::ScaleJoystickAxis(32767, -512, 512, 500), 512);
  EXPECT_EQ(platform::ScaleJoystickAxis(-32768, -512, 512, 500), -512);
  // A dead zone of the whole travel holds every position at the middle.
  EXPECT_EQ(platform::ScaleJoystickAxis(32767, -512, 512, 10000), 0);
}

TEST(JoystickAxisScaling, ScaledValuesNeverDecreaseAsTheStickMoves) {
  int32_t previous = platform::ScaleJoystickAxis(-32768, -512, 512, 500);
  for (int32_t raw = -32768; raw <= 32767; raw += 7) {
    int32_t value = platform::ScaleJoystickAxis(raw, -512, 512, 500);
    ASSERT_GE(value, previous) << "raw " << raw;
    ASSERT_GE(value, -512);
    ASSERT_LE(value, 512);
    previous = value;
  }
}

}  // namespace
