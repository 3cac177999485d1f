// The folder test and the atomic file write, on std::filesystem and POSIX file calls.
// The temporary file carries the process id so that two programs saving at once never share it.
#include "platform/file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform {

namespace fs = std::filesystem;

bool IsFolder(const std::string& path) {
  std::error_code ignored;
  return !path.empty() && fs::is_directory(path, ignored);
}

namespace {

bool Fail(std::string* error, const std::string& what) {
  if (error != nullptr) *error = what;
  return false;
}

// Writes every byte to the open file; false on a short or refused write.
bool WriteAll(int file, const std::string& contents) {
  size_t written = 0;
  while (written < contents.size()) {
    const ssize_t count = write(file, contents.data() + written, contents.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<size_t>(count);
  }
  return true;
}

}  // namespace

SmallFileRead ReadSmallFile(const std::string& path, size_t maxBytes, std::string* contents, std::string* error) {
  contents->clear();
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    if (errno == ENOENT) return SmallFileRead::Missing;
    Fail(error, std::strerror(errno));
    return SmallFileRead::Failed;
  }
  char chunk[4096];
  for (;;) {
    const ssize_t count = read(file, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      Fail(error, std::strerror(errno));
      close(file);
      contents->clear();
      return SmallFileRead::Failed;
    }
    if (count == 0) break;
    if (contents->size() + static_cast<size_t>(count) > maxBytes) {
      close(file);
      contents->clear();
      return SmallFileRead::TooLarge;
    }
    contents->append(chunk, static_cast<size_t>(count));
  }
  close(file);
  return SmallFileRead::Read;
}

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error) {
  const fs::path target(path);
  std::error_code failure;
  if (target.has_parent_path()) {
    fs::create_directories(target.parent_path(), failure);
    if (failure) return Fail(error, "cannot create " + target.parent_path().string() + ": " + failure.message());
  }
  const std::string temporary = path + ".tmp-" + std::to_string(getpid());
  const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (file < 0) return Fail(error, "cannot create " + temporary + ": " + std::strerror(errno));
  const bool written = WriteAll(file, contents) && fsync(file) == 0;
  const int writeErrno = errno;
  const bool closed = close(file) == 0;
  if (!written || !closed) {
    unlink(temporary.c_str());
    return Fail(error, "cannot write " + temporary + ": " + std::strerror(written ? errno : writeErrno));
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameErrno = errno;
    unlink(temporary.c_str());
    return Fail(error, "cannot replace " + path + ": " + std::strerror(renameErrno));
  }
  return true;
}

}  // namespace platform
