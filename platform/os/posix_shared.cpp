// The operating-system calls Linux and the browser make alike through the POSIX C library (Emscripten's is one):
// the process's surroundings (command line, environment, working folder, time) and the file calls, retried on EINTR.
#include "platform/os/operating_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform::os {

namespace {

std::string Reason() { return std::strerror(errno); }

// Writes every byte to the open file; false on a short or refused write.
bool WriteAll(int file, const void* bytes, size_t size) {
  const char* next = static_cast<const char*>(bytes);
  size_t written = 0;
  while (written < size) {
    const ssize_t count = write(file, next + written, size - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<size_t>(count);
  }
  return true;
}

bool StatOf(const std::string& path, struct stat* status) { return !path.empty() && stat(path.c_str(), status) == 0; }

}  // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }

void UseStartingConsole() {}

void UseBinaryStandardOutput() {}

FolderRules SystemFolderRules() { return FolderRules::Freedesktop; }

std::string PicturesFolder() { return {}; }

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void SetEnvironmentVariable(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

std::string WorkingFolder() {
  std::vector<char> buffer(4096);
  for (int tries = 0; tries < 4; ++tries) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.data();
    buffer.resize(buffer.size() * 4);
  }
  return {};
}

bool ChangeWorkingFolder(const std::string& folder) { return !folder.empty() && chdir(folder.c_str()) == 0; }

uint32_t ProcessNumber() { return static_cast<uint32_t>(getpid()); }

std::tm LocalTime(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  return local;
}

bool IsAbsolutePath(const std::string& path) { return !path.empty() && path[0] == '/'; }

bool IsFolder(const std::string& path) {
  struct stat status;
  return StatOf(path, &status) && S_ISDIR(status.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat status;
  return StatOf(path, &status) && S_ISREG(status.st_mode);
}

bool MakeFolders(const std::string& path, std::string* error) {
  if (path.empty() || IsFolder(path)) return true;
  const size_t slash = path.find_last_of('/', path.find_last_not_of('/'));
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), error)) return false;
  if (mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && IsFolder(path))) return true;
  *error = Reason();
  return false;
}

FileRead ReadSmallFile(const std::string& path, size_t maxBytes, std::string* contents, std::string* error) {
  contents->clear();
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    if (errno == ENOENT) return FileRead::Missing;
    if (error != nullptr) *error = Reason();
    return FileRead::Failed;
  }
  char chunk[4096];
  for (;;) {
    const ssize_t count = read(file, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      if (error != nullptr) *error = Reason();
      close(file);
      contents->clear();
      return FileRead::Failed;
    }
    if (count == 0) break;
    if (contents->size() + static_cast<size_t>(count) > maxBytes) {
      close(file);
      contents->clear();
      return FileRead::TooLarge;
    }
    contents->append(chunk, static_cast<size_t>(count));
  }
  close(file);
  return FileRead::Read;
}

FileWrite WriteWholeFile(const std::string& path, const void* bytes, size_t size, bool mustBeNew, bool flushToDisk,
                         std::string* error) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mustBeNew ? O_EXCL : O_TRUNC);
  const int file = open(path.c_str(), flags, 0644);
  if (file < 0) {
    if (mustBeNew && errno == EEXIST) return FileWrite::NameTaken;
    *error = Reason();
    return FileWrite::CannotCreate;
  }
  const bool written = WriteAll(file, bytes, size) && (!flushToDisk || fsync(file) == 0);
  const int writeErrno = errno;
  const bool closed = close(file) == 0;
  if (!written || !closed) {
    *error = std::strerror(written ? errno : writeErrno);
    unlink(path.c_str());
    return FileWrite::CannotWrite;
  }
  return FileWrite::Written;
}

bool ReplaceFile(const std::string& from, const std::string& to, std::string* error) {
  if (rename(from.c_str(), to.c_str()) == 0) return true;
  *error = Reason();
  return false;
}

void RemoveFile(const std::string& path) { unlink(path.c_str()); }

// The path's bytes are the name as it is: POSIX systems take UTF-8 names unchanged.
std::FILE* OpenStream(const std::string& path, const char* mode) {
  return path.empty() ? nullptr : std::fopen(path.c_str(), mode);
}

bool SeekStream(std::FILE* stream, int64_t offset, int origin) {
  return fseeko(stream, static_cast<off_t>(offset), origin) == 0;
}

int64_t StreamPosition(std::FILE* stream) { return static_cast<int64_t>(ftello(stream)); }

}  // namespace platform::os
