// The rendezvous server's command line: where it listens, how many rooms it keeps, how many one address may open,
// the folder of the page it serves; read into a record, with the help text and one plain line for anything it cannot
// take.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/server/room_table.h"

constexpr uint16_t kDefaultServerPort = 27960;

struct ServerOptions {
  uint16_t port = kDefaultServerPort;
  int32_t maxRooms = kDefaultMaxRooms;
  int32_t roomsPerAddress = kDefaultRoomsPerAddress;
  std::string webFolder;  // --web: the built page's folder, served over HTTP on the same TCP port; empty for none
  bool showHelp = false, showVersion = false;
  std::vector<std::string> ignored;  // arguments it does not know, told on stderr and otherwise ignored
};

// False with the reason in *error for a value it cannot take (a bad port, a number out of range, an address the
// server cannot listen on).
bool ReadServerOptions(const std::vector<std::string>& arguments, ServerOptions* out, std::string* error);

std::string ServerHelpText();
