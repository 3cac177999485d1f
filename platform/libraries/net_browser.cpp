// The network service in the browser: a page cannot send UDP datagrams, so no socket opens there; addresses are
// still read and written as on every other system, and the page's own transport comes in its place later.
#include "platform/internal/net_address_text.h"
#include "platform/net.h"

namespace platform {

struct UdpSocket {};

bool ResolveNetAddress(const std::string& text, uint16_t defaultPort, NetAddress* out, std::string* error) {
  std::string host;
  uint16_t port = 0;
  if (!SplitNetAddressText(text, defaultPort, &host, &port, error)) return false;
  NetAddress address;
  address.port = port;
  if (!ReadDottedAddress(host, &address)) {
    *error = "unknown host '" + host + "': the browser looks up no host names";
    return false;
  }
  *out = address;
  return true;
}

std::vector<NetAddress> LocalNetAddresses() {
  NetAddress loopback;
  loopback.bytes[0] = 127;
  loopback.bytes[3] = 1;
  return {loopback};
}

UdpSocket* OpenUdpSocket(uint16_t, std::string* error) {
  *error = "online play over UDP is not available in the browser";
  return nullptr;
}

void CloseUdpSocket(UdpSocket*) {}

uint16_t UdpSocketPort(const UdpSocket*) { return 0; }

bool SendDatagram(UdpSocket*, const NetAddress&, const uint8_t*, size_t) { return false; }

size_t ReceiveDatagram(UdpSocket*, NetAddress*, uint8_t*, size_t) { return 0; }

void SimulateLink(UdpSocket*, const LinkSimulation&) {}

UdpSocketCounts UdpSocketCountsOf(const UdpSocket*) { return {}; }

void WaitForDatagram(UdpSocket*, uint32_t) {}

void StartPageChannel(UdpSocket*, const NetAddress&, bool) {}
bool TakePageChannelText(UdpSocket*, std::string*) { return false; }
void GivePageChannelText(UdpSocket*, const std::string&) {}
bool PageChannelOpen(const UdpSocket*) { return false; }

}  // namespace platform
