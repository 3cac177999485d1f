// The rendezvous server's rooms: a host opens one and gets a code, a joiner gives the code, the server introduces
// the two and relays their datagrams when no direct path opens. Time is passed in; nothing here touches a socket.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/online/protocol.h"
#include "platform/net.h"

constexpr int32_t kDefaultMaxRooms = 1000;
constexpr int32_t kDefaultRoomsPerAddress = 8;
// A room nobody has sent anything to for this long is closed and its code forgotten.
constexpr uint64_t kRoomExpiryMs = 10 * 60 * 1000;
// The relay forwards at most this many datagrams per second from each peer (a burst of as many, then a steady rate).
constexpr uint32_t kRelayDatagramsPerSecond = 64;
// Wrong codes: the first makes the address wait this long before its next join, each further one twice as long, up
// to the longest wait; an address's count is forgotten after the longest quiet spell.
constexpr uint64_t kFirstWrongCodeWaitMs = 1000;
constexpr uint64_t kLongestWrongCodeWaitMs = 30000;
constexpr uint64_t kWrongCodesForgottenMs = 10 * 60 * 1000;
// Join attempts are remembered per address (the IP, any port) in a table of this many slots; a flood from many
// addresses overwrites old slots rather than growing it.
constexpr int32_t kAttemptSlots = 4096;

struct RoomMember {
  platform::NetAddress address;
  char name[kMaxNameLength + 1] = {};
  uint32_t session = 0;  // the number it drew for this meeting: a request with another is a new game
  // The relay's allowance: datagrams it may still forward now, refilled at kRelayDatagramsPerSecond.
  uint32_t relayAllowance = kRelayDatagramsPerSecond;
  uint64_t allowanceAtMs = 0;
};

struct Room {
  bool open = false;
  char code[kRoomCodeLength + 1] = {};
  RoomMember members[2];  // [0] the host, [1] the joiner once one came
  int32_t memberCount = 0;
  bool relaying = false;
  uint64_t lastUsedMs = 0;
};

struct JoinAttempts {
  uint64_t addressKey = 0;  // 0: a free slot
  uint32_t wrongCodes = 0;
  uint64_t waitUntilMs = 0;
  uint64_t lastWrongMs = 0;
};

struct ServerCounts {
  uint64_t datagrams = 0, malformed = 0, refused = 0, relayed = 0, relayDropped = 0;
  uint64_t roomsOpened = 0, roomsJoined = 0, roomsExpired = 0, wrongCodes = 0, joinsSlowed = 0;
};

// The whole server's state, owned by its caller; every table is sized once by StartRendezvous and never grows.
struct Rendezvous {
  int32_t maxRooms = kDefaultMaxRooms;
  int32_t roomsPerAddress = kDefaultRoomsPerAddress;
  std::vector<Room> rooms;
  std::vector<int32_t> freeRooms;
  std::unordered_map<uint64_t, int32_t> roomByCode;
  std::unordered_map<uint64_t, int32_t> roomByMember;  // a member's address and port, to its room
  std::unordered_map<uint64_t, int32_t> roomsOfHost;   // a host's address (any port), to the rooms it holds
  std::vector<JoinAttempts> attempts;
  uint64_t randomState = 0;
  int32_t openRooms = 0;
  ServerCounts counts;
};

// A datagram the server sends in answer.
struct ServerSend {
  platform::NetAddress to;
  uint8_t bytes[kMaxDatagramBytes];
  size_t size = 0;
};
constexpr int32_t kMaxSendsPerDatagram = 2;

void StartRendezvous(Rendezvous* server, int32_t maxRooms, int32_t roomsPerAddress, uint64_t seed);

// Takes one datagram from `from` at nowMs: fills sends (at most kMaxSendsPerDatagram) and returns their count;
// *event is one line for the log when something happened worth telling (a room opened, joined, refused...), else
// left empty.
int32_t TakeServerDatagram(Rendezvous* server, const platform::NetAddress& from, const uint8_t* bytes, size_t size,
                           uint64_t nowMs, ServerSend sends[kMaxSendsPerDatagram], std::string* event);

// Closes the rooms unused for kRoomExpiryMs; one log line per room closed, through log.
void ExpireRooms(Rendezvous* server, uint64_t nowMs, void (*log)(const std::string& line));

// A client gone for good (its WebSocket connection closed) leaves its room, which closes as when it starts a new
// game; *event is the log line, or empty when it was in none.
void LeaveRooms(Rendezvous* server, const platform::NetAddress& from, std::string* event);

// The number of the rooms open now.
int32_t OpenRoomCount(const Rendezvous& server);
