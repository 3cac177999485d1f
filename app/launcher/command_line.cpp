// The command line read with getopt_long over a private copy of argv (getopt reorders what it is given), with
// its global position reset before each reading, so the same arguments always give the same record.
#include "app/launcher/command_line.h"

#include <getopt.h>

#include <algorithm>
#include <cstring>

#include "app/asset_catalogue.h"
#include "platform/base_folders.h"

#ifndef TAVO_VERSION
#define TAVO_VERSION "unknown"
#endif

namespace {

// Option codes above every character, so that getopt's optopt tells a known long option from a stray letter.
enum OptionCode : int {
  WindowOption = 256,
  FullScreenOption,
  ScaleOption,
  DataOption,
  MusicVolumeOption,
  EffectsVolumeOption,
  NoRumbleOption,
  RecordOption,
  PlayOption,
  SaveSettingsOption,
  HostOption,
  JoinOption,
  NameOption,
  ServerOption,
  VersionOption,
  HelpOption,
};

const option kLongOptions[] = {
    {"help", no_argument, nullptr, HelpOption},
    {"version", no_argument, nullptr, VersionOption},
    {"window", optional_argument, nullptr, WindowOption},
    {"fullscreen", no_argument, nullptr, FullScreenOption},
    {"scale", required_argument, nullptr, ScaleOption},
    {"data", required_argument, nullptr, DataOption},
    {"music-volume", required_argument, nullptr, MusicVolumeOption},
    {"effects-volume", required_argument, nullptr, EffectsVolumeOption},
    {"no-rumble", no_argument, nullptr, NoRumbleOption},
    {"record", required_argument, nullptr, RecordOption},
    {"play", required_argument, nullptr, PlayOption},
    {"save-settings", no_argument, nullptr, SaveSettingsOption},
    {"host", optional_argument, nullptr, HostOption},
    {"join", required_argument, nullptr, JoinOption},
    {"name", required_argument, nullptr, NameOption},
    {"server", required_argument, nullptr, ServerOption},
    {nullptr, 0, nullptr, 0},
};

const char* OptionName(int code) {
  for (const option& entry : kLongOptions)
    if (entry.name != nullptr && entry.val == code) return entry.name;
  return "?";
}

// Digits, 'x', digits: what a window size looks like, in range or not.
bool LooksLikeWindowSize(const char* text) {
  const char* cross = std::strchr(text, 'x');
  if (cross == nullptr || cross == text || cross[1] == 0) return false;
  for (const char* c = text; *c != 0; ++c)
    if (c != cross && (*c < '0' || *c > '9')) return false;
  return true;
}

CommandLineOptions Refused(std::string why) {
  CommandLineOptions refused;
  refused.action = CommandLineAction::Refuse;
  refused.refusal = std::move(why);
  return refused;
}

std::string BadValue(int code, const char* value, const char* expected) {
  return std::string("--") + OptionName(code) + "='" + value + "': " + expected;
}

// The help's lines are at most this long; a word longer than that stands on a line of its own.
constexpr size_t kHelpWidth = 89;

// text's words (separated by single spaces) filled into lines of at most kHelpWidth characters, each ending in '\n'.
// The filled text keeps every character's place (a space becomes a line end), so one index serves both.
std::string Filled(const std::string& text) {
  std::string filled;
  size_t lineStart = 0;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find(' ', start), text.size());
    if (start > lineStart && end - lineStart > kHelpWidth) {
      filled.back() = '\n';
      lineStart = filled.size();
    }
    filled.append(text, start, end - start).push_back(' ');
    start = end + 1;
  }
  if (!filled.empty()) filled.back() = '\n';
  return filled;
}

// "A, B, C and D" in the order given.
std::string Listed(const std::vector<std::string>& items) {
  std::string listed;
  for (size_t i = 0; i < items.size(); ++i) listed += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
  return listed;
}

}  // namespace

CommandLineOptions ParseCommandLine(int argc, const char* const* argv) {
  // getopt_long permutes and keeps pointers into what it is given: it works on copies.
  std::vector<std::string> copies;
  for (int i = 0; i < argc; ++i) copies.emplace_back(argv[i] != nullptr ? argv[i] : "");
  if (copies.empty()) copies.emplace_back("tavo2000");
  std::vector<char*> arguments;
  for (std::string& copy : copies) arguments.push_back(copy.data());
  arguments.push_back(nullptr);
  const int count = static_cast<int>(copies.size());

  CommandLineOptions options;
  optind = 0;  // a fresh start of getopt's own state
  opterr = 0;  // every message is ours
  // '-': other arguments come back in place as code 1; ':': a missing value is told apart from an unknown option.
  for (;;) {
    const int code = getopt_long(count, arguments.data(), "-:h", kLongOptions, nullptr);
    if (code == -1) break;
    switch (code) {
      case 1:
        options.unknownArguments.emplace_back(optarg);
        break;
      case 'h':
      case HelpOption:
        options.action = CommandLineAction::ShowHelp;
        return options;
      case VersionOption:
        options.action = CommandLineAction::ShowVersion;
        return options;
      case WindowOption: {
        // "--window WxH" takes the next argument when it has the shape of a size.
        const char* value = optarg;
        if (value == nullptr && optind < count && LooksLikeWindowSize(arguments[optind])) value = arguments[optind++];
        options.fullScreen = false;
        if (value == nullptr) break;
        options.windowSize = ReadWindowSize(value);
        if (!options.windowSize) return Refused(BadValue(code, value, "expected WxH from 640x480 up to 16384x16384"));
        break;
      }
      case FullScreenOption:
        options.fullScreen = true;
        break;
      case ScaleOption:
        options.scaling = ReadScaling(optarg);
        if (!options.scaling) return Refused(BadValue(code, optarg, "expected fit or integer"));
        break;
      case DataOption:
        if (optarg[0] == 0) return Refused(BadValue(code, optarg, "expected a folder"));
        options.dataFolder = optarg;
        break;
      case MusicVolumeOption:
      case EffectsVolumeOption: {
        const std::optional<int32_t> volume = ReadVolume(optarg);
        if (!volume) return Refused(BadValue(code, optarg, "expected a whole number from 0 to 100"));
        (code == MusicVolumeOption ? options.musicVolume : options.effectsVolume) = volume;
        break;
      }
      case NoRumbleOption:
        options.rumble = false;
        break;
      case RecordOption:
      case PlayOption:
        if (optarg[0] == 0) return Refused(BadValue(code, optarg, "expected a file name"));
        (code == RecordOption ? options.recordPath : options.playPath) = optarg;
        break;
      case SaveSettingsOption:
        options.saveSettings = true;
        break;
      case HostOption: {
        const std::optional<int32_t> port = optarg != nullptr ? ReadPort(optarg) : std::optional<int32_t>(27960);
        if (!port) return Refused(BadValue(code, optarg, "expected a port from 1 to 65535"));
        options.hostPort = static_cast<uint16_t>(*port);
        options.hostPortNamed = optarg != nullptr;
        break;
      }
      case JoinOption:
        if (optarg[0] == 0) return Refused(BadValue(code, optarg, "expected HOST or HOST:PORT"));
        options.joinAddress = optarg;
        break;
      case NameOption:
        options.playerName = optarg;
        break;
      case ServerOption:
        if (optarg[0] == 0) return Refused(BadValue(code, optarg, "expected ADDRESS or ADDRESS:PORT"));
        options.serverAddress = optarg;
        break;
      case ':':
        return Refused(std::string("--") + OptionName(optopt) + " needs a value");
      default:
        // A known long option given a value it does not take is refused; anything else is unknown.
        if (optopt >= WindowOption) return Refused(std::string("--") + OptionName(optopt) + " takes no value");
        options.unknownArguments.emplace_back(optopt != 0 ? std::string("-") + static_cast<char>(optopt)
                                                          : std::string(arguments[optind - 1]));
        break;
    }
  }
  for (int i = optind; i < count; ++i) options.unknownArguments.emplace_back(arguments[i]);
  if (options.hostPort && options.joinAddress) return Refused("--host and --join cannot be given together");
  if ((options.hostPort || options.joinAddress) && options.playPath)
    return Refused("--play cannot be given with --host or --join");
  if (options.serverAddress && !options.hostPort && !options.joinAddress)
    return Refused("--server needs --host or --join=CODE");
  return options;
}

std::string HelpText(platform::FolderRules rules) {
  std::vector<std::string> assetFolders;
  for (const char* name : kAssetFolderNames)
    assetFolders.push_back(name + std::string(rules == platform::FolderRules::Windows ? "\\" : "/"));
  std::string places;
  for (const std::string& place : platform::GameDataFolderTexts(rules)) places += (places.empty() ? "" : "; ") + place;
  return "Usage: tavo2000 [OPTION]...\n"
         "The paddle-and-ball arcade game. With no options it starts full screen, picture fitted.\n"
         "\n"
         "  --window[=WxH]        start in a window (default 1280x960; from 640x480 up to 16384x16384)\n"
         "  --fullscreen          start full screen (the default)\n"
         "  --scale=fit|integer   fit: the largest picture with its aspect kept (the default);\n"
         "                        integer: the largest whole multiple of 640x480, centred\n"
         "  --data=DIR            read the game's files from DIR, wherever the game is started\n"
         "  --music-volume=N      music volume for this run, 0 to 100 (default 100)\n"
         "  --effects-volume=N    sound-effect volume for this run, 0 to 100 (default 100)\n"
         "  --no-rumble           no gamepad rumble (by default a pad that can rumbles on hits and misses)\n"
         "  --record=FILE         record this run's input as a replay script in FILE\n"
         "  --play=FILE           play a replay script back in the window\n"
         "  --save-settings       keep this run's display, sound and rumble choices for later runs\n"
         "  --host[=PORT]         wait for another player to join an online match (UDP port, default 27960)\n"
         "  --join=HOST[:PORT]    join the online match of the game waiting at HOST\n"
         "  --server=ADDRESS[:PORT]  meet through the rendezvous server at ADDRESS (with --host the screen\n"
         "                        shows a room code; with --join=CODE the game of that code is joined)\n"
         "  --name=TEXT           the name the other player sees (at most 16 characters)\n"
         "  -h, --help            show this help and exit\n"
         "  --version             show the version and exit\n"
         "\n" +
         Filled("Settings are read from " + platform::GameSettingsFileText(rules, kSettingsFileName) +
                ", written only by --save-settings; options win over them.") +
         Filled("Without --data, when the working folder holds none of " + Listed(assetFolders) +
                ", the game's files are looked for, first match wins, in: " + places + ".");
}

std::string VersionText() { return std::string("tavo2000 ") + TAVO_VERSION; }

std::string UsageLine(const std::string& refusal) {
  return "tavo2000: " + refusal + " (usage: tavo2000 [OPTION]...; tavo2000 --help lists the options)";
}
