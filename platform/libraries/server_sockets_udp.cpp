// The rendezvous server's sockets where the HTTP and WebSocket libraries are not at hand (the Windows and ARM
// builds): its UDP port alone, over the network service's socket; such a build refuses to serve a page.
#include "platform/server_sockets.h"

namespace platform {

struct ServerSockets {
  UdpSocket* socket = nullptr;
};

bool ServerSocketsServePages() { return false; }

ServerSockets* OpenServerSockets(uint16_t port, const std::string& webFolder, std::string* error) {
  if (!webFolder.empty()) {
    *error = "this build of the server serves no page";
    return nullptr;
  }
  UdpSocket* socket = OpenUdpSocket(port, error);
  if (socket == nullptr) return nullptr;
  return new ServerSockets{socket};
}

void CloseServerSockets(ServerSockets* sockets) {
  if (sockets == nullptr) return;
  CloseUdpSocket(sockets->socket);
  delete sockets;
}

uint16_t ServerSocketsPort(const ServerSockets* sockets) { return UdpSocketPort(sockets->socket); }

void WaitForServerInput(ServerSockets* sockets, uint32_t maxMs) { WaitForDatagram(sockets->socket, maxMs); }

size_t ReceiveServerMessage(ServerSockets* sockets, NetAddress* from, uint8_t* bytes, size_t capacity) {
  return ReceiveDatagram(sockets->socket, from, bytes, capacity);
}

bool SendServerMessage(ServerSockets* sockets, const NetAddress& to, const uint8_t* bytes, size_t size) {
  return to.connection == 0 && SendDatagram(sockets->socket, to, bytes, size);
}

bool TakeClosedServerConnection(ServerSockets*, NetAddress*) { return false; }

bool TakeServerSocketsLogLine(ServerSockets*, std::string*) { return false; }

}  // namespace platform
