// The folder test, the small-file read, the atomic file write and open files, over the operating system's file
// calls. The temporary file carries the process's number so that two programs saving at once never share it.
#include "platform/file_system.h"

#include <cstdio>
#include <new>

#include "platform/os/operating_system.h"

namespace platform {

namespace {

bool Fail(std::string* error, const std::string& what) {
  if (error != nullptr) *error = what;
  return false;
}

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.find_last_of(os::SystemFolderRules() == FolderRules::Windows ? "/\\" : "/");
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

bool IsFolder(const std::string& path) { return os::IsFolder(path); }

FileRead ReadSmallFile(const std::string& path, size_t maxBytes, std::string* contents, std::string* error) {
  return os::ReadSmallFile(path, maxBytes, contents, error);
}

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error) {
  std::string reason;
  const std::string parent = ParentFolder(path);
  if (!os::MakeFolders(parent, &reason)) return Fail(error, "cannot create " + parent + ": " + reason);
  const std::string temporary = path + ".tmp-" + std::to_string(os::ProcessNumber());
  switch (os::WriteWholeFile(temporary, contents.data(), contents.size(), false, true, &reason)) {
    case os::FileWrite::Written:
      break;
    case os::FileWrite::NameTaken:
    case os::FileWrite::CannotCreate:
      return Fail(error, "cannot create " + temporary + ": " + reason);
    case os::FileWrite::CannotWrite:
      return Fail(error, "cannot write " + temporary + ": " + reason);
  }
  if (!os::ReplaceFile(temporary, path, &reason)) {
    os::RemoveFile(temporary);
    return Fail(error, "cannot replace " + path + ": " + reason);
  }
  return true;
}

// An open file is the C library's stream: its buffer and, on Windows, its text mode are what the readers and
// writers have always had; only the opening and the 64-bit positions differ between systems.
struct File {
  std::FILE* stream;
};

namespace {

File* OpenStream(const std::string& path, const char* mode) {
  std::FILE* stream = os::OpenStream(path, mode);
  if (stream == nullptr) return nullptr;
  File* file = new (std::nothrow) File{stream};
  if (file == nullptr) std::fclose(stream);
  return file;
}

}  // namespace

File* OpenFileForReading(const std::string& path, FileContent content) {
  return OpenStream(path, content == FileContent::Text ? "r" : "rb");
}

File* CreateFileForWriting(const std::string& path, FileContent content) {
  return OpenStream(path, content == FileContent::Text ? "w" : "wb");
}

size_t ReadFromFile(File* file, void* into, size_t count) { return std::fread(into, 1, count, file->stream); }

bool WriteToFile(File* file, const void* bytes, size_t count) {
  return std::fwrite(bytes, 1, count, file->stream) == count;
}

bool SeekFile(File* file, int64_t offset, SeekFrom from) {
  return os::SeekStream(file->stream, offset, from == SeekFrom::End ? SEEK_END : SEEK_SET);
}

int64_t FilePosition(File* file) { return os::StreamPosition(file->stream); }

bool CloseFile(File* file) {
  if (file == nullptr) return true;
  const bool closed = std::fclose(file->stream) == 0;
  delete file;
  return closed;
}

}  // namespace platform
