// The rooms' rules: opening with a fresh code, joining by code (slowed after wrong codes), the introduction of the
// two members, the relay between them within its allowance, and the closing of rooms left unused.
#include "app/server/room_table.h"

#include <algorithm>
#include <cstring>

namespace {

// An address and port as one number (IPv4 fits whole; a longer address is folded, FNV-1a). A WebSocket client's
// own key is its connection's number, above every UDP key; without the port it is its IP address like a UDP one,
// so the waits after wrong codes and the rooms per address count both kinds of client of one machine together.
uint64_t AddressKey(const platform::NetAddress& address, bool withPort) {
  if (withPort && address.connection != 0) return 1ull << 63 | address.connection;
  if (address.family == 4) {
    uint64_t key = 4;
    for (int32_t i = 0; i < 4; ++i) key = key << 8 | address.bytes[i];
    return withPort ? key << 16 | address.port : key;
  }
  uint64_t hash = 0xCBF29CE484222325ull;
  for (uint8_t byte : address.bytes) hash = (hash ^ byte) * 0x100000001B3ull;
  if (withPort) hash = (hash ^ address.port) * 0x100000001B3ull;
  return hash | 1;  // never 0, which marks a free attempt slot
}

uint64_t CodeKey(const char* code) {
  uint64_t key = 0;
  for (int32_t i = 0; i < kRoomCodeLength; ++i) key = key << 8 | static_cast<uint8_t>(code[i]);
  return key;
}

// splitmix64: codes nobody can foresee from the ones they were given, given a seed nobody knows.
uint64_t NextRandom(uint64_t* state) {
  uint64_t z = (*state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

void NewCode(Rendezvous* server, char code[kRoomCodeLength + 1]) {
  constexpr uint64_t kAlphabetSize = sizeof(kRoomCodeAlphabet) - 1;
  do {
    uint64_t random = NextRandom(&server->randomState);
    for (int32_t i = 0; i < kRoomCodeLength; ++i) {
      code[i] = kRoomCodeAlphabet[random % kAlphabetSize];
      random /= kAlphabetSize;
    }
    code[kRoomCodeLength] = '\0';
  } while (server->roomByCode.count(CodeKey(code)) != 0);
}

size_t Write(const Message& message, const platform::NetAddress& to, ServerSend* send) {
  send->to = to;
  send->size = WriteMessage(message, send->bytes, sizeof send->bytes);
  return send->size;
}

int32_t Refuse(Rendezvous* server, const platform::NetAddress& to, RefuseReason reason, ServerSend* send) {
  ++server->counts.refused;
  Message m;
  m.kind = MessageKind::ServerRefuse;
  m.reason = reason;
  return Write(m, to, send) != 0 ? 1 : 0;
}

int32_t Answer(const Message& m, const platform::NetAddress& to, ServerSend* send) {
  return Write(m, to, send) != 0 ? 1 : 0;
}

Message RoomOpenedMessage(const Room& room) {
  Message m;
  m.kind = MessageKind::RoomOpened;
  std::memcpy(m.code, room.code, sizeof m.code);
  return m;
}

// Tells one member about the other: the address the server sees it at, its name and its role (1 host, 2 joiner).
Message PeerFoundMessage(const Room& room, int32_t otherIndex) {
  const RoomMember& other = room.members[otherIndex];
  Message m;
  m.kind = MessageKind::PeerFound;
  // A WebSocket client is reached only through the server: family 0, no address to try.
  if (other.address.connection == 0) {
    m.address.family = other.address.family;
    std::memcpy(m.address.bytes, other.address.bytes, sizeof m.address.bytes);
    m.address.port = other.address.port;
  } else {
    m.address.family = 0;
  }
  std::memcpy(m.name, other.name, sizeof m.name);
  m.role = static_cast<uint8_t>(otherIndex + 1);
  return m;
}

std::string RoomText(const Room& room) { return std::string("room ") + room.code; }

std::string MemberText(const RoomMember& member) {
  return platform::NetAddressText(member.address) + " (" + member.name + ")";
}

JoinAttempts* AttemptsOf(Rendezvous* server, const platform::NetAddress& from, uint64_t nowMs) {
  const uint64_t key = AddressKey(from, false);
  JoinAttempts& slot = server->attempts[key % server->attempts.size()];
  // Another address's slot, or one whose wrong codes are long past, starts afresh.
  if (slot.addressKey != key || nowMs - slot.lastWrongMs > kWrongCodesForgottenMs) {
    slot = JoinAttempts{};
    slot.addressKey = key;
  }
  return &slot;
}

void CloseRoom(Rendezvous* server, int32_t index) {
  Room& room = server->rooms[index];
  server->roomByCode.erase(CodeKey(room.code));
  for (int32_t i = 0; i < room.memberCount; ++i) server->roomByMember.erase(AddressKey(room.members[i].address, true));
  const auto host = server->roomsOfHost.find(AddressKey(room.members[0].address, false));
  if (host != server->roomsOfHost.end() && --host->second <= 0) server->roomsOfHost.erase(host);
  room = Room{};
  server->freeRooms.push_back(index);
  --server->openRooms;
}

// A member asking again with another meeting number has left its old game for a new one: its old room closes.
// True when it did.
bool LeftForNewGame(Rendezvous* server, const Message& m, const platform::NetAddress& from, std::string* event) {
  const auto known = server->roomByMember.find(AddressKey(from, true));
  if (known == server->roomByMember.end()) return false;
  const int32_t index = known->second;
  const Room& room = server->rooms[index];
  const int32_t member = room.members[0].address == from ? 0 : 1;
  if (room.members[member].session == m.session) return false;
  *event = RoomText(room) + " closed: " + MemberText(room.members[member]) + " started a new game";
  CloseRoom(server, index);
  return true;
}

int32_t OpenRoom(Rendezvous* server, const Message& m, const platform::NetAddress& from, uint64_t nowMs,
                 ServerSend* send, std::string* event) {
  std::string closed;
  if (LeftForNewGame(server, m, from, &closed)) *event = closed + "; ";
  const auto known = server->roomByMember.find(AddressKey(from, true));
  if (known != server->roomByMember.end()) {
    // A repeated request (its answer was lost): the same room again.
    Room& room = server->rooms[known->second];
    room.lastUsedMs = nowMs;
    if (room.memberCount == 2)
      return Answer(PeerFoundMessage(room, room.members[0].address == from ? 1 : 0), from, send);
    return Answer(RoomOpenedMessage(room), from, send);
  }
  if (server->freeRooms.empty()) {
    *event += "refused " + platform::NetAddressText(from) + ": every room is taken";
    return Refuse(server, from, RefuseReason::ServerFull, send);
  }
  int32_t& hostRooms = server->roomsOfHost[AddressKey(from, false)];
  if (hostRooms >= server->roomsPerAddress) {
    *event += "refused " + platform::NetAddressText(from) + ": too many rooms from one address";
    return Refuse(server, from, RefuseReason::TooManyAttempts, send);
  }
  ++hostRooms;
  const int32_t index = server->freeRooms.back();
  server->freeRooms.pop_back();
  Room& room = server->rooms[index];
  room = Room{};
  room.open = true;
  NewCode(server, room.code);
  room.members[0].address = from;
  std::memcpy(room.members[0].name, m.name, sizeof room.members[0].name);
  room.members[0].session = m.session;
  room.members[0].allowanceAtMs = nowMs;
  room.memberCount = 1;
  room.lastUsedMs = nowMs;
  server->roomByCode[CodeKey(room.code)] = index;
  server->roomByMember[AddressKey(from, true)] = index;
  ++server->openRooms;
  ++server->counts.roomsOpened;
  *event += RoomText(room) + " opened by " + MemberText(room.members[0]);
  return Answer(RoomOpenedMessage(room), from, send);
}

int32_t JoinRoom(Rendezvous* server, const Message& m, const platform::NetAddress& from, uint64_t nowMs,
                 ServerSend sends[kMaxSendsPerDatagram], std::string* event) {
  std::string closed;
  if (LeftForNewGame(server, m, from, &closed)) *event = closed + "; ";
  const auto known = server->roomByMember.find(AddressKey(from, true));
  if (known != server->roomByMember.end()) {
    // Already a member: the introduction again (it was lost), or a refusal when it is another room's code.
    Room& room = server->rooms[known->second];
    if (std::strcmp(room.code, m.code) != 0 || room.memberCount < 2 || !(room.members[1].address == from))
      return Refuse(server, from, RefuseReason::RoomFull, &sends[0]);
    room.lastUsedMs = nowMs;
    return Answer(PeerFoundMessage(room, 0), from, &sends[0]);
  }
  JoinAttempts* attempts = AttemptsOf(server, from, nowMs);
  if (nowMs < attempts->waitUntilMs) {
    ++server->counts.joinsSlowed;
    return Refuse(server, from, RefuseReason::TooManyAttempts, &sends[0]);
  }
  const auto found = server->roomByCode.find(CodeKey(m.code));
  if (found == server->roomByCode.end()) {
    // A wrong code costs time: 1 s, then twice as long for each further one, so codes cannot be walked.
    ++server->counts.wrongCodes;
    const uint32_t doublings = std::min<uint32_t>(attempts->wrongCodes, 5);
    ++attempts->wrongCodes;
    attempts->lastWrongMs = nowMs;
    attempts->waitUntilMs = nowMs + std::min(kFirstWrongCodeWaitMs << doublings, kLongestWrongCodeWaitMs);
    *event += "refused " + platform::NetAddressText(from) + ": no room " + m.code + " (wrong code " +
              std::to_string(attempts->wrongCodes) + ")";
    return Refuse(server, from, RefuseReason::UnknownCode, &sends[0]);
  }
  Room& room = server->rooms[found->second];
  if (room.memberCount == 2) {
    *event += "refused " + platform::NetAddressText(from) + ": " + RoomText(room) + " is full";
    return Refuse(server, from, RefuseReason::RoomFull, &sends[0]);
  }
  RoomMember& joiner = room.members[1];
  joiner.address = from;
  std::memcpy(joiner.name, m.name, sizeof joiner.name);
  joiner.session = m.session;
  joiner.allowanceAtMs = nowMs;
  room.memberCount = 2;
  room.lastUsedMs = nowMs;
  server->roomByMember[AddressKey(from, true)] = found->second;
  ++server->counts.roomsJoined;
  *event += RoomText(room) + " joined by " + MemberText(joiner) + ": introduced to " + MemberText(room.members[0]);
  const int32_t count = Answer(PeerFoundMessage(room, 0), from, &sends[0]);
  return count + Answer(PeerFoundMessage(room, 1), room.members[0].address, &sends[count]);
}

// Whether the member may send one more relayed datagram now; the allowance refills continuously.
bool TakeRelayAllowance(RoomMember* member, uint64_t nowMs) {
  const uint64_t elapsed = nowMs - member->allowanceAtMs;
  const uint64_t refill = elapsed * kRelayDatagramsPerSecond / 1000;
  if (refill > 0) {
    member->relayAllowance =
        static_cast<uint32_t>(std::min<uint64_t>(kRelayDatagramsPerSecond, member->relayAllowance + refill));
    member->allowanceAtMs += refill * 1000 / kRelayDatagramsPerSecond;
  }
  if (member->relayAllowance == 0) return false;
  --member->relayAllowance;
  return true;
}

int32_t RelayDatagram(Rendezvous* server, const Message& m, int32_t roomIndex, const platform::NetAddress& from,
                      uint64_t nowMs, ServerSend* send, std::string* event) {
  Room& room = server->rooms[roomIndex];
  if (room.memberCount < 2) return 0;
  const int32_t sender = room.members[0].address == from ? 0 : 1;
  room.lastUsedMs = nowMs;
  if (!TakeRelayAllowance(&room.members[sender], nowMs)) {
    ++server->counts.relayDropped;
    return 0;
  }
  if (!room.relaying) {
    room.relaying = true;
    *event = RoomText(room) + " relaying";
  }
  ++server->counts.relayed;
  // Only the other member of the sender's own room: the datagram names no address.
  Message relayed;
  relayed.kind = MessageKind::Relay;
  relayed.payloadSize = m.payloadSize;
  std::memcpy(relayed.payload, m.payload, m.payloadSize);
  return Answer(relayed, room.members[1 - sender].address, send);
}

}  // namespace

void StartRendezvous(Rendezvous* server, int32_t maxRooms, int32_t roomsPerAddress, uint64_t seed) {
  *server = Rendezvous{};
  server->maxRooms = std::max(1, maxRooms);
  server->roomsPerAddress = std::max(1, roomsPerAddress);
  server->rooms.assign(static_cast<size_t>(server->maxRooms), Room{});
  server->freeRooms.reserve(server->rooms.size());
  for (int32_t i = server->maxRooms - 1; i >= 0; --i) server->freeRooms.push_back(i);
  server->roomByCode.reserve(server->rooms.size());
  server->roomByMember.reserve(2 * server->rooms.size());
  server->roomsOfHost.reserve(server->rooms.size());
  server->attempts.assign(kAttemptSlots, JoinAttempts{});
  server->randomState = seed;
}

int32_t TakeServerDatagram(Rendezvous* server, const platform::NetAddress& from, const uint8_t* bytes, size_t size,
                           uint64_t nowMs, ServerSend sends[kMaxSendsPerDatagram], std::string* event) {
  event->clear();
  ++server->counts.datagrams;
  Message m;
  const char* why = nullptr;
  if (!ReadMessage(bytes, size, &m, &why)) {
    ++server->counts.malformed;
    // Our own kind of datagram from another version: tell it, so its player reads why rather than waits.
    if (m.version != kProtocolVersion) {
      *event = "refused " + platform::NetAddressText(from) + ": another version of the game";
      return Refuse(server, from, RefuseReason::OtherVersion, &sends[0]);
    }
    return 0;
  }
  const auto member = server->roomByMember.find(AddressKey(from, true));
  switch (m.kind) {
    case MessageKind::OpenRoom:
      return OpenRoom(server, m, from, nowMs, &sends[0], event);
    case MessageKind::JoinRoom:
      return JoinRoom(server, m, from, nowMs, sends, event);
    case MessageKind::StayInRoom: {
      if (member == server->roomByMember.end()) return 0;
      Room& room = server->rooms[member->second];
      room.lastUsedMs = nowMs;
      // The host waiting for its joiner hears of it here too, should the introduction have been lost.
      if (room.memberCount == 2)
        return Answer(PeerFoundMessage(room, room.members[0].address == from ? 1 : 0), from, &sends[0]);
      return Answer(RoomOpenedMessage(room), from, &sends[0]);
    }
    case MessageKind::Relay:
      if (member == server->roomByMember.end()) return 0;
      return RelayDatagram(server, m, member->second, from, nowMs, &sends[0], event);
    default:
      // Peer-to-peer messages and the server's own kinds are never for the server.
      ++server->counts.malformed;
      return 0;
  }
}

void ExpireRooms(Rendezvous* server, uint64_t nowMs, void (*log)(const std::string& line)) {
  for (int32_t i = 0; i < static_cast<int32_t>(server->rooms.size()); ++i) {
    Room& room = server->rooms[i];
    if (!room.open || nowMs - room.lastUsedMs < kRoomExpiryMs) continue;
    if (log != nullptr) log(RoomText(room) + " closed: unused for 10 minutes");
    ++server->counts.roomsExpired;
    CloseRoom(server, i);
  }
}

void LeaveRooms(Rendezvous* server, const platform::NetAddress& from, std::string* event) {
  event->clear();
  const auto known = server->roomByMember.find(AddressKey(from, true));
  if (known == server->roomByMember.end()) return;
  const Room& room = server->rooms[known->second];
  const int32_t member = room.members[0].address == from ? 0 : 1;
  *event = RoomText(room) + " closed: " + MemberText(room.members[member]) + " left";
  CloseRoom(server, known->second);
}

int32_t OpenRoomCount(const Rendezvous& server) { return server.openRooms; }
