// Network addresses: compared, written as "1.2.3.4:5", and their text read and checked before any lookup.
#include <cstdio>

#include "platform/internal/net_address_text.h"
#include "platform/net.h"

namespace platform {

namespace {

// The longest host name the name service takes.
constexpr size_t kMaxHostNameLength = 253;

bool IsHostNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// A decimal number of digits alone, at most max; false for anything else.
bool ReadSmallNumber(const std::string& text, uint32_t max, uint32_t* out) {
  if (text.empty() || text.size() > 5) return false;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (value > max) return false;
  *out = value;
  return true;
}

}  // namespace

bool operator==(const NetAddress& a, const NetAddress& b) {
  if (a.family != b.family || a.port != b.port || a.connection != b.connection) return false;
  const size_t length = a.family == 4 ? 4 : sizeof(a.bytes);
  for (size_t i = 0; i < length; i++) {
    if (a.bytes[i] != b.bytes[i]) return false;
  }
  return true;
}

std::string NetAddressText(const NetAddress& address) {
  char text[64];
  if (address.family == 4) {
    std::snprintf(text, sizeof(text), "%s%u.%u.%u.%u:%u", address.connection != 0 ? "ws " : "", address.bytes[0],
                  address.bytes[1], address.bytes[2], address.bytes[3], address.port);
    return text;
  }
  std::string written = "[";
  for (size_t i = 0; i < sizeof(address.bytes); i += 2) {
    std::snprintf(text, sizeof(text), i == 0 ? "%x" : ":%x", (address.bytes[i] << 8) | address.bytes[i + 1]);
    written += text;
  }
  std::snprintf(text, sizeof(text), "]:%u", address.port);
  return written + text;
}

bool SplitNetAddressText(const std::string& text, uint16_t defaultPort, std::string* host, uint16_t* port,
                         std::string* error) {
  const size_t colon = text.find(':');
  if (colon != std::string::npos && text.find(':', colon + 1) != std::string::npos) {
    *error = "'" + text + "': IPv6 addresses are not supported; give an IPv4 address or a host name";
    return false;
  }
  std::string name = text.substr(0, colon);
  if (name.empty()) {
    *error = "'" + text + "': no host given";
    return false;
  }
  if (name.size() > kMaxHostNameLength) {
    *error = "the host name is longer than " + std::to_string(kMaxHostNameLength) + " characters";
    return false;
  }
  for (char c : name) {
    if (!IsHostNameCharacter(c)) {
      *error = "'" + name + "' is not a host name or an IPv4 address";
      return false;
    }
  }
  uint32_t number = defaultPort;
  if (colon != std::string::npos && (!ReadSmallNumber(text.substr(colon + 1), 65535, &number) || number == 0)) {
    *error = "'" + text + "': the port must be a number from 1 to 65535";
    return false;
  }
  *host = name;
  *port = static_cast<uint16_t>(number);
  return true;
}

bool ReadDottedAddress(const std::string& host, NetAddress* out) {
  NetAddress address;
  size_t start = 0;
  for (int part = 0; part < 4; part++) {
    size_t end = part < 3 ? host.find('.', start) : host.size();
    if (end == std::string::npos) return false;
    uint32_t value = 0;
    if (!ReadSmallNumber(host.substr(start, end - start), 255, &value)) return false;
    address.bytes[part] = static_cast<uint8_t>(value);
    start = end + 1;
  }
  address.family = 4;
  address.port = out->port;
  *out = address;
  return true;
}

}  // namespace platform
