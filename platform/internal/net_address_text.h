// Reading an address's text before any lookup: "host", "host:port" or "1.2.3.4:5" split and checked, and dotted
// IPv4 addresses read, the same for every system's network service.
#pragma once
#include <cstdint>
#include <string>

#include "platform/net.h"

namespace platform {

// Splits "host[:port]" into a host name or dotted address and a port (defaultPort without one); false with the
// reason for an empty host, a bad port (not a number from 1 to 65535), an IPv6 address or a host name with
// characters no host name has.
bool SplitNetAddressText(const std::string& text, uint16_t defaultPort, std::string* host, uint16_t* port,
                         std::string* error);

// Reads "a.b.c.d" (four numbers of 0 to 255) into out's bytes as an IPv4 address; false for anything else.
bool ReadDottedAddress(const std::string& host, NetAddress* out);

}  // namespace platform
