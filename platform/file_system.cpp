// The folder test, the small-file read and the atomic file write, over the operating system's file calls.
// The temporary file carries the process's number so that two programs saving at once never share it.
#include "platform/file_system.h"

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

SmallFileRead ReadSmallFile(const std::string& path, size_t maxBytes, std::string* contents, std::string* error) {
  switch (os::ReadSmallFile(path, maxBytes, contents, error)) {
    case os::FileRead::Read:
      return SmallFileRead::Read;
    case os::FileRead::Missing:
      return SmallFileRead::Missing;
    case os::FileRead::TooLarge:
      return SmallFileRead::TooLarge;
    case os::FileRead::Failed:
      break;
  }
  return SmallFileRead::Failed;
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

}  // namespace platform
