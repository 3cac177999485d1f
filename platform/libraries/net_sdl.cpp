// The network service over SDL_net: UDP sockets that never wait, host names looked up, the machine's own
// addresses, and each socket's link simulator (set from TAVO_NET_SIM when it opens) between it and the program.
#include <SDL.h>
#include <SDL_net.h>

#include <algorithm>
#include <cstring>

#include "platform/internal/net_address_text.h"
#include "platform/internal/net_link_simulator.h"
#include "platform/net.h"

namespace platform {

// The longest datagram UDP over IPv4 carries: a socket reads every datagram whole into a buffer this long, so
// that one longer than the caller's capacity is seen as such (and dropped) instead of cut short.
constexpr int kLongestUdpDatagram = 65507;

struct UdpSocket {
  UDPsocket sdl = nullptr;
  UDPpacket* packet = nullptr;
  uint16_t port = 0;
  UdpSocketCounts counts;
  bool simulated = false;
  LinkQueue outgoing, incoming;
};

namespace {

// The set WaitForDatagram waits on, made once for the socket waited on, so waiting every frame allocates nothing;
// forgotten when that socket closes.
SDLNet_SocketSet waitSet = nullptr;
UDPsocket waitSetFor = nullptr;

void ForgetWaitSet() {
  if (waitSet != nullptr) SDLNet_FreeSocketSet(waitSet);
  waitSet = nullptr;
  waitSetFor = nullptr;
}

// SDL_net is started with the first user (an open socket or a call in progress) and stopped after the last.
int netServiceUsers = 0;

bool StartNetService(std::string* error) {
  if (netServiceUsers == 0 && SDLNet_Init() != 0) {
    if (error != nullptr) *error = std::string("the network service cannot start: ") + SDLNet_GetError();
    return false;
  }
  netServiceUsers++;
  return true;
}

void StopNetService() {
  if (netServiceUsers > 0 && --netServiceUsers == 0) SDLNet_Quit();
}

NetAddress FromSdlAddress(const IPaddress& ip) {
  NetAddress address;
  std::memcpy(address.bytes, &ip.host, 4);  // both in network order
  address.port = SDLNet_Read16(&ip.port);
  return address;
}

IPaddress ToSdlAddress(const NetAddress& address) {
  IPaddress ip;
  std::memcpy(&ip.host, address.bytes, 4);
  SDLNet_Write16(address.port, &ip.port);
  return ip;
}

// Hands a datagram to the system; false when it refuses.
bool SendNow(UdpSocket* socket, const NetAddress& to, const uint8_t* bytes, size_t size) {
  if (to.family != 4) return false;
  UDPpacket packet = {};
  packet.channel = -1;
  packet.data = const_cast<uint8_t*>(bytes);
  packet.len = static_cast<int>(size);
  packet.maxlen = static_cast<int>(size);
  packet.address = ToSdlAddress(to);
  return SDLNet_UDP_Send(socket->sdl, -1, &packet) == 1;
}

// Sends what the simulator holds for sending whose time has come.
void SendDueDatagrams(UdpSocket* socket, uint64_t now) {
  QueuedDatagram due;
  while (TakeDueDatagram(&socket->outgoing, now, &due)) SendNow(socket, due.peer, due.bytes, due.size);
}

// Takes the next datagram from the system into the socket's packet; false when none waits. Empty datagrams carry
// nothing for anyone and are passed over.
bool ReadFromSystem(UdpSocket* socket) {
  while (SDLNet_UDP_Recv(socket->sdl, socket->packet) == 1) {
    if (socket->packet->len > 0) return true;
  }
  return false;
}

// Hands one datagram to the caller, or counts it as too long for capacity; true when it was handed over.
bool Deliver(UdpSocket* socket, const NetAddress& peer, const uint8_t* bytes, size_t size, NetAddress* from,
             uint8_t* out, size_t capacity) {
  if (size > capacity) {
    socket->counts.tooLong++;
    return false;
  }
  std::memcpy(out, bytes, size);
  *from = peer;
  socket->counts.received++;
  socket->counts.bytesReceived += size;
  return true;
}

}  // namespace

bool ResolveNetAddress(const std::string& text, uint16_t defaultPort, NetAddress* out, std::string* error) {
  std::string host;
  uint16_t port = 0;
  if (!SplitNetAddressText(text, defaultPort, &host, &port, error)) return false;
  NetAddress address;
  address.port = port;
  if (ReadDottedAddress(host, &address)) {
    *out = address;
    return true;
  }
  if (!StartNetService(error)) return false;
  IPaddress ip = {};
  const bool found = SDLNet_ResolveHost(&ip, host.c_str(), port) == 0;
  StopNetService();
  if (!found) {
    *error = "unknown host '" + host + "'";
    return false;
  }
  *out = FromSdlAddress(ip);
  return true;
}

std::vector<NetAddress> LocalNetAddresses() {
  std::vector<NetAddress> addresses;
  if (StartNetService(nullptr)) {
    IPaddress found[16];
    const int count = SDLNet_GetLocalAddresses(found, 16);
    for (int i = 0; i < count && i < 16; i++) {
      NetAddress address = FromSdlAddress(found[i]);
      address.port = 0;
      const bool loopback = address.bytes[0] == 127;
      const bool unspecified =
          address.bytes[0] == 0 && address.bytes[1] == 0 && address.bytes[2] == 0 && address.bytes[3] == 0;
      bool known = false;
      for (const NetAddress& seen : addresses) known = known || seen == address;
      if (!loopback && !unspecified && !known) addresses.push_back(address);
    }
    StopNetService();
  }
  if (addresses.empty()) {
    NetAddress loopback;
    loopback.bytes[0] = 127;
    loopback.bytes[3] = 1;
    addresses.push_back(loopback);
  }
  return addresses;
}

UdpSocket* OpenUdpSocket(uint16_t port, std::string* error) {
  if (!StartNetService(error)) return nullptr;
  UDPsocket sdl = SDLNet_UDP_Open(port);
  if (sdl == nullptr) {
    *error = "cannot open UDP port " + std::to_string(port) + ": " + SDLNet_GetError() +
             (port != 0 ? " (is another program using it?)" : "");
    StopNetService();
    return nullptr;
  }
  UDPpacket* packet = SDLNet_AllocPacket(kLongestUdpDatagram);
  if (packet == nullptr) {
    *error = std::string("cannot make a receive buffer: ") + SDLNet_GetError();
    SDLNet_UDP_Close(sdl);
    StopNetService();
    return nullptr;
  }
  UdpSocket* socket = new UdpSocket;
  socket->sdl = sdl;
  socket->packet = packet;
  const IPaddress* own = SDLNet_UDP_GetPeerAddress(sdl, -1);
  socket->port = own != nullptr ? SDLNet_Read16(&own->port) : port;

  LinkSimulation simulation;
  if (LinkSimulationAskedFor(SDL_getenv("TAVO_NET_SIM"), &simulation)) SimulateLink(socket, simulation);
  return socket;
}

void CloseUdpSocket(UdpSocket* socket) {
  if (socket == nullptr) return;
  if (waitSetFor == socket->sdl) ForgetWaitSet();
  SDLNet_FreePacket(socket->packet);
  SDLNet_UDP_Close(socket->sdl);
  delete socket;
  StopNetService();
}

uint16_t UdpSocketPort(const UdpSocket* socket) { return socket->port; }

bool SendDatagram(UdpSocket* socket, const NetAddress& to, const uint8_t* bytes, size_t size) {
  if (size == 0 || size > kMaxDatagramBytes || to.family != 4) return false;
  socket->counts.sent++;
  socket->counts.bytesSent += size;
  if (!socket->simulated) {
    if (!socket->outgoing.waiting.empty()) SendDueDatagrams(socket, NetClockMs());
    return SendNow(socket, to, bytes, size);
  }
  const uint64_t now = NetClockMs();
  socket->counts.simulatedLoss += QueueDatagram(&socket->outgoing, to, bytes, size, now);
  SendDueDatagrams(socket, now);
  return true;
}

size_t ReceiveDatagram(UdpSocket* socket, NetAddress* from, uint8_t* bytes, size_t capacity) {
  const uint64_t now = NetClockMs();
  SendDueDatagrams(socket, now);
  // Arrived datagrams first go through the simulator's incoming queue, which holds each until its time.
  if (socket->simulated) {
    while (ReadFromSystem(socket)) {
      const size_t size = static_cast<size_t>(socket->packet->len);
      if (size > kMaxDatagramBytes) {
        socket->counts.tooLong++;
        continue;
      }
      socket->counts.simulatedLoss +=
          QueueDatagram(&socket->incoming, FromSdlAddress(socket->packet->address), socket->packet->data, size, now);
    }
  }
  QueuedDatagram due;
  while (TakeDueDatagram(&socket->incoming, now, &due)) {
    if (Deliver(socket, due.peer, due.bytes, due.size, from, bytes, capacity)) return due.size;
  }
  if (socket->simulated) return 0;
  while (ReadFromSystem(socket)) {
    const size_t size = static_cast<size_t>(socket->packet->len);
    if (Deliver(socket, FromSdlAddress(socket->packet->address), socket->packet->data, size, from, bytes, capacity)) {
      return size;
    }
  }
  return 0;
}

void SimulateLink(UdpSocket* socket, const LinkSimulation& simulation) {
  // What the earlier settings still hold goes at once: sent now, or handed out before anything newer arrives.
  ReleaseLinkQueue(&socket->outgoing);
  SendDueDatagrams(socket, NetClockMs());
  ReleaseLinkQueue(&socket->incoming);
  socket->simulated = LinkSimulated(simulation);
  if (!socket->simulated) return;
  std::vector<QueuedDatagram> arrived;
  QueuedDatagram due;
  while (TakeDueDatagram(&socket->incoming, 0, &due)) arrived.push_back(due);
  // The two directions draw from generators of their own, so that what a socket sends does not change the fate
  // of what it receives.
  LinkSimulation incoming = simulation;
  incoming.seed = simulation.seed ^ 0x5bd1e9955bd1e995ull;
  StartLinkQueue(&socket->outgoing, simulation);
  StartLinkQueue(&socket->incoming, incoming);
  for (QueuedDatagram& entry : arrived) {
    entry.order = socket->incoming.nextOrder++;
    socket->incoming.waiting.push_back(entry);
  }
}

UdpSocketCounts UdpSocketCountsOf(const UdpSocket* socket) { return socket->counts; }

void WaitForDatagram(UdpSocket* socket, uint32_t maxMs) {
  if (socket == nullptr) return;
  // The simulator's next datagram due (either way) shortens the wait: it must go out or come in on time.
  uint64_t wait = maxMs;
  const uint64_t now = NetClockMs();
  for (const LinkQueue* queue : {&socket->outgoing, &socket->incoming}) {
    for (const QueuedDatagram& entry : queue->waiting) wait = std::min(wait, entry.dueMs > now ? entry.dueMs - now : 0);
  }
  if (waitSetFor != socket->sdl) {
    ForgetWaitSet();
    waitSet = SDLNet_AllocSocketSet(1);
    if (waitSet == nullptr || SDLNet_UDP_AddSocket(waitSet, socket->sdl) < 0) return;
    waitSetFor = socket->sdl;
  }
  const uint64_t realMs = (wait + NetClockScale() - 1) / NetClockScale();
  SDLNet_CheckSockets(waitSet, static_cast<Uint32>(realMs));
}

// Only pages open direct channels to each other.
void StartPageChannel(UdpSocket*, const NetAddress&, bool) {}
bool TakePageChannelText(UdpSocket*, std::string*) { return false; }
void GivePageChannelText(UdpSocket*, const std::string&) {}
bool PageChannelOpen(const UdpSocket*) { return false; }

}  // namespace platform
