// The files of a page the rendezvous server serves: which file a request's target names under the served folder
// (refusing any way out of it), and a whole HTTP request's answer, with no socket, for tests and the fuzz target.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The most bytes of a request's line and headers; a longer one is answered 431 and its connection closed.
constexpr size_t kMaxWebRequestHeaderBytes = 8192;
// The largest file served, and the most bytes of files and their compressed forms kept in memory.
constexpr uint64_t kMaxWebFileBytes = 64ull << 20;
constexpr size_t kWebCacheBytes = 48u << 20;

// What a request's target names: a status of 200 with the file's resolved path, or the status refusing it
// (400 a target that cannot be read, 403 a way out of the folder, 404 nothing to serve) and why.
struct WebPathDecision {
  int32_t status = 404;
  std::string file;
  std::string reason;
};

// root is the served folder's resolved path. The target's query is ignored; it is percent-decoded segment by
// segment, and refused for a "." or ".." segment, an encoded '/' or '\\', a control character, an empty segment
// but the last, a hidden file or folder (a segment starting with '.'), a link that leads out of root, and anything
// but a regular file. "/" and a path ending in '/' name the folder's index.html.
WebPathDecision DecideWebPath(const std::string& root, const std::string& target);

// The served folder's resolved path and the cache of its files' bodies (each with its content's ETag and, once
// asked for, its gzip form), refreshed when a file's size or time changes; at most kWebCacheBytes.
struct WebFiles;

// Null with the reason when folder is not a folder that can be read.
WebFiles* OpenWebFiles(const std::string& folder, std::string* error);
void CloseWebFiles(WebFiles* files);

// Answers one request whose bytes are all in `bytes`, as the server does on a connection: the response's bytes
// (empty when the request is not complete yet, or when *webSocket is set: a valid upgrade to /online); *refusal
// is the log line of a refused request, else empty.
std::string AnswerWebRequestBytes(WebFiles* files, const uint8_t* bytes, size_t size, bool* webSocket,
                                  std::string* refusal);

}  // namespace platform
