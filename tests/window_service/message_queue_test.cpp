// The message queue on the headless backend: order, the quit message last, dispatch to the class's procedure,
// and message boxes recorded in order.
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "platform/window.h"
#include "platform/headless/headless.h"

namespace {

using namespace platform;

std::vector<uint32_t> seen;

intptr_t RecordingProc(Window*, uint32_t message, uintptr_t, intptr_t) {
  seen.push_back(message);
  if (message == WM_CLOSE || message == WM_DESTROY) PostQuitMessage(0);
  return message == WM_CREATE ? 0 : 7;
}

class MessageQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SelectBackend(Backend::Headless);
    ResetMessageQueue();
    seen.clear();
  }
  void TearDown() override { CloseMainWindow(); }
};

TEST_F(MessageQueueTest, WindowCreationTellsTheClassProcedure) {
  ASSERT_TRUE(RegisterWindowClass("TAVO2000CLASS", RecordingProc));
  EXPECT_FALSE(RegisterWindowClass("", RecordingProc));
  Window* window = OpenMainWindow("Tavo 2000", "TAVO2000CLASS");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(MainWindowHandle(), window);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], WM_CREATE);
  EXPECT_EQ(OpenMainWindow("Tavo 2000", "TAVO2000CLASS"), nullptr);  // one main window
  EXPECT_FALSE(LastError().empty());
}

TEST_F(MessageQueueTest, MessagesComeOneAtATimeInOrderAndQuitComesLast) {
  Message message;
  EXPECT_FALSE(PeekMessage(&message));
  PostQuitMessage(3);
  PostMessage(nullptr, WM_DESTROY, 1, 2);
  PostMessage(nullptr, WM_PAINT, 0, 0);
  ASSERT_TRUE(PeekMessage(&message));
  EXPECT_EQ(message.message, WM_DESTROY);
  EXPECT_EQ(message.wParam, 1u);
  EXPECT_EQ(message.lParam, 2);
  ASSERT_TRUE(PeekMessage(&message));
  EXPECT_EQ(message.message, WM_PAINT);
  ASSERT_TRUE(PeekMessage(&message));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 3u);
  EXPECT_FALSE(PeekMessage(&message));
}

TEST_F(MessageQueueTest, DispatchReachesTheRegisteredProcedure) {
  RegisterWindowClass("TAVO2000CLASS", RecordingProc);
  Window* window = OpenMainWindow("Tavo 2000", "TAVO2000CLASS");
  PostMessage(window, WM_CLOSE, 0, 0);
  Message message;
  ASSERT_TRUE(PeekMessage(&message));
  EXPECT_FALSE(TranslateMessage(&message));
  EXPECT_EQ(DispatchMessage(&message), 7);
  EXPECT_EQ(seen.back(), WM_CLOSE);
  // The procedure's quit message ends the loop on the next take.
  ASSERT_TRUE(PeekMessage(&message));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 0u);
  EXPECT_EQ(DefWindowProc(window, 0x1234, 0, 0), 0);
}

TEST_F(MessageQueueTest, MessageBoxesAreRecordedInOrderAndTakenOnce) {
  ShowMessageBox(nullptr, "Page Fliping Failed!", "DDraw ERROR");
  ShowMessageBox(nullptr, "second", "ERROR");
  auto boxes = TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].first, "DDraw ERROR");
  EXPECT_EQ(boxes[0].second, "Page Fliping Failed!");
  EXPECT_EQ(boxes[1].first, "ERROR");
  EXPECT_TRUE(TakeShownMessageBoxes().empty());
}

TEST_F(MessageQueueTest, CursorChoiceIsKeptAndHeadlessIsFullScreen) {
  ShowCursor(false);
  EXPECT_FALSE(IsCursorShown());
  ShowCursor(true);
  EXPECT_TRUE(IsCursorShown());
  EXPECT_TRUE(IsFullScreen());
}

}  // namespace
