// The rendezvous server's rooms as its peers and strangers meet them: codes, introductions, refusals, the wait
// after wrong codes, the relay and its allowance, the rooms' expiry and the bounds on what it holds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/server/room_table.h"

namespace {

platform::NetAddress At(uint8_t last, uint16_t port) {
  platform::NetAddress address;
  address.bytes[0] = 203, address.bytes[1] = 0, address.bytes[2] = 113, address.bytes[3] = last;
  address.port = port;
  return address;
}

// One datagram to the server; the messages it answers with, read back.
struct Answer {
  int32_t count = 0;
  Message messages[kMaxSendsPerDatagram];
  platform::NetAddress to[kMaxSendsPerDatagram];
  std::string event;
};

Answer SendTo(Rendezvous* server, const platform::NetAddress& from, const Message& m, uint64_t nowMs) {
  uint8_t bytes[kMaxDatagramBytes];
  const size_t size = WriteMessage(m, bytes, sizeof bytes);
  EXPECT_NE(size, 0u);
  ServerSend sends[kMaxSendsPerDatagram];
  Answer answer;
  answer.count = TakeServerDatagram(server, from, bytes, size, nowMs, sends, &answer.event);
  for (int32_t i = 0; i < answer.count; ++i) {
    const char* why = nullptr;
    EXPECT_TRUE(ReadMessage(sends[i].bytes, sends[i].size, &answer.messages[i], &why)) << why;
    answer.to[i] = sends[i].to;
  }
  return answer;
}

Message Open(uint32_t session) {
  Message m;
  m.kind = MessageKind::OpenRoom, m.session = session;
  std::strcpy(m.name, "Ana");
  return m;
}

Message Join(const char* code, uint32_t session = 7) {
  Message m;
  m.kind = MessageKind::JoinRoom, m.session = session;
  std::strcpy(m.code, code);
  std::strcpy(m.name, "Ben");
  return m;
}

Message Relay(uint8_t fill) {
  Message m;
  m.kind = MessageKind::Relay, m.payloadSize = 10;
  std::memset(m.payload, fill, m.payloadSize);
  return m;
}

Message Stay() {
  Message m;
  m.kind = MessageKind::StayInRoom;
  return m;
}

bool IsRefusal(const Answer& answer, RefuseReason reason) {
  return answer.count == 1 && answer.messages[0].kind == MessageKind::ServerRefuse &&
         answer.messages[0].reason == reason;
}

TEST(Rendezvous, OpensJoinsIntroducesAndRefusesAThirdPlayer) {
  Rendezvous server;
  StartRendezvous(&server, 10, 8, 42);
  const platform::NetAddress host = At(1, 5000), joiner = At(2, 6000), third = At(3, 7000);
  const Answer opened = SendTo(&server, host, Open(1), 0);
  ASSERT_EQ(opened.count, 1);
  ASSERT_EQ(opened.messages[0].kind, MessageKind::RoomOpened);
  const std::string code = opened.messages[0].code;
  char normal[kRoomCodeLength + 1];
  EXPECT_TRUE(NormaliseRoomCode(code.c_str(), normal));
  // The same request again (its answer lost) is the same room; a new game from the same port is a new room.
  EXPECT_EQ(std::string(SendTo(&server, host, Open(1), 10).messages[0].code), code);

  const Answer joined = SendTo(&server, joiner, Join(code.c_str()), 20);
  ASSERT_EQ(joined.count, 2);
  for (int32_t i = 0; i < 2; ++i) EXPECT_EQ(joined.messages[i].kind, MessageKind::PeerFound);
  // Each hears of the other: the joiner of the host (role 1) at the host's address, the host of the joiner.
  EXPECT_TRUE(joined.to[0] == joiner);
  EXPECT_EQ(joined.messages[0].role, 1);
  EXPECT_EQ(joined.messages[0].address.port, 5000);
  EXPECT_STREQ(joined.messages[0].name, "Ana");
  EXPECT_TRUE(joined.to[1] == host);
  EXPECT_EQ(joined.messages[1].role, 2);
  EXPECT_EQ(joined.messages[1].address.port, 6000);
  EXPECT_EQ(std::memcmp(joined.messages[1].address.bytes, joiner.bytes, 4), 0);
  // The joiner asking again is introduced again; a third player is refused.
  EXPECT_EQ(SendTo(&server, joiner, Join(code.c_str()), 30).messages[0].kind, MessageKind::PeerFound);
  EXPECT_TRUE(IsRefusal(SendTo(&server, third, Join(code.c_str()), 40), RefuseReason::RoomFull));

  // The host starting a new game from the same address and port closes the old room.
  const Answer again = SendTo(&server, host, Open(2), 50);
  EXPECT_NE(std::string(again.messages[0].code), code);
  EXPECT_EQ(OpenRoomCount(server), 1);
}

// A WebSocket client at the same IP and port as a UDP one is another member: introduced with no address (family 0),
// relayed both ways, and its room closes when its connection does; its wrong codes slow its IP's UDP joins too.
TEST(Rendezvous, WebSocketMembersAreReachedOnlyThroughTheServer) {
  Rendezvous server;
  StartRendezvous(&server, 10, 8, 42);
  const platform::NetAddress udp = At(1, 5000);
  platform::NetAddress page = At(1, 5000);
  page.connection = 9;
  EXPECT_FALSE(page == udp);
  const std::string code = SendTo(&server, page, Open(1), 0).messages[0].code;
  const Answer joined = SendTo(&server, udp, Join(code.c_str()), 10);
  ASSERT_EQ(joined.count, 2);
  EXPECT_EQ(joined.messages[0].address.family, 0);  // the UDP joiner hears of the page: no address to try
  EXPECT_TRUE(joined.to[1] == page);
  EXPECT_EQ(joined.messages[1].address.family, 4);  // the page hears of the UDP joiner at its address
  EXPECT_EQ(joined.messages[1].address.port, 5000);
  for (const auto& [from, to] : {std::pair{udp, page}, std::pair{page, udp}}) {
    const Answer relayed = SendTo(&server, from, Relay(3), 20);
    ASSERT_EQ(relayed.count, 1);
    EXPECT_TRUE(relayed.to[0] == to);
  }
  std::string event;
  LeaveRooms(&server, page, &event);
  EXPECT_NE(event.find("left"), std::string::npos) << event;
  EXPECT_EQ(OpenRoomCount(server), 0);
  LeaveRooms(&server, page, &event);
  EXPECT_TRUE(event.empty());

  EXPECT_TRUE(IsRefusal(SendTo(&server, page, Join("222222"), 30), RefuseReason::UnknownCode));
  EXPECT_TRUE(IsRefusal(SendTo(&server, At(1, 6000), Join("222222"), 40), RefuseReason::TooManyAttempts));
}

TEST(Rendezvous, WrongCodesCostTimeThatDoublesAndAnotherVersionIsTold) {
  Rendezvous server;
  StartRendezvous(&server, 10, 8, 42);
  const std::string code = SendTo(&server, At(1, 5000), Open(1), 0).messages[0].code;
  const platform::NetAddress guesser = At(9, 4000);
  const std::string wrong = code == "222222" ? "333333" : "222222";
  // Each row: when the guesser tries, with which code, and what it hears.
  struct Row {
    uint64_t atMs;
    bool right;
    RefuseReason refusal;
  } rows[] = {
      {100, false, RefuseReason::UnknownCode},      // wrong: wait 1 s
      {1000, true, RefuseReason::TooManyAttempts},  // even the right code, too soon
      {1100, false, RefuseReason::UnknownCode},     // wrong again: wait 2 s
      {3000, false, RefuseReason::TooManyAttempts}, {3100, false, RefuseReason::UnknownCode},  // wait 4 s
      {7000, false, RefuseReason::TooManyAttempts},
  };
  for (const Row& row : rows) {
    const Answer answer = SendTo(&server, guesser, Join(row.right ? code.c_str() : wrong.c_str()), row.atMs);
    EXPECT_TRUE(IsRefusal(answer, row.refusal)) << "at " << row.atMs << " ms";
  }
  // Another port of the same address waits as well; once the wait is over the right code joins.
  EXPECT_TRUE(IsRefusal(SendTo(&server, At(9, 4001), Join(code.c_str()), 7050), RefuseReason::TooManyAttempts));
  EXPECT_EQ(SendTo(&server, guesser, Join(code.c_str()), 7200).count, 2);

  // A datagram of our own kind but another version is answered with that refusal; garbage with nothing.
  uint8_t other[] = {'T', 'V', kProtocolVersion + 1, 20, 1, 'x'};
  ServerSend sends[kMaxSendsPerDatagram];
  std::string event;
  ASSERT_EQ(TakeServerDatagram(&server, At(5, 1), other, sizeof other, 8000, sends, &event), 1);
  Message refusal;
  const char* why = nullptr;
  ASSERT_TRUE(ReadMessage(sends[0].bytes, sends[0].size, &refusal, &why));
  EXPECT_EQ(refusal.reason, RefuseReason::OtherVersion);
  uint8_t garbage[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(TakeServerDatagram(&server, At(5, 1), garbage, sizeof garbage, 8000, sends, &event), 0);
}

TEST(Rendezvous, RelaysOnlyToTheOtherMemberWithinItsAllowance) {
  Rendezvous server;
  StartRendezvous(&server, 10, 8, 42);
  const platform::NetAddress host = At(1, 5000), joiner = At(2, 6000), stranger = At(3, 7000);
  const std::string code = SendTo(&server, host, Open(1), 0).messages[0].code;
  // Before the joiner came there is nobody to relay to; a stranger reaches nobody ever.
  EXPECT_EQ(SendTo(&server, host, Relay(1), 1).count, 0);
  SendTo(&server, joiner, Join(code.c_str()), 2);
  EXPECT_EQ(SendTo(&server, stranger, Relay(1), 3).count, 0);

  const Answer relayed = SendTo(&server, joiner, Relay(0x5A), 4);
  ASSERT_EQ(relayed.count, 1);
  EXPECT_TRUE(relayed.to[0] == host);
  EXPECT_EQ(relayed.messages[0].payloadSize, 10);
  EXPECT_EQ(relayed.messages[0].payload[9], 0x5A);

  // A burst: the allowance (64) is spent, then one more each 1/64 s.
  int32_t forwarded = 1;
  for (int32_t i = 0; i < 200; ++i) forwarded += SendTo(&server, joiner, Relay(2), 5).count;
  EXPECT_EQ(forwarded, static_cast<int32_t>(kRelayDatagramsPerSecond));
  EXPECT_EQ(SendTo(&server, joiner, Relay(2), 5 + 1000 / kRelayDatagramsPerSecond + 1).count, 1);
  // The host's allowance is its own.
  EXPECT_EQ(SendTo(&server, host, Relay(3), 6).count, 1);
}

TEST(Rendezvous, RoomsAreBoundedAndCloseWhenUnused) {
  Rendezvous server;
  StartRendezvous(&server, 3, 2, 42);
  // Two rooms per address, three in all.
  EXPECT_EQ(SendTo(&server, At(1, 1), Open(1), 0).messages[0].kind, MessageKind::RoomOpened);
  EXPECT_EQ(SendTo(&server, At(1, 2), Open(1), 0).messages[0].kind, MessageKind::RoomOpened);
  EXPECT_TRUE(IsRefusal(SendTo(&server, At(1, 3), Open(1), 0), RefuseReason::TooManyAttempts));
  const std::string kept = SendTo(&server, At(2, 1), Open(1), 0).messages[0].code;
  EXPECT_TRUE(IsRefusal(SendTo(&server, At(3, 1), Open(1), 0), RefuseReason::ServerFull));
  EXPECT_EQ(OpenRoomCount(server), 3);

  // One room is kept alive; the others close after 10 minutes unused (not before), and their codes are forgotten.
  ExpireRooms(&server, kRoomExpiryMs - 1, nullptr);
  EXPECT_EQ(OpenRoomCount(server), 3);
  SendTo(&server, At(2, 1), Stay(), kRoomExpiryMs - 1);
  ExpireRooms(&server, kRoomExpiryMs, nullptr);
  EXPECT_EQ(OpenRoomCount(server), 1);
  EXPECT_EQ(SendTo(&server, At(2, 1), Stay(), kRoomExpiryMs).messages[0].code, kept);
  ExpireRooms(&server, 3 * kRoomExpiryMs, nullptr);
  EXPECT_EQ(OpenRoomCount(server), 0);
  EXPECT_TRUE(IsRefusal(SendTo(&server, At(4, 1), Join(kept.c_str()), 3 * kRoomExpiryMs), RefuseReason::UnknownCode));
  EXPECT_EQ(SendTo(&server, At(3, 1), Open(1), 3 * kRoomExpiryMs).messages[0].kind, MessageKind::RoomOpened);
}

}  // namespace
