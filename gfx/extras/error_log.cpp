// The error log: open, write and close the program-wide log file.
// Messages go through a fixed 80-character buffer; longer ones are cut at 79 characters, never overrun it.
#include "gfx/extras/error_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

platform::File* ErrorLogFile = nullptr;

namespace {

// Writes the text without its terminating zero; a write failure is not reported, as the log has never reported one.
void WriteText(const char* text) { platform::WriteToFile(ErrorLogFile, text, std::strlen(text)); }

}  // namespace

int32_t OpenErrorLog(const char* path) {
  if (path == nullptr) return 0;
  // The new file is created first so a failure leaves the log that is open untouched.
  platform::File* file = platform::CreateFileForWriting(path, platform::FileContent::Text);
  if (file == nullptr) return 0;
  if (ErrorLogFile != nullptr) CloseErrorLog();
  ErrorLogFile = file;
  // KEEP: the opening and closing lines begin with a newline: the log's text (ErrorLog tests check it).
  WriteErrorLog("\nOpening Error Output File (%s):\n", path);
  return 1;
}

int32_t CloseErrorLog() {
  if (ErrorLogFile == nullptr) return 0;
  WriteText("\nClosing Error Output File.");
  platform::CloseFile(ErrorLogFile);
  ErrorLogFile = nullptr;
  return 1;
}

int32_t WriteErrorLog(const char* format, ...) {
  if (format == nullptr || ErrorLogFile == nullptr) return 0;
  char message[kErrorLogMessageSize];
  va_list arguments;
  va_start(arguments, format);
  const int written = std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  if (written < 0) return 0;
  // Written as plain text: a percent sign in the formatted message is not interpreted again.
  WriteText(message);
  return 1;
}
