// The network service in the browser: a page sends no UDP, so its socket reaches the rendezvous server over
// WebSockets (one binary message per datagram) and the other page over a WebRTC data channel, with the link simulator.
#include <emscripten.h>
#include <emscripten/websocket.h>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>

#include "platform/internal/net_address_text.h"
#include "platform/internal/net_link_simulator.h"
#include "platform/net.h"

// The page's side in JavaScript: the data channel (RTCPeerConnection, no STUN or TURN server: host candidates
// only), and the wait that lets the page run until a datagram arrives. Each channel is kept in
// Module.tavoChannels under its socket's serial number; what arrives over it waits there for ReceiveDatagram.
// clang-format off
EM_JS(int, PageIsSecure, (), {
  return typeof location !== "undefined" && location.protocol === "https:" ? 1 : 0;
});

EM_JS(void, ChannelStart, (int id, int offerer), {
  const channels = Module.tavoChannels = Module.tavoChannels || {};
  if (channels[id] || typeof RTCPeerConnection === "undefined") return;
  const record = channels[id] = {connection: new RTCPeerConnection({iceServers: []}), channel: null, open: false,
                                 inbox: [], texts: [], given: new Set(), sent: 0, received: 0, closed: false};
  const connection = record.connection;
  const wake = () => { if (Module.tavoNetWake) Module.tavoNetWake(); };
  const use = (channel) => {
    channel.binaryType = "arraybuffer";
    record.channel = channel;
    channel.onopen = () => {
      record.open = true;
      console.log("NET: the direct channel to the other page is open");
      wake();
    };
    channel.onclose = () => { record.open = false; };
    channel.onmessage = (event) => {
      if (!(event.data instanceof ArrayBuffer) || record.inbox.length >= 256) return;
      record.inbox.push(new Uint8Array(event.data));
      record.received++;
      wake();
    };
  };
  // The whole local description, its candidates inside, once gathering is complete (or after 1.5 s, with what
  // was gathered by then) becomes the one text the other page needs.
  const describe = () => {
    let done = false;
    const finish = () => {
      if (done || record.closed) return;
      done = true;
      const description = connection.localDescription;
      record.texts.push(JSON.stringify({type: description.type, sdp: description.sdp}));
      wake();
    };
    connection.addEventListener("icegatheringstatechange", () => {
      if (connection.iceGatheringState === "complete") finish();
    });
    if (connection.iceGatheringState === "complete") finish();
    setTimeout(finish, 1500);
  };
  record.describe = describe;
  connection.ondatachannel = (event) => use(event.channel);
  const failed = (error) => console.log("NET: the direct channel cannot open: " + error);
  if (offerer) {
    use(connection.createDataChannel("tavo", {ordered: false, maxRetransmits: 0}));
    connection.createOffer()
      .then((offer) => connection.setLocalDescription(offer))
      .then(describe)
      .catch(failed);
  }
});

EM_JS(void, ChannelGiveText, (int id, const char* text), {
  const record = (Module.tavoChannels || {})[id];
  if (!record) return;
  const words = UTF8ToString(text);
  if (record.given.has(words)) return;
  record.given.add(words);
  let description;
  try {
    description = JSON.parse(words);
  } catch (error) {
    console.log("NET: the other page's channel text is not readable");
    return;
  }
  if (!description || (description.type !== "offer" && description.type !== "answer") ||
      typeof description.sdp !== "string") {
    console.log("NET: the other page's channel text is not an offer or an answer");
    return;
  }
  const connection = record.connection;
  const failed = (error) => console.log("NET: the direct channel cannot open: " + error);
  let step = connection.setRemoteDescription({type: description.type, sdp: description.sdp});
  if (description.type === "offer") {
    step = step.then(() => connection.createAnswer())
      .then((answer) => connection.setLocalDescription(answer))
      .then(record.describe);
  }
  step.catch(failed);
});

// The next text for the other page written into buffer: its length, 0 when none waits, or the length it needed
// (negated) when the buffer was too small (the text is dropped).
EM_JS(int, ChannelTakeText, (int id, char* buffer, int capacity), {
  const record = (Module.tavoChannels || {})[id];
  if (!record || record.texts.length === 0) return 0;
  const length = lengthBytesUTF8(record.texts[0]);
  if (length + 1 > capacity) {
    record.texts.shift();
    return -(length + 1);
  }
  stringToUTF8(record.texts.shift(), buffer, capacity);
  return length;
});

EM_JS(int, ChannelIsOpen, (int id), {
  const record = (Module.tavoChannels || {})[id];
  return record && record.open && record.channel.readyState === "open" ? 1 : 0;
});

EM_JS(int, ChannelSend, (int id, const uint8_t* bytes, int size), {
  const record = (Module.tavoChannels || {})[id];
  if (!record || !record.open || record.channel.readyState !== "open") return 0;
  try {
    record.channel.send(HEAPU8.slice(bytes, bytes + size));
  } catch (error) {
    return 0;
  }
  record.sent++;
  return 1;
});

// The oldest message that came over the channel, into buffer: its size, 0 when none waits, -1 when it was too long
// for capacity (it is dropped).
EM_JS(int, ChannelReceive, (int id, uint8_t* buffer, int capacity), {
  const record = (Module.tavoChannels || {})[id];
  if (!record || record.inbox.length === 0) return 0;
  const message = record.inbox.shift();
  if (message.length > capacity) return -1;
  HEAPU8.set(message, buffer);
  return message.length;
});

EM_JS(int, ChannelWaiting, (int id), {
  const record = (Module.tavoChannels || {})[id];
  return record ? record.inbox.length : 0;
});

EM_JS(void, ChannelClose, (int id), {
  const channels = Module.tavoChannels || {};
  const record = channels[id];
  if (!record) return;
  record.closed = true;
  if (record.channel) record.channel.close();
  record.connection.close();
  // Kept, closed, for the checks to read its counts.
  record.inbox = [];
});

// Lets the page run until a datagram arrives (Module.tavoNetWake is called) or ms milliseconds have passed.
EM_ASYNC_JS(void, WaitForNetWake, (int ms), {
  await new Promise((woken) => {
    const timer = setTimeout(woken, ms);
    Module.tavoNetWake = () => { clearTimeout(timer); woken(); };
  });
  Module.tavoNetWake = null;
});

EM_JS(void, WakeNetWaiter, (), {
  if (Module.tavoNetWake) Module.tavoNetWake();
});
// clang-format on

namespace platform {

namespace {

// The family of an address that names a rendezvous server reached over a WebSocket: bytes[0] is its place in
// the table of server URLs (a socket has at most one link to each).
constexpr uint8_t kWebSocketFamily = 'W';
constexpr size_t kMostServerUrls = 16;
constexpr size_t kLongestServerUrl = 256;
// Datagrams that arrived and wait to be taken; more are dropped, as a system's full receive buffer drops them.
constexpr size_t kInboxCapacity = 256;
// Datagrams held for a WebSocket still opening; more are dropped.
constexpr size_t kMostHeldDatagrams = 8;
// A WebSocket that closed is opened again at the next send, but not more often than this.
constexpr uint64_t kReopenAfterMs = 1000;
// The longest channel text taken (the other page's offer or answer with its candidates).
constexpr int kLongestChannelText = 16 * 400;

std::vector<std::string> serverUrls;

struct Datagram {
  NetAddress peer;
  uint16_t size = 0;
  uint8_t bytes[kMaxDatagramBytes];
};

// One WebSocket to a server: opening (its datagrams held), open, or closed (opened again at a later send).
struct ServerLink {
  NetAddress server;
  EMSCRIPTEN_WEBSOCKET_T handle = 0;
  bool open = false;
  bool closed = false;
  uint64_t closedAtMs = 0;
  std::vector<Datagram> held;
};

}  // namespace

struct UdpSocket {
  int serial = 0;
  std::vector<ServerLink> links;
  std::deque<Datagram> inbox;
  UdpSocketCounts counts;
  bool simulated = false;
  LinkQueue outgoing, incoming;
  bool channelStarted = false;
  NetAddress channelPeer;
};

namespace {

// The open sockets, found by serial from the WebSocket callbacks (a closed socket's late callbacks find none).
std::vector<UdpSocket*> openSockets;
int nextSerial = 1;

UdpSocket* SocketWithSerial(int serial) {
  for (UdpSocket* socket : openSockets) {
    if (socket->serial == serial) return socket;
  }
  return nullptr;
}

// The callbacks' user data: the socket's serial and the link's place in it.
void* LinkTag(int serial, size_t link) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(serial) * kMostServerUrls + link);
}

ServerLink* LinkOfTag(void* tag, UdpSocket** socketOut) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(tag);
  UdpSocket* socket = SocketWithSerial(static_cast<int>(value / kMostServerUrls));
  const size_t link = value % kMostServerUrls;
  if (socket == nullptr || link >= socket->links.size()) return nullptr;
  *socketOut = socket;
  return &socket->links[link];
}

void AddToInbox(UdpSocket* socket, const NetAddress& from, const uint8_t* bytes, size_t size) {
  if (size == 0) return;
  if (size > kMaxDatagramBytes) {
    socket->counts.tooLong++;
    return;
  }
  if (socket->inbox.size() >= kInboxCapacity) return;
  Datagram& d = socket->inbox.emplace_back();
  d.peer = from;
  d.size = static_cast<uint16_t>(size);
  std::memcpy(d.bytes, bytes, size);
}

EM_BOOL OnLinkOpen(int, const EmscriptenWebSocketOpenEvent*, void* tag) {
  UdpSocket* socket = nullptr;
  ServerLink* link = LinkOfTag(tag, &socket);
  if (link == nullptr) return EM_TRUE;
  link->open = true;
  for (Datagram& d : link->held) emscripten_websocket_send_binary(link->handle, d.bytes, d.size);
  link->held.clear();
  return EM_TRUE;
}

EM_BOOL OnLinkMessage(int, const EmscriptenWebSocketMessageEvent* event, void* tag) {
  UdpSocket* socket = nullptr;
  ServerLink* link = LinkOfTag(tag, &socket);
  if (link == nullptr || event->isText) return EM_TRUE;
  AddToInbox(socket, link->server, event->data, event->numBytes);
  WakeNetWaiter();
  return EM_TRUE;
}

EM_BOOL OnLinkClosed(int, const EmscriptenWebSocketCloseEvent*, void* tag) {
  UdpSocket* socket = nullptr;
  ServerLink* link = LinkOfTag(tag, &socket);
  if (link == nullptr || link->closed) return EM_TRUE;
  link->open = false;
  link->closed = true;
  link->closedAtMs = NetClockMs();
  link->held.clear();
  emscripten_websocket_delete(link->handle);
  link->handle = 0;
  return EM_TRUE;
}

EM_BOOL OnLinkError(int, const EmscriptenWebSocketErrorEvent*, void* tag) { return OnLinkClosed(0, nullptr, tag); }

// Opens (again) the WebSocket of one link; false when the browser refuses its URL.
bool OpenLink(UdpSocket* socket, size_t index) {
  ServerLink& link = socket->links[index];
  EmscriptenWebSocketCreateAttributes attributes;
  emscripten_websocket_init_create_attributes(&attributes);
  attributes.url = serverUrls[link.server.bytes[0]].c_str();
  attributes.createOnMainThread = EM_TRUE;
  const EMSCRIPTEN_WEBSOCKET_T handle = emscripten_websocket_new(&attributes);
  if (handle <= 0) return false;
  link.handle = handle;
  link.open = link.closed = false;
  void* tag = LinkTag(socket->serial, index);
  emscripten_websocket_set_onopen_callback(handle, tag, OnLinkOpen);
  emscripten_websocket_set_onmessage_callback(handle, tag, OnLinkMessage);
  emscripten_websocket_set_onclose_callback(handle, tag, OnLinkClosed);
  emscripten_websocket_set_onerror_callback(handle, tag, OnLinkError);
  return true;
}

// Sends one datagram to a server, opening its WebSocket at the first send and holding a few until it opens.
bool SendToServer(UdpSocket* socket, const NetAddress& to, const uint8_t* bytes, size_t size) {
  // Only the table's place counts: what else the address holds names no other server.
  const uint8_t url = to.bytes[0];
  if (url >= serverUrls.size()) return false;
  size_t index = 0;
  while (index < socket->links.size() && socket->links[index].server.bytes[0] != url) ++index;
  if (index == socket->links.size()) {
    NetAddress& server = socket->links.emplace_back().server;
    server.family = kWebSocketFamily;
    server.bytes[0] = url;
    if (!OpenLink(socket, index)) {
      socket->links[index].closed = true;
      socket->links[index].closedAtMs = NetClockMs();
      return false;
    }
  }
  ServerLink& link = socket->links[index];
  if (link.closed) {
    if (NetClockMs() - link.closedAtMs < kReopenAfterMs) return false;
    if (!OpenLink(socket, index)) {
      link.closedAtMs = NetClockMs();
      return false;
    }
  }
  if (link.open) {
    return emscripten_websocket_send_binary(link.handle, const_cast<uint8_t*>(bytes), static_cast<uint32_t>(size)) ==
           EMSCRIPTEN_RESULT_SUCCESS;
  }
  if (link.held.size() >= kMostHeldDatagrams) return false;
  Datagram& d = link.held.emplace_back();
  d.peer = to;
  d.size = static_cast<uint16_t>(size);
  std::memcpy(d.bytes, bytes, size);
  return true;
}

// Hands a datagram to its way out: a server's WebSocket, or the channel to the other page once it is open (until
// then it is dropped, as a path not yet open drops it). False for any other address: the page reaches no other.
bool SendNow(UdpSocket* socket, const NetAddress& to, const uint8_t* bytes, size_t size) {
  if (to.family == kWebSocketFamily) return SendToServer(socket, to, bytes, size);
  if (socket->channelStarted && to == socket->channelPeer) {
    ChannelSend(socket->serial, bytes, static_cast<int>(size));
    return true;
  }
  return false;
}

void SendDueDatagrams(UdpSocket* socket, uint64_t now) {
  QueuedDatagram due;
  while (TakeDueDatagram(&socket->outgoing, now, &due)) SendNow(socket, due.peer, due.bytes, due.size);
}

// Moves what came over the channel into the inbox, from the channel's peer.
void TakeChannelMessages(UdpSocket* socket) {
  if (!socket->channelStarted) return;
  uint8_t bytes[kMaxDatagramBytes];
  for (;;) {
    const int size = ChannelReceive(socket->serial, bytes, sizeof bytes);
    if (size == 0) return;
    if (size < 0) {
      socket->counts.tooLong++;
      continue;
    }
    AddToInbox(socket, socket->channelPeer, bytes, static_cast<size_t>(size));
  }
}

bool Deliver(UdpSocket* socket, const Datagram& d, NetAddress* from, uint8_t* out, size_t capacity) {
  if (d.size > capacity) {
    socket->counts.tooLong++;
    return false;
  }
  std::memcpy(out, d.bytes, d.size);
  *from = d.peer;
  socket->counts.received++;
  socket->counts.bytesReceived += d.size;
  return true;
}

// A server's URL, kept in the table (once); false when the table is full.
bool RememberServerUrl(const std::string& url, NetAddress* out, std::string* error) {
  size_t index = 0;
  while (index < serverUrls.size() && serverUrls[index] != url) ++index;
  if (index == serverUrls.size()) {
    if (index >= kMostServerUrls) {
      *error = "too many servers";
      return false;
    }
    serverUrls.push_back(url);
  }
  NetAddress address;
  address.family = kWebSocketFamily;
  address.bytes[0] = static_cast<uint8_t>(index);
  *out = address;
  return true;
}

bool IsUrlCharacter(char c) { return c > ' ' && c < 127 && c != '"' && c != '<' && c != '>' && c != '\\'; }

}  // namespace

// "ws://HOST[:PORT]/PATH" and "wss://..." name a server's WebSocket as they are; a plain "HOST[:PORT]" names the
// server's WebSocket at /online on that port (wss when the page itself came over https).
bool ResolveNetAddress(const std::string& text, uint16_t defaultPort, NetAddress* out, std::string* error) {
  if (text.rfind("ws://", 0) == 0 || text.rfind("wss://", 0) == 0) {
    const size_t start = text.find("//") + 2;
    if (text.size() > kLongestServerUrl || text.size() == start || text[start] == '/' ||
        !std::all_of(text.begin(), text.end(), IsUrlCharacter)) {
      *error = "'" + text + "' is not a server address the page can reach";
      return false;
    }
    return RememberServerUrl(text, out, error);
  }
  std::string host;
  uint16_t port = 0;
  if (!SplitNetAddressText(text, defaultPort, &host, &port, error)) return false;
  const std::string url = (PageIsSecure() ? "wss://" : "ws://") + host + ":" + std::to_string(port) + "/online";
  return RememberServerUrl(url, out, error);
}

// A page cannot see its machine's addresses.
std::vector<NetAddress> LocalNetAddresses() {
  NetAddress loopback;
  loopback.bytes[0] = 127;
  loopback.bytes[3] = 1;
  return {loopback};
}

UdpSocket* OpenUdpSocket(uint16_t, std::string*) {
  UdpSocket* socket = new UdpSocket;
  socket->serial = nextSerial++;
  openSockets.push_back(socket);
  LinkSimulation simulation;
  if (LinkSimulationAskedFor(SDL_getenv("TAVO_NET_SIM"), &simulation)) SimulateLink(socket, simulation);
  return socket;
}

void CloseUdpSocket(UdpSocket* socket) {
  if (socket == nullptr) return;
  openSockets.erase(std::find(openSockets.begin(), openSockets.end(), socket));
  for (ServerLink& link : socket->links) {
    if (link.handle <= 0) continue;
    emscripten_websocket_close(link.handle, 1000, "closed");
    emscripten_websocket_delete(link.handle);
  }
  if (socket->channelStarted) ChannelClose(socket->serial);
  delete socket;
}

// A page's socket has no port of its own.
uint16_t UdpSocketPort(const UdpSocket*) { return 0; }

bool SendDatagram(UdpSocket* socket, const NetAddress& to, const uint8_t* bytes, size_t size) {
  if (size == 0 || size > kMaxDatagramBytes) return false;
  if (to.family != kWebSocketFamily && !(socket->channelStarted && to == socket->channelPeer)) return false;
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
  TakeChannelMessages(socket);
  // With the simulator, what arrived waits in its incoming queue until its time.
  if (socket->simulated) {
    for (const Datagram& d : socket->inbox) {
      socket->counts.simulatedLoss += QueueDatagram(&socket->incoming, d.peer, d.bytes, d.size, now);
    }
    socket->inbox.clear();
  }
  QueuedDatagram due;
  while (TakeDueDatagram(&socket->incoming, now, &due)) {
    Datagram d;
    d.peer = due.peer;
    d.size = due.size;
    std::memcpy(d.bytes, due.bytes, due.size);
    if (Deliver(socket, d, from, bytes, capacity)) return d.size;
  }
  while (!socket->inbox.empty()) {
    const Datagram d = socket->inbox.front();
    socket->inbox.pop_front();
    if (Deliver(socket, d, from, bytes, capacity)) return d.size;
  }
  return 0;
}

void SimulateLink(UdpSocket* socket, const LinkSimulation& simulation) {
  // What the earlier settings still hold goes at once: sent now, or handed out before anything newer arrives.
  ReleaseLinkQueue(&socket->outgoing);
  SendDueDatagrams(socket, NetClockMs());
  ReleaseLinkQueue(&socket->incoming);
  std::vector<QueuedDatagram> arrived;
  QueuedDatagram due;
  while (TakeDueDatagram(&socket->incoming, 0, &due)) arrived.push_back(due);
  socket->simulated = LinkSimulated(simulation);
  // The two directions draw from generators of their own, as on every other system.
  LinkSimulation incoming = simulation;
  incoming.seed = simulation.seed ^ 0x5bd1e9955bd1e995ull;
  if (socket->simulated) {
    StartLinkQueue(&socket->outgoing, simulation);
    StartLinkQueue(&socket->incoming, incoming);
  }
  // Those held come back to the front of the inbox, in their order.
  for (auto entry = arrived.rbegin(); entry != arrived.rend(); ++entry) {
    Datagram d;
    d.peer = entry->peer;
    d.size = entry->size;
    std::memcpy(d.bytes, entry->bytes, entry->size);
    socket->inbox.push_front(d);
  }
}

UdpSocketCounts UdpSocketCountsOf(const UdpSocket* socket) { return socket->counts; }

// The page runs meanwhile (the program is suspended, Asyncify), and is woken early by a datagram's arrival. This
// wait does not hold while the page is hidden: an online session decides that itself.
void WaitForDatagram(UdpSocket* socket, uint32_t maxMs) {
  if (socket == nullptr) return;
  uint64_t wait = maxMs;
  const uint64_t now = NetClockMs();
  for (const LinkQueue* queue : {&socket->outgoing, &socket->incoming}) {
    for (const QueuedDatagram& entry : queue->waiting) wait = std::min(wait, entry.dueMs > now ? entry.dueMs - now : 0);
  }
  if (!socket->simulated && !socket->inbox.empty()) wait = 0;
  if (socket->channelStarted && ChannelWaiting(socket->serial) > 0) wait = 0;
  const uint64_t realMs = (wait + NetClockScale() - 1) / NetClockScale();
  WaitForNetWake(static_cast<int>(realMs));
}

void StartPageChannel(UdpSocket* socket, const NetAddress& peer, bool offerer) {
  if (socket == nullptr || socket->channelStarted) return;
  socket->channelStarted = true;
  socket->channelPeer = peer;
  ChannelStart(socket->serial, offerer ? 1 : 0);
}

bool TakePageChannelText(UdpSocket* socket, std::string* text) {
  if (socket == nullptr || !socket->channelStarted) return false;
  static char buffer[kLongestChannelText + 1];
  const int length = ChannelTakeText(socket->serial, buffer, sizeof buffer);
  if (length < 0) {
    std::fprintf(stderr, "NET: the direct channel's text is longer than %d bytes; the server relays instead\n",
                 kLongestChannelText);
    return false;
  }
  if (length == 0) return false;
  text->assign(buffer, static_cast<size_t>(length));
  return true;
}

void GivePageChannelText(UdpSocket* socket, const std::string& text) {
  if (socket == nullptr || !socket->channelStarted || text.size() > kLongestChannelText) return;
  ChannelGiveText(socket->serial, text.c_str());
}

bool PageChannelOpen(const UdpSocket* socket) {
  return socket != nullptr && socket->channelStarted && ChannelIsOpen(socket->serial) != 0;
}

}  // namespace platform
