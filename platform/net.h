// The network service: UDP datagrams between two peers and a rendezvous server, over SDL_net, with a link
// simulator (delay, jitter, loss, duplication, reordering) that tests and curious players switch on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// An IPv4 address (network order in bytes[0..3]) and port; family 4. Family 6 is reserved for later systems.
struct NetAddress {
  uint8_t family = 4;
  uint8_t bytes[16] = {};
  uint16_t port = 0;
  uint32_t connection = 0;  // a WebSocket connection's number on the server (its client's address and TCP port
                            // above); 0 for a UDP address
};
bool operator==(const NetAddress& a, const NetAddress& b);

// "127.0.0.1:27960"; a WebSocket connection's "ws 127.0.0.1:5555".
std::string NetAddressText(const NetAddress& address);

// Host names and dotted addresses, with or without ":PORT" (defaultPort otherwise); false with the reason.
bool ResolveNetAddress(const std::string& text, uint16_t defaultPort, NetAddress* out, std::string* error);

// The machine's own IPv4 addresses other than loopback, to tell the other player; loopback when there is none.
std::vector<NetAddress> LocalNetAddresses();

struct UdpSocket;

// Opens a socket bound to port on every local address (0: a free port chosen by the system). Null with the reason
// in *error (port taken, no network service). The link simulator is set from TAVO_NET_SIM when it is present.
UdpSocket* OpenUdpSocket(uint16_t port, std::string* error);
void CloseUdpSocket(UdpSocket* socket);
// The port the socket is bound to.
uint16_t UdpSocketPort(const UdpSocket* socket);

// Sends one datagram of at most 512 bytes (or hands it to the simulator); false when the system refuses it.
bool SendDatagram(UdpSocket* socket, const NetAddress& to, const uint8_t* bytes, size_t size);
// Takes one datagram that has arrived (and, with the simulator, whose time has come), without waiting: its size,
// its sender in *from; 0 when none waits. A datagram longer than capacity is dropped and counted.
size_t ReceiveDatagram(UdpSocket* socket, NetAddress* from, uint8_t* bytes, size_t capacity);
// Waits, without using the processor, until a datagram arrives or about maxMs milliseconds of the network clock
// have passed (the simulator's held datagrams count as arriving when their time comes).
void WaitForDatagram(UdpSocket* socket, uint32_t maxMs);

// The link simulator's settings: each datagram sent and each received is delayed by delay plus up to jitter
// milliseconds, lost, sent twice or held back behind the next one with the given chances; seeded, so a run repeats.
struct LinkSimulation {
  uint32_t delayMs = 0, jitterMs = 0;
  uint32_t lossPercent = 0, duplicatePercent = 0, reorderPercent = 0;
  uint64_t seed = 1;
};
// "delay=MS,jitter=MS,loss=PERCENT,duplicate=PERCENT,reorder=PERCENT,seed=N", any of them, any order; false with
// the reason for anything else (an unknown name, a number out of range).
bool ParseLinkSimulation(const std::string& text, LinkSimulation* out, std::string* error);
// Switches the simulator on for one socket (or off, with all zero), replacing what TAVO_NET_SIM set.
void SimulateLink(UdpSocket* socket, const LinkSimulation& simulation);

// What one socket has seen: datagrams sent, received, dropped as too long, and those the simulator lost.
struct UdpSocketCounts {
  uint64_t sent = 0, received = 0, tooLong = 0, simulatedLoss = 0;
  uint64_t bytesSent = 0, bytesReceived = 0;
};
UdpSocketCounts UdpSocketCountsOf(const UdpSocket* socket);

// The clock the simulator's delays follow: milliseconds, by default the real monotonic clock; a test or the replay
// tool's peers may run it faster (scale 2 = twice as fast) so long matches take less time.
void SetNetClockScale(uint32_t scale);
uint32_t NetClockScale();
uint64_t NetClockMs();

// ---- A page's direct channel to another page (WebRTC, the browser build only; elsewhere none opens)

// Starts opening the channel to the other page, whose address in this session is `peer`: the offerer makes the
// offer, the other side answers it. Once the channel is open, datagrams sent to `peer` go over it and what comes
// over it is received from `peer`; until then they are dropped, as a path not yet open drops them.
void StartPageChannel(UdpSocket* socket, const NetAddress& peer, bool offerer);
// The next text for the other page's GivePageChannelText (an offer or an answer with its candidates), carried by
// the server; false when none waits.
bool TakePageChannelText(UdpSocket* socket, std::string* text);
void GivePageChannelText(UdpSocket* socket, const std::string& text);
bool PageChannelOpen(const UdpSocket* socket);

// A seed nobody outside can foresee (the system's random source), for room codes that must not be guessed.
uint64_t UnforeseeableSeed();

}  // namespace platform
