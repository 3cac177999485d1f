// The rendezvous server's sockets: its UDP port and, when it serves a page, the same TCP port for the page's files
// over HTTP and WebSocket clients on /online, each message of which is one datagram; all in the server's one thread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/net.h"

namespace platform {

struct ServerSockets;

// Limits of the page's side (HTTP and WebSocket), the same for every build that serves one.
constexpr int32_t kMaxWebConnections = 512;           // TCP connections at once, in all
constexpr int32_t kMaxWebConnectionsPerAddress = 32;  // ... and from one IP address
constexpr uint32_t kWebHeaderSeconds = 10;            // a request's line and headers must arrive within this
constexpr uint32_t kWebKeepAliveSeconds = 30;         // an idle kept-alive connection is closed after this
constexpr uint32_t kWebSocketIdleSeconds = 60;        // a WebSocket client that sends nothing for this is closed
constexpr size_t kWebSocketQueuedMessages = 64;       // messages waiting to go to one slow client; more are dropped
constexpr size_t kServerIncomingMessages = 4096;      // WebSocket messages waiting for the room table; more dropped

// True when this build can serve a page (it has the HTTP and WebSocket code).
bool ServerSocketsServePages();

// Opens UDP port `port` on every address and, when webFolder is not empty, TCP port `port` serving the files of
// that folder and the WebSocket endpoint /online. Null with the reason in *error (a port taken, a folder that
// cannot be served, a build that serves no page).
ServerSockets* OpenServerSockets(uint16_t port, const std::string& webFolder, std::string* error);
void CloseServerSockets(ServerSockets* sockets);
// The UDP port (the TCP one is the same).
uint16_t ServerSocketsPort(const ServerSockets* sockets);

// Serves the page's side and waits, without using the processor, until a datagram or a WebSocket message arrives or
// about maxMs milliseconds have passed.
void WaitForServerInput(ServerSockets* sockets, uint32_t maxMs);
// Takes one datagram or WebSocket message that has arrived, without waiting: its size and its sender (a WebSocket
// client's address has its connection's number); 0 when none waits. One longer than capacity is dropped.
size_t ReceiveServerMessage(ServerSockets* sockets, NetAddress* from, uint8_t* bytes, size_t capacity);
// Sends one datagram, or one binary WebSocket message to a connection; false when it cannot go (a closed
// connection, a full queue, a refusal by the system).
bool SendServerMessage(ServerSockets* sockets, const NetAddress& to, const uint8_t* bytes, size_t size);
// A WebSocket connection that closed since the last call, for its client to leave its room; false when none.
bool TakeClosedServerConnection(ServerSockets* sockets, NetAddress* address);
// The next line for the server's log (a refused request, a connection limit reached); false when none waits.
bool TakeServerSocketsLogLine(ServerSockets* sockets, std::string* line);

}  // namespace platform
