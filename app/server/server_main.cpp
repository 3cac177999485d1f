// The rendezvous server's program: opens its UDP port (and with --web the page's TCP port), answers every datagram
// and WebSocket message through the room table, and closes unused rooms once a second; one line per event.
#include <cstdio>
#include <string>

#include "app/server/room_table.h"
#include "app/server/server_options.h"
#include "platform/net.h"
#include "platform/server_sockets.h"

namespace {

void LogLine(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

Rendezvous Server;

// A line of the server's counts, at most once a minute and only when datagrams came since the last one.
constexpr uint64_t kCountsEveryMs = 60000;

std::string CountsLine(const Rendezvous& server) {
  const ServerCounts& c = server.counts;
  return "counts: rooms_open=" + std::to_string(OpenRoomCount(server)) + " datagrams=" + std::to_string(c.datagrams) +
         " malformed=" + std::to_string(c.malformed) + " refused=" + std::to_string(c.refused) +
         " wrong_codes=" + std::to_string(c.wrongCodes) + " joins_slowed=" + std::to_string(c.joinsSlowed) +
         " relayed=" + std::to_string(c.relayed) + " relay_dropped=" + std::to_string(c.relayDropped) +
         " rooms_opened=" + std::to_string(c.roomsOpened) + " rooms_expired=" + std::to_string(c.roomsExpired);
}

}  // namespace

int main(int argc, char** argv) {
  // Its options are ASCII on every system, so the arguments are taken as the C library gives them.
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  ServerOptions options;
  std::string error;
  if (!ReadServerOptions(arguments, &options, &error)) {
    std::fprintf(stderr, "tavo2000-server: %s\n", error.c_str());
    return 2;
  }
  for (const std::string& ignored : options.ignored)
    std::fprintf(stderr, "tavo2000-server: ignoring '%s' (see --help)\n", ignored.c_str());
  if (options.showHelp) {
    std::fputs(ServerHelpText().c_str(), stdout);
    return 0;
  }
  if (options.showVersion) {
    std::printf("tavo2000-server %s (protocol %u)\n", TAVO_VERSION, kProtocolVersion);
    return 0;
  }

  platform::ServerSockets* sockets = platform::OpenServerSockets(options.port, options.webFolder, &error);
  if (sockets == nullptr) {
    std::fprintf(stderr, "tavo2000-server: %s\n", error.c_str());
    return 1;
  }
  StartRendezvous(&Server, options.maxRooms, options.roomsPerAddress, platform::UnforeseeableSeed());
  const std::string port = std::to_string(platform::ServerSocketsPort(sockets));
  LogLine("listening on 0.0.0.0:" + port + ", at most " + std::to_string(options.maxRooms) + " rooms");
  if (!options.webFolder.empty())
    LogLine("serving " + options.webFolder + " on http://0.0.0.0:" + port + "/ (online play on /online)");

  uint8_t bytes[kMaxDatagramBytes];
  ServerSend sends[kMaxSendsPerDatagram];
  std::string event;
  uint64_t lastExpiryMs = platform::NetClockMs(), lastCountsMs = lastExpiryMs;
  ServerCounts countsTold;
  for (;;) {
    platform::WaitForServerInput(sockets, 250);
    platform::NetAddress from;
    // At most a thousand datagrams at a time, so a flood cannot keep unused rooms from closing.
    size_t size = 0;
    for (int32_t taken = 0;
         taken < 1000 && (size = platform::ReceiveServerMessage(sockets, &from, bytes, sizeof bytes)) != 0; ++taken) {
      const int32_t count = TakeServerDatagram(&Server, from, bytes, size, platform::NetClockMs(), sends, &event);
      for (int32_t i = 0; i < count; ++i)
        platform::SendServerMessage(sockets, sends[i].to, sends[i].bytes, sends[i].size);
      if (!event.empty()) LogLine(event);
    }
    // A WebSocket client whose connection closed leaves its room as if it had started a new game.
    while (platform::TakeClosedServerConnection(sockets, &from)) {
      LeaveRooms(&Server, from, &event);
      if (!event.empty()) LogLine(event);
    }
    std::string line;
    while (platform::TakeServerSocketsLogLine(sockets, &line)) LogLine(line);
    const uint64_t now = platform::NetClockMs();
    if (now - lastExpiryMs >= 1000) {
      lastExpiryMs = now;
      ExpireRooms(&Server, now, LogLine);
    }
    if (now - lastCountsMs >= kCountsEveryMs && Server.counts.datagrams != countsTold.datagrams) {
      lastCountsMs = now;
      countsTold = Server.counts;
      LogLine(CountsLine(Server));
    }
  }
}
