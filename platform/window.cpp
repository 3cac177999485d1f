// The window service shared by both backends: the class registry, our message queue and the cursor choice.
// The window itself, its events and message boxes go through the chosen backend's window table.
#include "platform/window.h"

#include <deque>
#include <string>

#include "platform/internal/backend_tables.h"

namespace platform {

struct Window {
  std::string title;
  std::string className;
};

namespace {

// Coalesced "other" messages stop here, so an unattended queue cannot grow without bound.
constexpr size_t kMaxQueuedOtherMessages = 256;

struct QueueState {
  std::deque<Message> posted;
  bool quitPending = false;
  int quitCode = 0;
  bool paintPending = false;
  bool onlyCloseRequests = false;
  int64_t closesTaken = 0;
};

QueueState queue;
Window* mainWindow = nullptr;
std::string registeredClass;
WindowProc registeredProc = nullptr;
std::string lastError;
bool cursorShown = true;

const WindowBackend& Backend() { return *ChosenBackend().window; }

}  // namespace

bool RegisterWindowClass(const char* className, WindowProc procedure) {
  if (className == nullptr || className[0] == 0) return false;
  registeredClass = className;
  registeredProc = procedure;
  return true;
}

Window* OpenMainWindow(const char* title, const char* className) {
  if (mainWindow != nullptr) {
    lastError = "the main window already exists";
    return nullptr;
  }
  const char* name = className ? className : "";
  if (!Backend().open(title ? title : "", name, &lastError)) return nullptr;
  mainWindow = new Window{title ? title : "", name};
  // The class's procedure hears of the window's creation before the caller gets it.
  if (registeredProc != nullptr && registeredClass == mainWindow->className)
    registeredProc(mainWindow, WM_CREATE, 0, 0);
  return mainWindow;
}

Window* MainWindowHandle() { return mainWindow; }

void CloseMainWindow() {
  if (mainWindow == nullptr) return;
  Backend().close();
  delete mainWindow;
  mainWindow = nullptr;
}

std::string LastError() { return lastError; }

bool PeekMessage(Message* out) {
  if (out == nullptr) return false;
  PumpEvents();
  if (!queue.posted.empty()) {
    *out = queue.posted.front();
    queue.posted.pop_front();
    if (out->message == WM_CLOSE) ++queue.closesTaken;
    return true;
  }
  if (queue.quitPending) {
    queue.quitPending = false;
    *out = Message{nullptr, WM_QUIT, static_cast<uintptr_t>(queue.quitCode), 0};
    return true;
  }
  return false;
}

bool PostMessage(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  queue.posted.push_back(Message{window, message, wParam, lParam});
  return true;
}

void PostQuitMessage(int exitCode) {
  queue.quitPending = true;
  queue.quitCode = exitCode;
}

// Posts a message from the platform's own events unless the same one already waits (or the queue is full of them).
void PostCoalescedMessage(uint32_t message, uintptr_t wParam) {
  if (queue.onlyCloseRequests && message != WM_CLOSE) return;
  size_t others = 0;
  for (const Message& waiting : queue.posted) {
    if (waiting.message == message && waiting.wParam == wParam) return;
    if (waiting.message != WM_CLOSE) ++others;
  }
  if (message == WM_PAINT) {
    if (queue.paintPending) return;
    queue.paintPending = true;
  }
  if (message != WM_CLOSE && others >= kMaxQueuedOtherMessages) return;
  queue.posted.push_back(Message{mainWindow, message, wParam, 0});
}

bool TranslateMessage(const Message*) { return false; }

intptr_t DispatchMessage(const Message* message) {
  if (message == nullptr || registeredProc == nullptr) return 0;
  return registeredProc(message->window, message->message, message->wParam, message->lParam);
}

intptr_t DefWindowProc(Window*, uint32_t, uintptr_t, intptr_t) { return 0; }

void BeginPaint(Window*) {}

void EndPaint(Window*) { queue.paintPending = false; }

void PumpEvents() {
  if (mainWindow != nullptr) Backend().pumpEvents();
}

bool IsFullScreen() { return mainWindow != nullptr ? Backend().isFullScreen() : true; }

void ToggleFullScreen() {
  if (mainWindow != nullptr) Backend().toggleFullScreen();
}

bool DisplayCanBindToWindow() { return mainWindow != nullptr || !Backend().displayNeedsWindow; }

void ShowMessageBox(Window*, const char* text, const char* caption) {
  Backend().showMessageBox(text ? text : "", caption ? caption : "");
}

void ShowCursor(bool show) {
  cursorShown = show;
  Backend().showCursor(show);
}

bool IsCursorShown() { return cursorShown; }

void QueueOnlyCloseRequests(bool only) { queue.onlyCloseRequests = only; }

int64_t CloseRequestsTaken() { return queue.closesTaken; }

void ClearMessageQueue() { queue = QueueState{}; }

}  // namespace platform
