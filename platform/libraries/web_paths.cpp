// The path decision of the page's files: a request's target, percent-decoded and checked segment by segment, to one
// regular file under the served folder, with links resolved and compared against the folder.
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/web_files.h"

namespace platform {

namespace {

WebPathDecision Refused(int32_t status, const std::string& reason) {
  WebPathDecision decision;
  decision.status = status;
  decision.reason = reason;
  return decision;
}

int32_t HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One raw segment decoded; false for a broken escape.
bool DecodeSegment(const std::string& raw, std::string* out) {
  out->clear();
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '%') {
      out->push_back(raw[i]);
      continue;
    }
    if (i + 2 >= raw.size()) return false;
    const int32_t high = HexValue(raw[i + 1]), low = HexValue(raw[i + 2]);
    if (high < 0 || low < 0) return false;
    out->push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return true;
}

// True when a resolved path lies inside root and no part of it below root is hidden.
bool InsideAndVisible(const std::string& root, const std::string& resolved) {
  if (resolved.size() <= root.size() + 1 || resolved.compare(0, root.size(), root) != 0 || resolved[root.size()] != '/')
    return false;
  for (size_t at = root.size(); at < resolved.size(); ++at) {
    if (resolved[at] == '/' && at + 1 < resolved.size() && resolved[at + 1] == '.') return false;
  }
  return true;
}

}  // namespace

WebPathDecision DecideWebPath(const std::string& root, const std::string& target) {
  const std::string path = target.substr(0, target.find_first_of("?#"));
  if (path.empty() || path[0] != '/') return Refused(400, "not a path");
  std::vector<std::string> segments;
  size_t start = 1;
  for (;;) {
    const size_t end = path.find('/', start);
    const std::string raw = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const bool last = end == std::string::npos;
    std::string segment;
    if (!DecodeSegment(raw, &segment)) return Refused(400, "a broken percent escape");
    if (segment.empty() && !last) return Refused(400, "an empty path segment");
    if (segment == "." || segment == "..") return Refused(400, "a dot segment");
    for (char c : segment) {
      if (c == '/' || c == '\\') return Refused(400, "a slash or backslash inside a segment");
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return Refused(400, "a control character");
    }
    if (!segment.empty() && segment[0] == '.') return Refused(404, "a hidden file or folder");
    segments.push_back(segment.empty() ? "index.html" : segment);
    if (last) break;
    start = end + 1;
  }
  std::string joined = root;
  for (const std::string& segment : segments) joined += "/" + segment;
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::canonical(joined, error);
  if (error) return Refused(404, "no such file");
  const std::string resolvedText = resolved.string();
  if (!InsideAndVisible(root, resolvedText)) return Refused(403, "a link out of the folder");
  if (!std::filesystem::is_regular_file(resolved, error) || error) return Refused(404, "not a regular file");
  WebPathDecision decision;
  decision.status = 200;
  decision.file = resolvedText;
  return decision;
}

}  // namespace platform
