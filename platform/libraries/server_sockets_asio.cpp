// The rendezvous server's sockets over Boost.Asio and Boost.Beast, on one io_context run only inside
// WaitForServerInput: UDP datagrams, and on the same TCP port the page's files over HTTP and WebSocket clients.
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/internal/web_answer.h"
#include "platform/server_sockets.h"

namespace platform {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using Tcp = asio::ip::tcp;
using Udp = asio::ip::udp;

namespace {

constexpr size_t kMaxMessageBytes = 512;  // one datagram of the protocol, the most a WebSocket message may hold
constexpr size_t kMaxLogLines = 1000;
constexpr std::chrono::seconds kResponseWriteTime{120};

struct IncomingMessage {
  NetAddress from;
  std::vector<uint8_t> bytes;
};

}  // namespace

struct WebConnection;

struct ServerSockets {
  std::unique_ptr<asio::io_context> context;
  std::optional<Udp::socket> udp;
  std::optional<Tcp::acceptor> acceptor;
  WebFiles* files = nullptr;
  uint16_t port = 0;
  bool udpReadable = false, udpWaiting = false, udpTurn = false;
  std::vector<uint8_t> udpBuffer = std::vector<uint8_t>(65536);
  int32_t connections = 0;
  std::unordered_map<uint32_t, int32_t> connectionsOf;                    // an IPv4 address, to its TCP connections
  std::unordered_map<uint32_t, std::weak_ptr<WebConnection>> webSockets;  // by connection number
  uint32_t lastConnection = 0;
  std::deque<IncomingMessage> incoming;
  std::deque<NetAddress> closed;
  std::deque<std::string> log;
  uint64_t unloggedLines = 0;
  std::chrono::steady_clock::time_point lastLimitLog{};
  uint64_t connectionsRefused = 0;
};

struct WebConnection {
  ServerSockets* owner = nullptr;
  std::optional<beast::tcp_stream> stream;
  beast::flat_buffer buffer;
  std::optional<http::request_parser<http::empty_body>> parser;
  WebResponse response;
  bool closeAfterResponse = false;
  std::optional<websocket::stream<beast::tcp_stream>> socket;  // once upgraded
  beast::flat_buffer message;
  std::deque<std::vector<uint8_t>> outgoing;
  bool writing = false, closing = false;
  NetAddress address;  // the client's IPv4 address and TCP port; its connection's number once upgraded
  uint32_t ipKey = 0;
};

namespace {

void Log(ServerSockets* s, const std::string& line) {
  if (s->log.size() >= kMaxLogLines) {
    ++s->unloggedLines;
    return;
  }
  if (s->unloggedLines > 0) {
    s->log.push_back(std::to_string(s->unloggedLines) + " lines not logged (too many at once)");
    s->unloggedLines = 0;
  }
  s->log.push_back(line);
}

std::string ClientText(const WebConnection& c) {
  NetAddress address = c.address;
  address.connection = 0;
  return NetAddressText(address);
}

// Called once, when the last reference to a connection goes: its counts and its WebSocket number are forgotten
// and, for a WebSocket client, its closing is told to the room table.
void ForgetConnection(WebConnection* c) {
  ServerSockets* s = c->owner;
  if (s != nullptr) {
    --s->connections;
    auto count = s->connectionsOf.find(c->ipKey);
    if (count != s->connectionsOf.end() && --count->second <= 0) s->connectionsOf.erase(count);
    if (c->address.connection != 0) {
      s->webSockets.erase(c->address.connection);
      s->closed.push_back(c->address);
    }
  }
  delete c;
}

void ReadRequest(const std::shared_ptr<WebConnection>& c, bool first);

void CloseTcp(const std::shared_ptr<WebConnection>& c) {
  beast::error_code ignored;
  c->stream->socket().shutdown(Tcp::socket::shutdown_both, ignored);
  c->stream->socket().close(ignored);
}

void WriteResponse(const std::shared_ptr<WebConnection>& c, WebAnswer answer) {
  if (!answer.refusal.empty()) Log(c->owner, "refused " + ClientText(*c) + ": " + answer.refusal);
  c->response = std::move(answer.response);
  c->closeAfterResponse = answer.close;
  c->stream->expires_after(kResponseWriteTime);
  http::async_write(*c->stream, c->response, [c](beast::error_code error, size_t) {
    c->response = WebResponse{};
    if (error || c->closeAfterResponse) {
      CloseTcp(c);
      return;
    }
    ReadRequest(c, false);
  });
}

void ReadWebSocket(const std::shared_ptr<WebConnection>& c);

void WriteWebSocket(const std::shared_ptr<WebConnection>& c) {
  c->writing = true;
  c->socket->binary(true);
  c->socket->async_write(asio::buffer(c->outgoing.front()), [c](beast::error_code error, size_t) {
    c->outgoing.pop_front();
    if (error || c->closing || c->outgoing.empty()) {
      c->writing = false;
      return;
    }
    WriteWebSocket(c);
  });
}

void CloseWebSocket(const std::shared_ptr<WebConnection>& c, websocket::close_code code, const std::string& why) {
  Log(c->owner, "closed " + NetAddressText(c->address) + ": " + why);
  c->closing = true;
  c->outgoing.clear();
  if (c->writing) {
    // A write is under way: the close frame cannot go beside it, so the connection simply ends.
    beast::error_code ignored;
    beast::get_lowest_layer(*c->socket).socket().close(ignored);
    return;
  }
  c->socket->async_close(code, [c](beast::error_code) {});
}

void ReadWebSocket(const std::shared_ptr<WebConnection>& c) {
  c->socket->async_read(c->message, [c](beast::error_code error, size_t size) {
    if (error) {
      if (error == websocket::error::message_too_big)
        Log(c->owner, "closed " + NetAddressText(c->address) + ": a message longer than 512 bytes");
      return;  // Beast has closed it (1009 for a message too long); the last reference ends it
    }
    if (!c->socket->got_binary()) {
      CloseWebSocket(c, websocket::close_code::unknown_data, "a text message");
      return;
    }
    ServerSockets* s = c->owner;
    if (s->incoming.size() < kServerIncomingMessages) {
      const uint8_t* bytes = static_cast<const uint8_t*>(c->message.data().data());
      s->incoming.push_back(IncomingMessage{c->address, std::vector<uint8_t>(bytes, bytes + size)});
    }
    c->message.consume(c->message.size());
    ReadWebSocket(c);
  });
}

void AcceptWebSocket(const std::shared_ptr<WebConnection>& c) {
  c->stream->expires_never();
  c->socket.emplace(std::move(*c->stream));
  c->stream.reset();
  websocket::stream_base::timeout timeout;
  timeout.handshake_timeout = std::chrono::seconds(kWebHeaderSeconds);
  timeout.idle_timeout = std::chrono::seconds(kWebSocketIdleSeconds);
  timeout.keep_alive_pings = false;
  c->socket->set_option(timeout);
  c->socket->set_option(websocket::stream_base::decorator(
      [](websocket::response_type& response) { response.set(http::field::server, "tavo2000-server"); }));
  c->socket->read_message_max(kMaxMessageBytes);
  c->socket->auto_fragment(false);
  c->socket->async_accept(c->parser->get(), [c](beast::error_code error) {
    c->parser.reset();
    if (error) return;
    ServerSockets* s = c->owner;
    do {
      ++s->lastConnection;
    } while (s->lastConnection == 0 || s->webSockets.count(s->lastConnection) != 0);
    c->address.connection = s->lastConnection;
    s->webSockets[c->address.connection] = c;
    ReadWebSocket(c);
  });
}

void ReadHeader(const std::shared_ptr<WebConnection>& c) {
  c->parser.emplace();
  c->parser->header_limit(kMaxWebRequestHeaderBytes);
  c->stream->expires_after(std::chrono::seconds(kWebHeaderSeconds));
  http::async_read_header(*c->stream, c->buffer, *c->parser, [c](beast::error_code error, size_t) {
    if (error == beast::error::timeout) {
      Log(c->owner, "closed " + ClientText(*c) + ": request headers not finished within " +
                        std::to_string(kWebHeaderSeconds) + " s");
      CloseTcp(c);
      return;
    }
    if (error == http::error::end_of_stream ||
        (error && error.category() != make_error_code(http::error::header_limit).category())) {
      CloseTcp(c);  // the client went, or the connection failed
      return;
    }
    if (error) {
      WriteResponse(c, AnswerUnreadableRequest(error));
      return;
    }
    WebAnswer answer = AnswerWebRequest(c->owner->files, c->parser->get(), !c->parser->is_done());
    if (answer.openWebSocket) {
      AcceptWebSocket(c);
      return;
    }
    WriteResponse(c, std::move(answer));
  });
}

// The first request's headers must come within kWebHeaderSeconds; after a response, a kept-alive connection may
// stay idle kWebKeepAliveSeconds before its next request starts, which then has kWebHeaderSeconds.
void ReadRequest(const std::shared_ptr<WebConnection>& c, bool first) {
  if (first || c->buffer.size() > 0) {
    ReadHeader(c);
    return;
  }
  c->stream->expires_after(std::chrono::seconds(kWebKeepAliveSeconds));
  c->stream->async_read_some(c->buffer.prepare(1024), [c](beast::error_code error, size_t size) {
    if (error) {
      CloseTcp(c);
      return;
    }
    c->buffer.commit(size);
    ReadHeader(c);
  });
}

void Accept(ServerSockets* s) {
  s->acceptor->async_accept([s](beast::error_code error, Tcp::socket socket) {
    if (error == asio::error::operation_aborted) return;
    Accept(s);
    if (error) return;
    beast::error_code failure;
    const Tcp::endpoint remote = socket.remote_endpoint(failure);
    if (failure || !remote.address().is_v4()) return;
    const uint32_t ip = remote.address().to_v4().to_uint();
    const auto count = s->connectionsOf.find(ip);
    if (s->connections >= kMaxWebConnections ||
        (count != s->connectionsOf.end() && count->second >= kMaxWebConnectionsPerAddress)) {
      // One line a second at most, however many come: a flood of connections must not flood the log.
      ++s->connectionsRefused;
      const auto now = std::chrono::steady_clock::now();
      if (now - s->lastLimitLog >= std::chrono::seconds(1)) {
        s->lastLimitLog = now;
        Log(s, "refused " + std::to_string(s->connectionsRefused) + " TCP connection(s), the last from " +
                   remote.address().to_string() + ": too many connections (at most " +
                   std::to_string(kMaxWebConnections) + ", " + std::to_string(kMaxWebConnectionsPerAddress) +
                   " from one address)");
        s->connectionsRefused = 0;
      }
      return;
    }
    std::shared_ptr<WebConnection> c(new WebConnection, ForgetConnection);
    c->owner = s;
    c->ipKey = ip;
    const asio::ip::address_v4::bytes_type bytes = remote.address().to_v4().to_bytes();
    for (size_t i = 0; i < 4; ++i) c->address.bytes[i] = bytes[i];
    c->address.port = remote.port();
    c->stream.emplace(std::move(socket));
    ++s->connections;
    ++s->connectionsOf[ip];
    ReadRequest(c, true);
  });
}

bool HasInput(const ServerSockets* s) { return s->udpReadable || !s->incoming.empty() || !s->closed.empty(); }

size_t ReceiveUdp(ServerSockets* s, NetAddress* from, uint8_t* bytes, size_t capacity) {
  for (;;) {
    Udp::endpoint sender;
    beast::error_code error;
    const size_t size = s->udp->receive_from(asio::buffer(s->udpBuffer), sender, 0, error);
    if (error == asio::error::would_block || error == asio::error::try_again) {
      s->udpReadable = false;
      return 0;
    }
    if (error || !sender.address().is_v4() || size == 0 || size > capacity) continue;
    std::memcpy(bytes, s->udpBuffer.data(), size);
    *from = NetAddress{};
    const asio::ip::address_v4::bytes_type address = sender.address().to_v4().to_bytes();
    for (size_t i = 0; i < 4; ++i) from->bytes[i] = address[i];
    from->port = sender.port();
    return size;
  }
}

}  // namespace

bool ServerSocketsServePages() { return true; }

ServerSockets* OpenServerSockets(uint16_t port, const std::string& webFolder, std::string* error) {
  std::unique_ptr<ServerSockets> s(new ServerSockets);
  s->context = std::make_unique<asio::io_context>(1);
  beast::error_code failure;
  s->udp.emplace(*s->context);
  s->udp->open(Udp::v4(), failure);
  if (!failure) s->udp->bind(Udp::endpoint(Udp::v4(), port), failure);
  if (!failure) s->udp->non_blocking(true, failure);
  if (failure) {
    *error = "cannot listen on UDP port " + std::to_string(port) + ": " + failure.message();
    return nullptr;
  }
  s->port = s->udp->local_endpoint().port();
  if (!webFolder.empty()) {
    s->files = OpenWebFiles(webFolder, error);
    if (s->files == nullptr) return nullptr;
    s->acceptor.emplace(*s->context);
    s->acceptor->open(Tcp::v4(), failure);
    if (!failure) s->acceptor->set_option(asio::socket_base::reuse_address(true), failure);
    if (!failure) s->acceptor->bind(Tcp::endpoint(Tcp::v4(), s->port), failure);
    if (!failure) s->acceptor->listen(asio::socket_base::max_listen_connections, failure);
    if (failure) {
      *error = "cannot listen on TCP port " + std::to_string(s->port) + ": " + failure.message();
      CloseWebFiles(s->files);
      return nullptr;
    }
    Accept(s.get());
  }
  return s.release();
}

void CloseServerSockets(ServerSockets* s) {
  if (s == nullptr) return;
  // The pending handlers hold the connections: destroying the context ends them while the tables they leave are
  // still here.
  s->context.reset();
  s->acceptor.reset();
  s->udp.reset();
  CloseWebFiles(s->files);
  delete s;
}

uint16_t ServerSocketsPort(const ServerSockets* s) { return s->port; }

void WaitForServerInput(ServerSockets* s, uint32_t maxMs) {
  if (s->context->stopped()) s->context->restart();
  s->context->poll();
  if (HasInput(s)) return;
  if (!s->udpWaiting) {
    s->udpWaiting = true;
    s->udp->async_wait(Udp::socket::wait_read, [s](beast::error_code error) {
      s->udpWaiting = false;
      if (!error) s->udpReadable = true;
    });
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxMs);
  while (!HasInput(s) && std::chrono::steady_clock::now() < deadline) {
    if (s->context->stopped()) s->context->restart();
    s->context->run_one_until(deadline);
  }
}

size_t ReceiveServerMessage(ServerSockets* s, NetAddress* from, uint8_t* bytes, size_t capacity) {
  // The two kinds take turns, so a flood of one keeps the other waiting no more than one message.
  for (int32_t attempt = 0; attempt < 2; ++attempt) {
    s->udpTurn = !s->udpTurn;
    if (s->udpTurn) {
      const size_t size = ReceiveUdp(s, from, bytes, capacity);
      if (size != 0) return size;
      continue;
    }
    while (!s->incoming.empty()) {
      IncomingMessage message = std::move(s->incoming.front());
      s->incoming.pop_front();
      if (message.bytes.empty() || message.bytes.size() > capacity) continue;
      std::memcpy(bytes, message.bytes.data(), message.bytes.size());
      *from = message.from;
      return message.bytes.size();
    }
  }
  return 0;
}

bool SendServerMessage(ServerSockets* s, const NetAddress& to, const uint8_t* bytes, size_t size) {
  if (size == 0 || size > kMaxMessageBytes) return false;
  if (to.connection == 0) {
    if (to.family != 4) return false;
    asio::ip::address_v4::bytes_type address;
    for (size_t i = 0; i < 4; ++i) address[i] = to.bytes[i];
    beast::error_code error;
    s->udp->send_to(asio::buffer(bytes, size), Udp::endpoint(asio::ip::address_v4(address), to.port), 0, error);
    return !error;
  }
  const auto found = s->webSockets.find(to.connection);
  if (found == s->webSockets.end()) return false;
  const std::shared_ptr<WebConnection> c = found->second.lock();
  if (!c || c->closing || c->outgoing.size() >= kWebSocketQueuedMessages) return false;
  c->outgoing.emplace_back(bytes, bytes + size);
  if (!c->writing) WriteWebSocket(c);
  return true;
}

bool TakeClosedServerConnection(ServerSockets* s, NetAddress* address) {
  if (s->closed.empty()) return false;
  *address = s->closed.front();
  s->closed.pop_front();
  return true;
}

bool TakeServerSocketsLogLine(ServerSockets* s, std::string* line) {
  if (s->log.empty()) return false;
  *line = std::move(s->log.front());
  s->log.pop_front();
  return true;
}

}  // namespace platform
