// The operating-system calls on Windows: paths and texts are UTF-8 inside the program and wide characters at
// every call into the system; the known-folder call for Pictures, the wide command line, the parent's console.
#include "platform/os/operating_system.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the C++ library's headers may have set it already
#define NOMINMAX
#endif
#include <windows.h>
// Windows' own headers after windows.h.
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>
// windows.h names two of its calls as ours are named; ours are meant below.
#undef ReplaceFile
#undef SetEnvironmentVariable

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace platform::os {

namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Utf8(const wchar_t* text, size_t count) {
  if (count == 0) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

// The system's words for an error code, without the closing full stop and line break.
std::string Reason(DWORD code) {
  wchar_t* message = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string text = length > 0 ? Utf8(message, length) : "error " + std::to_string(code);
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' '))
    text.pop_back();
  return text;
}

std::string Reason() { return Reason(GetLastError()); }

DWORD AttributesOf(const std::string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Wide(path).c_str());
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Reopens one standard stream on the console when the process was given no handle for it.
void ReopenOnConsole(DWORD which, FILE* stream, const char* mode, const wchar_t* device) {
  const HANDLE handle = GetStdHandle(which);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) return;
  FILE* reopened = nullptr;
  if (_wfreopen_s(&reopened, device, mode[0] == 'r' ? L"r" : L"w", stream) == 0) setvbuf(stream, nullptr, _IONBF, 0);
}

}  // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i], std::wcslen(wide[i])));
  LocalFree(wide);
  return arguments;
}

void UseStartingConsole() {
  const auto missing = [](DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
  };
  if (!missing(STD_OUTPUT_HANDLE) && !missing(STD_ERROR_HANDLE)) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  ReopenOnConsole(STD_OUTPUT_HANDLE, stdout, "w", L"CONOUT$");
  ReopenOnConsole(STD_ERROR_HANDLE, stderr, "w", L"CONOUT$");
}

void UseBinaryStandardOutput() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

FolderRules SystemFolderRules() { return FolderRules::Windows; }

std::string PicturesFolder() {
  wchar_t* path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_CREATE, nullptr, &path) == S_OK && path != nullptr)
    folder = Utf8(path, std::wcslen(path));
  CoTaskMemFree(path);
  return folder;
}

std::optional<std::string> EnvironmentVariable(const char* name) {
  const wchar_t* value = _wgetenv(Wide(name).c_str());
  if (value == nullptr) return std::nullopt;
  return Utf8(value, std::wcslen(value));
}

void SetEnvironmentVariable(const char* name, const std::string& value) {
  // The C library's copy and the process's own both change, so SDL's lookups see the value too.
  _wputenv_s(Wide(name).c_str(), Wide(value).c_str());
}

std::string ExecutableFolder() {
  std::wstring buffer(1024, L'\0');
  for (int tries = 0; tries < 6; ++tries) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      const std::string path = Utf8(buffer.data(), length);
      const size_t separator = path.find_last_of("\\/");
      return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
    }
    buffer.resize(buffer.size() * 4);
  }
  return {};
}

std::string WorkingFolder() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return {};
  std::wstring buffer(length, L'\0');
  const DWORD written = GetCurrentDirectoryW(length, buffer.data());
  return written == 0 || written >= length ? std::string() : Utf8(buffer.data(), written);
}

bool ChangeWorkingFolder(const std::string& folder) {
  return !folder.empty() && SetCurrentDirectoryW(Wide(folder).c_str()) != 0;
}

uint32_t ProcessNumber() { return static_cast<uint32_t>(GetCurrentProcessId()); }

std::tm LocalTime(std::time_t moment) {
  std::tm local{};
  localtime_s(&local, &moment);
  return local;
}

std::string CommandOutput(const std::string&, size_t) {
  // The only command asked for is fontconfig's, which Windows does not have; the font ships beside the game.
  return {};
}

bool MayHaveGraphicsHardware() { return true; }

bool VibrateBrowserGamepad(const char*, uint16_t, uint16_t, uint32_t) { return false; }

// There is no page outside the browser.
bool InPage() { return false; }
bool PageHidden() { return false; }
void HoldWhileHidden(bool) {}
void TellPage(const char*, const std::string&) {}

void Wait(uint64_t microseconds) { std::this_thread::sleep_for(std::chrono::microseconds(microseconds)); }

bool IsAbsolutePath(const std::string& path) {
  const bool drive =
      path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && IsSeparator(path[2]);
  return drive || (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]));
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool MakeFolders(const std::string& path, std::string* error) {
  if (path.empty() || IsFolder(path)) return true;
  const size_t end = path.find_last_not_of("\\/");
  if (end == std::string::npos) return true;
  const size_t separator = path.find_last_of("\\/", end);
  // A drive ("C:") or the start of a network path has nothing above it to make.
  if (separator != std::string::npos && separator > 0 && !(separator == 2 && path[1] == ':') &&
      !MakeFolders(path.substr(0, separator), error))
    return false;
  if (CreateDirectoryW(Wide(path).c_str(), nullptr) != 0) return true;
  const DWORD code = GetLastError();
  if (code == ERROR_ALREADY_EXISTS && IsFolder(path)) return true;
  *error = Reason(code);
  return false;
}

FileRead ReadSmallFile(const std::string& path, size_t maxBytes, std::string* contents, std::string* error) {
  contents->clear();
  const HANDLE file =
      CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return FileRead::Missing;
    if (error != nullptr) *error = Reason(code);
    return FileRead::Failed;
  }
  char chunk[4096];
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file, chunk, sizeof chunk, &count, nullptr)) {
      if (error != nullptr) *error = Reason();
      CloseHandle(file);
      contents->clear();
      return FileRead::Failed;
    }
    if (count == 0) break;
    if (contents->size() + count > maxBytes) {
      CloseHandle(file);
      contents->clear();
      return FileRead::TooLarge;
    }
    contents->append(chunk, count);
  }
  CloseHandle(file);
  return FileRead::Read;
}

FileWrite WriteWholeFile(const std::string& path, const void* bytes, size_t size, bool mustBeNew, bool flushToDisk,
                         std::string* error) {
  const std::wstring widePath = Wide(path);
  const HANDLE file = CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, mustBeNew ? CREATE_NEW : CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (mustBeNew && (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)) return FileWrite::NameTaken;
    *error = Reason(code);
    return FileWrite::CannotCreate;
  }
  const char* next = static_cast<const char*>(bytes);
  size_t written = 0;
  bool ok = true;
  while (ok && written < size) {
    DWORD count = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - written, 1u << 30));
    ok = WriteFile(file, next + written, chunk, &count, nullptr) != 0 && count > 0;
    written += count;
  }
  if (ok && flushToDisk) ok = FlushFileBuffers(file) != 0;
  const DWORD code = GetLastError();
  const bool closed = CloseHandle(file) != 0;
  if (!ok || !closed) {
    *error = Reason(ok ? GetLastError() : code);
    DeleteFileW(widePath.c_str());
    return FileWrite::CannotWrite;
  }
  return FileWrite::Written;
}

bool ReplaceFile(const std::string& from, const std::string& to, std::string* error) {
  if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
    return true;
  *error = Reason();
  return false;
}

void RemoveFile(const std::string& path) { DeleteFileW(Wide(path).c_str()); }

// The C library's own fopen would read the path in the ANSI code page; the wide call takes every character.
std::FILE* OpenStream(const std::string& path, const char* mode) {
  return path.empty() ? nullptr : _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

// long is 32 bits on Windows, so fseek and ftell stop at 2 GiB; the 64-bit calls do not.
bool SeekStream(std::FILE* stream, int64_t offset, int origin) { return _fseeki64(stream, offset, origin) == 0; }

int64_t StreamPosition(std::FILE* stream) { return _ftelli64(stream); }

}  // namespace platform::os
