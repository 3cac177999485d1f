// Feeds the rendezvous server a run of arbitrary datagrams from eight senders at advancing times: whatever comes,
// every answer must be a readable message no longer than a datagram, and the rooms' tables must stay consistent and
// within their bounds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/server/room_table.h"

namespace {

constexpr int32_t kRooms = 4;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

// The input: records of [sender and time step: 1 byte][length: 2 bytes, little-endian][that many bytes], the last
// cut short as it comes. The sender is the low 3 bits (two ports of four addresses), the high 5 bits add seconds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Rendezvous server;
  StartRendezvous(&server, kRooms, 2, 1);
  uint64_t nowMs = 0;
  size_t at = 0;
  while (size - at >= 3) {
    const uint8_t head = data[at];
    const size_t length = std::min<size_t>(data[at + 1] | data[at + 2] << 8, size - at - 3);
    at += 3;
    nowMs += static_cast<uint64_t>(head >> 3) * 37000;  // up to ~19 minutes a step: rooms expire on the way
    platform::NetAddress from;
    from.bytes[0] = 198, from.bytes[1] = 51, from.bytes[2] = 100, from.bytes[3] = static_cast<uint8_t>(head & 3);
    from.port = static_cast<uint16_t>(1000 + ((head >> 2) & 1));

    ServerSend sends[kMaxSendsPerDatagram];
    std::string event;
    const int32_t count = TakeServerDatagram(&server, from, data + at, length, nowMs, sends, &event);
    at += length;
    Check(count >= 0 && count <= kMaxSendsPerDatagram);
    for (int32_t i = 0; i < count; ++i) {
      Message answer;
      const char* why = nullptr;
      Check(sends[i].size > 0 && sends[i].size <= kMaxDatagramBytes);
      Check(ReadMessage(sends[i].bytes, sends[i].size, &answer, &why));
    }
    ExpireRooms(&server, nowMs, nullptr);
    const int32_t open = OpenRoomCount(server);
    Check(open >= 0 && open <= kRooms);
    Check(static_cast<int32_t>(server.roomByCode.size()) == open);
    Check(static_cast<int32_t>(server.freeRooms.size()) == kRooms - open);
    Check(server.roomByMember.size() <= 2 * static_cast<size_t>(open));
    Check(server.rooms.size() == static_cast<size_t>(kRooms) && server.attempts.size() == kAttemptSlots);
  }
  return 0;
}
