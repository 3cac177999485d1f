// The server's options, read one by one: --listen=ADDRESS:PORT, --max-rooms=N, --rooms-per-address=N, --web=DIR,
// --help and --version; an unknown argument is set aside (and told), never a reason to stop.
#include "app/server/server_options.h"

namespace {

bool ReadNumber(const std::string& text, int64_t first, int64_t last, int64_t* out) {
  if (text.empty() || text.size() > 9) return false;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < first || value > last) return false;
  *out = value;
  return true;
}

// "ADDRESS:PORT", ":PORT" or "PORT". The server's sockets listen on every address of the machine, so ADDRESS may be
// 0.0.0.0 (or left out); a single address is refused rather than silently widened.
bool ReadListen(const std::string& text, uint16_t* port, std::string* error) {
  const size_t colon = text.rfind(':');
  const std::string address = colon == std::string::npos ? "" : text.substr(0, colon);
  const std::string portText = colon == std::string::npos ? text : text.substr(colon + 1);
  int64_t value = 0;
  if (!ReadNumber(portText, 1, 65535, &value)) {
    *error = "--listen wants ADDRESS:PORT with a port from 1 to 65535, not '" + text + "'";
    return false;
  }
  if (!address.empty() && address != "0.0.0.0" && address != "*") {
    *error = "--listen: this server listens on every address of the machine; give 0.0.0.0:" + portText +
             " (and let a firewall choose who reaches it), not '" + address + "'";
    return false;
  }
  *port = static_cast<uint16_t>(value);
  return true;
}

bool StartsWith(const std::string& text, const char* prefix, std::string* rest) {
  const std::string p(prefix);
  if (text.compare(0, p.size(), p) != 0) return false;
  *rest = text.substr(p.size());
  return true;
}

}  // namespace

bool ReadServerOptions(const std::vector<std::string>& arguments, ServerOptions* out, std::string* error) {
  for (const std::string& argument : arguments) {
    std::string value;
    int64_t number = 0;
    if (argument == "--help" || argument == "-h") {
      out->showHelp = true;
    } else if (argument == "--version") {
      out->showVersion = true;
    } else if (StartsWith(argument, "--listen=", &value)) {
      if (!ReadListen(value, &out->port, error)) return false;
    } else if (StartsWith(argument, "--max-rooms=", &value)) {
      if (!ReadNumber(value, 1, 100000, &number)) {
        *error = "--max-rooms wants a number from 1 to 100000, not '" + value + "'";
        return false;
      }
      out->maxRooms = static_cast<int32_t>(number);
    } else if (StartsWith(argument, "--rooms-per-address=", &value)) {
      if (!ReadNumber(value, 1, 100000, &number)) {
        *error = "--rooms-per-address wants a number from 1 to 100000, not '" + value + "'";
        return false;
      }
      out->roomsPerAddress = static_cast<int32_t>(number);
    } else if (StartsWith(argument, "--web=", &value)) {
      if (value.empty()) {
        *error = "--web wants the folder of the built page";
        return false;
      }
      out->webFolder = value;
    } else {
      out->ignored.push_back(argument);
    }
  }
  return true;
}

std::string ServerHelpText() {
  return "Usage: tavo2000-server [OPTION]...\n"
         "Introduces two players of an online match by a room code and relays their game when no direct path opens.\n"
         "\n"
         "  --listen=ADDRESS:PORT     UDP port to listen on, on every address (default 0.0.0.0:27960)\n"
         "  --max-rooms=N             rooms open at once (default 1000)\n"
         "  --rooms-per-address=N     rooms one address may hold open (default 8)\n"
         "  --web=DIR                 also serve the built page in DIR over HTTP on the same TCP port, with its\n"
         "                            online play as WebSocket clients on /online\n"
         "  --help                    this text\n"
         "  --version                 the version\n"
         "\n"
         "A room closes when nothing was sent to it for 10 minutes. One line per event goes to standard output.\n";
}
