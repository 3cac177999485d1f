// The library's diagnostic log: one program-wide text file that printf-style messages go into while it is open.
// Writing while no log is open does nothing, so library code may log unconditionally.
#pragma once

#include <cstdint>

#include "platform/file_system.h"

// The open log file, a buffered text stream of the platform's file service; null when none is open (and at program
// start). Written only by this file's operations.
extern platform::File* ErrorLogFile;

// A message is formatted into a buffer of this many characters: at most 79 visible ones reach the file.
inline constexpr int32_t kErrorLogMessageSize = 80;

// Creates (or truncates) the file at path and makes it the log, closing a log already open first; writes the
// opening line. Returns 1, or 0 when the file cannot be created (an open log then stays open).
int32_t OpenErrorLog(const char* path);

// Writes the closing line and closes the log. Returns 1, or 0 when no log was open.
int32_t CloseErrorLog();

// Formats the message (cut at 79 characters) and writes it verbatim. Returns 1, or 0 when format is null
// or no log is open. Nothing is flushed: the text reaches the disk when the buffer fills or the log closes.
int32_t WriteErrorLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
