// The page's side of the rendezvous server, one request at a time, over Boost.Beast's records and zlib: the
// WebSocket upgrade's checks, the methods taken, the file's type, ETag, gzip form and cache, and the refusals.
#include "platform/internal/web_answer.h"

#include <zlib.h>

#include <boost/beast/websocket/rfc6455.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <system_error>
#include <unordered_map>

namespace platform {

struct CachedFile {
  uint64_t size = 0;
  std::filesystem::file_time_type modified;
  std::string etag;  // of the content, quoted
  std::shared_ptr<const std::string> body, gzipped;
  uint64_t lastUse = 0;
};

struct WebFiles {
  std::string root;
  std::unordered_map<std::string, CachedFile> cache;
  size_t cachedBytes = 0;
  uint64_t uses = 0;
};

namespace {

struct FileType {
  const char* extension;
  const char* contentType;
  bool compressible;
};
constexpr FileType kFileTypes[] = {
    {".html", "text/html; charset=utf-8", true},
    {".js", "text/javascript; charset=utf-8", true},
    {".mjs", "text/javascript; charset=utf-8", true},
    {".wasm", "application/wasm", true},
    {".data", "application/octet-stream", true},
    {".webmanifest", "application/manifest+json", true},
    {".json", "application/json", true},
    {".css", "text/css; charset=utf-8", true},
    {".txt", "text/plain; charset=utf-8", true},
    {".replay", "text/plain; charset=utf-8", true},
    {".svg", "image/svg+xml", true},
    {".png", "image/png", false},
    {".ico", "image/x-icon", false},
    {".zip", "application/zip", false},
};
constexpr FileType kOtherType = {"", "application/octet-stream", false};

const FileType& TypeOf(const std::string& file) {
  for (const FileType& type : kFileTypes) {
    const std::string extension = type.extension;
    if (file.size() > extension.size() &&
        file.compare(file.size() - extension.size(), extension.size(), extension) == 0)
      return type;
  }
  return kOtherType;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Whether an Accept-Encoding value takes gzip (named, or "*", without q=0).
bool AcceptsGzip(const std::string& header) {
  std::stringstream list(Lower(header));
  std::string item;
  while (std::getline(list, item, ',')) {
    const size_t semicolon = item.find(';');
    const std::string name = Trimmed(item.substr(0, semicolon));
    if (name != "gzip" && name != "*") continue;
    if (semicolon == std::string::npos) return true;
    const std::string parameter = Trimmed(item.substr(semicolon + 1));
    if (parameter.rfind("q=", 0) != 0) return true;
    return std::strtod(parameter.c_str() + 2, nullptr) > 0;
  }
  return false;
}

// Whether an If-None-Match value names etag (or is "*").
bool MatchesEtag(const std::string& header, const std::string& etag) {
  std::stringstream list(header);
  std::string item;
  while (std::getline(list, item, ',')) {
    std::string tag = Trimmed(item);
    if (tag.rfind("W/", 0) == 0) tag = tag.substr(2);
    if (tag == "*" || tag == etag) return true;
  }
  return false;
}

std::string ContentTag(const std::string& bytes) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 0x100000001B3ull;
  char text[24];
  std::snprintf(text, sizeof text, "\"%016llx\"", static_cast<unsigned long long>(hash));
  return text;
}

bool ReadWholeFile(const std::string& path, uint64_t size, std::string* out) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  out->resize(size);
  const size_t read = size == 0 ? 0 : std::fread(out->data(), 1, size, file);
  // One more byte read means the file grew meanwhile: its next request reads it again.
  const bool whole = read == size && std::fgetc(file) == EOF;
  std::fclose(file);
  return whole;
}

std::shared_ptr<const std::string> Gzipped(const std::string& bytes) {
  z_stream stream{};
  if (deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return nullptr;
  auto out = std::make_shared<std::string>(deflateBound(&stream, bytes.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out->data());
  stream.avail_out = static_cast<uInt>(out->size());
  const int result = deflate(&stream, Z_FINISH);
  out->resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) return nullptr;
  return out;
}

// Drops the least recently used bodies until adding `more` bytes keeps the cache within its bound.
void MakeRoom(WebFiles* files, size_t more) {
  while (!files->cache.empty() && files->cachedBytes + more > kWebCacheBytes) {
    auto oldest = files->cache.begin();
    for (auto it = files->cache.begin(); it != files->cache.end(); ++it)
      if (it->second.lastUse < oldest->second.lastUse) oldest = it;
    files->cachedBytes -= oldest->second.body->size() + (oldest->second.gzipped ? oldest->second.gzipped->size() : 0);
    files->cache.erase(oldest);
  }
}

// The file's cache entry, read afresh when it is new or changed; null when it cannot be read.
CachedFile* CachedFileOf(WebFiles* files, const std::string& path) {
  std::error_code error;
  const uint64_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaxWebFileBytes) return nullptr;
  const std::filesystem::file_time_type modified = std::filesystem::last_write_time(path, error);
  if (error) return nullptr;
  auto found = files->cache.find(path);
  if (found != files->cache.end() && found->second.size == size && found->second.modified == modified) {
    found->second.lastUse = ++files->uses;
    return &found->second;
  }
  if (found != files->cache.end()) {
    files->cachedBytes -= found->second.body->size() + (found->second.gzipped ? found->second.gzipped->size() : 0);
    files->cache.erase(found);
  }
  auto body = std::make_shared<std::string>();
  if (!ReadWholeFile(path, size, body.get())) return nullptr;
  MakeRoom(files, body->size());
  CachedFile& entry = files->cache[path];
  entry.size = size;
  entry.modified = modified;
  entry.etag = ContentTag(*body);
  entry.body = body;
  entry.lastUse = ++files->uses;
  files->cachedBytes += body->size();
  return &entry;
}

WebAnswer Plain(const WebRequest& request, http::status status, const std::string& text, const std::string& refusal) {
  WebAnswer answer;
  answer.response.result(status);
  answer.response.version(request.version() == 10 ? 10 : 11);
  answer.response.set(http::field::server, "tavo2000-server");
  answer.response.set(http::field::content_type, "text/plain; charset=utf-8");
  answer.response.set(http::field::cache_control, "no-cache");
  if (request.method() != http::verb::head) answer.response.body() = text + "\n";
  answer.response.content_length(text.size() + 1);
  answer.response.keep_alive(request.keep_alive());
  answer.refusal = refusal;
  return answer;
}

std::string RequestText(const WebRequest& request) {
  std::string target(request.target());
  if (target.size() > 200) target = target.substr(0, 200) + "...";
  for (char& c : target)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
  std::string method(request.method_string());
  if (method.size() > 16) method = method.substr(0, 16);
  for (char& c : method)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
  return method + " " + target;
}

bool ValidWebSocketKey(const std::string& key) {
  // 16 bytes in base64: 22 characters of its alphabet and "==".
  if (key.size() != 24 || key.compare(22, 2, "==") != 0) return false;
  for (size_t i = 0; i < 22; ++i) {
    const char c = key[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/'))
      return false;
  }
  return true;
}

}  // namespace

WebFiles* OpenWebFiles(const std::string& folder, std::string* error) {
  std::error_code failure;
  const std::filesystem::path resolved = std::filesystem::canonical(folder, failure);
  if (failure || !std::filesystem::is_directory(resolved, failure)) {
    *error = "--web: '" + folder + "' is not a folder";
    return nullptr;
  }
  WebFiles* files = new WebFiles;
  files->root = resolved.string();
  if (files->root.size() > 1 && files->root.back() == '/') files->root.pop_back();
  return files;
}

void CloseWebFiles(WebFiles* files) { delete files; }

WebAnswer AnswerUnreadableRequest(const boost::beast::error_code& error) {
  WebRequest none;
  WebAnswer answer =
      error == http::error::header_limit
          ? Plain(none, http::status::request_header_fields_too_large, "request header too large",
                  "request headers longer than " + std::to_string(kMaxWebRequestHeaderBytes) + " bytes")
          : Plain(none, http::status::bad_request, "bad request", "unreadable request: " + error.message());
  answer.response.keep_alive(false);
  answer.close = true;
  return answer;
}

WebAnswer AnswerWebRequest(WebFiles* files, const WebRequest& request, bool hasBody) {
  const std::string target(request.target());
  const std::string path = target.substr(0, target.find_first_of("?#"));
  const std::string what = RequestText(request);
  const bool upgrade = boost::beast::websocket::is_upgrade(request);
  WebAnswer answer;
  if (upgrade && path != "/online") {
    answer = Plain(request, http::status::not_found, "no WebSocket endpoint here", what + ": an upgrade off /online");
  } else if (path == "/online") {
    if (!upgrade) {
      answer = Plain(request, http::status::bad_request, "a WebSocket endpoint", what + ": not a WebSocket upgrade");
    } else if (!ValidWebSocketKey(std::string(request[http::field::sec_websocket_key])) ||
               request[http::field::sec_websocket_version] != "13") {
      answer = Plain(request, http::status::bad_request, "bad WebSocket upgrade",
                     what + ": a missing or invalid Sec-WebSocket-Key or version");
      answer.response.set(http::field::sec_websocket_version, "13");
    } else if (hasBody) {
      answer = Plain(request, http::status::bad_request, "no body taken", what + ": a body");
    } else {
      answer.openWebSocket = true;
      return answer;
    }
  } else if (request.method() != http::verb::get && request.method() != http::verb::head) {
    answer = Plain(request, http::status::method_not_allowed, "only GET and HEAD", what + ": method not allowed");
    answer.response.set(http::field::allow, "GET, HEAD");
  } else if (hasBody) {
    answer = Plain(request, http::status::bad_request, "no body taken", what + ": a body");
  } else {
    const WebPathDecision decision = DecideWebPath(files->root, target);
    CachedFile* file = decision.status == 200 ? CachedFileOf(files, decision.file) : nullptr;
    if (decision.status != 200 || file == nullptr) {
      const int32_t status = decision.status != 200 ? decision.status : 404;
      answer = Plain(request, static_cast<http::status>(status), status == 404 ? "not found" : "refused",
                     what + ": " + (decision.status != 200 ? decision.reason : "unreadable"));
    } else {
      const FileType& type = TypeOf(decision.file);
      const bool gzip = type.compressible && AcceptsGzip(std::string(request[http::field::accept_encoding]));
      if (gzip && !file->gzipped) {
        std::shared_ptr<const std::string> packed = Gzipped(*file->body);
        if (packed) {
          MakeRoom(files, packed->size());
          file = CachedFileOf(files, decision.file);  // MakeRoom may have dropped it
          if (file != nullptr && !file->gzipped) {
            file->gzipped = packed;
            files->cachedBytes += packed->size();
          }
        }
      }
      if (file == nullptr) return Plain(request, http::status::not_found, "not found", what + ": unreadable");
      const bool packed = gzip && file->gzipped;
      const std::string etag = packed ? file->etag.substr(0, file->etag.size() - 1) + "-gz\"" : file->etag;
      answer.response.version(request.version() == 10 ? 10 : 11);
      answer.response.set(http::field::server, "tavo2000-server");
      answer.response.set(http::field::content_type, type.contentType);
      answer.response.set(http::field::cache_control, "no-cache");
      answer.response.set(http::field::etag, etag);
      if (type.compressible) answer.response.set(http::field::vary, "Accept-Encoding");
      if (packed) answer.response.set(http::field::content_encoding, "gzip");
      const std::string& body = packed ? *file->gzipped : *file->body;
      if (MatchesEtag(std::string(request[http::field::if_none_match]), etag)) {
        answer.response.result(http::status::not_modified);
      } else {
        answer.response.result(http::status::ok);
        answer.response.content_length(body.size());
        if (request.method() == http::verb::get) answer.response.body() = body;
      }
      answer.response.keep_alive(request.keep_alive());
    }
  }
  if (hasBody) {
    answer.response.keep_alive(false);
    answer.close = true;
  }
  answer.close = answer.close || !answer.response.keep_alive();
  return answer;
}

std::string AnswerWebRequestBytes(WebFiles* files, const uint8_t* bytes, size_t size, bool* webSocket,
                                  std::string* refusal) {
  *webSocket = false;
  refusal->clear();
  http::request_parser<http::empty_body> parser;
  parser.header_limit(kMaxWebRequestHeaderBytes);
  parser.eager(false);
  boost::beast::error_code error;
  size_t used = 0;
  while (!parser.is_header_done() && used < size) {
    const size_t taken = parser.put(boost::asio::buffer(bytes + used, size - used), error);
    if (error == http::error::need_more) break;
    if (error) break;
    if (taken == 0) break;
    used += taken;
  }
  WebAnswer answer;
  if (error && error != http::error::need_more) {
    answer = AnswerUnreadableRequest(error);
  } else if (!parser.is_header_done()) {
    return "";
  } else {
    answer = AnswerWebRequest(files, parser.get(), !parser.is_done());
    if (answer.openWebSocket) {
      *webSocket = true;
      return "";
    }
  }
  *refusal = answer.refusal;
  std::ostringstream out;
  out << answer.response;
  return out.str();
}

}  // namespace platform
