// The online messages: every kind written and read back the same, and the reader's refusals of what a hostile or
// broken sender may put in a datagram; names and room codes as the player types them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/online/protocol.h"

namespace {

Message Named(MessageKind kind, const char* name) {
  Message m;
  m.kind = kind;
  std::strcpy(m.name, name);
  return m;
}

std::vector<Message> OneOfEachKind() {
  std::vector<Message> all;
  Message hello = Named(MessageKind::Hello, "Ana");
  hello.session = 77, hello.filesHash = 0x0123456789ABCDEFull;
  all.push_back(hello);
  Message refuse;
  refuse.kind = MessageKind::Refuse, refuse.reason = RefuseReason::OtherGameFiles;
  all.push_back(refuse);
  Message inputs;
  inputs.kind = MessageKind::Inputs, inputs.ackFrame = 9, inputs.firstFrame = 10, inputs.inputCount = 2;
  inputs.inputs[0] = {kInputSpace | kInputButton, -32768, 32767};
  inputs.inputs[1] = {kInputLeft, 3, -4};
  inputs.hashFrame = 8, inputs.stateHash = ~0ull;
  all.push_back(inputs);
  Message control;
  control.kind = MessageKind::Control, control.controlSequence = 65535, control.event = SessionEvent::Resume;
  control.argument = 0xFFFFFFFF;
  all.push_back(control);
  Message ping;
  ping.kind = MessageKind::Pong, ping.time = 1, ping.frame = 2;
  all.push_back(ping);
  Message report;
  report.kind = MessageKind::StateReport, report.frame = 77, report.state[0] = 1,
  report.state[kFrameStateBytes - 1] = 2;
  all.push_back(report);
  Message join = Named(MessageKind::JoinRoom, "Guest 2");
  std::strcpy(join.code, "K7P2QX");
  join.session = 0xC0FFEE;
  all.push_back(join);
  Message found = Named(MessageKind::PeerFound, "Host");
  found.address.family = 6, found.address.bytes[15] = 1, found.address.port = 27960, found.role = 1;
  all.push_back(found);
  Message throughServer = Named(MessageKind::PeerFound, "Page");
  throughServer.address.family = 0, throughServer.role = 2;
  all.push_back(throughServer);
  Message signal;
  signal.kind = MessageKind::Signal, signal.frame = 2, signal.argument = 3, signal.payloadSize = kMaxSignalPartBytes;
  std::memset(signal.payload, 'v', kMaxSignalPartBytes);
  all.push_back(signal);
  Message relay;
  relay.kind = MessageKind::Relay, relay.payloadSize = sizeof relay.payload;
  std::memset(relay.payload, 0xAB, sizeof relay.payload);
  all.push_back(relay);
  return all;
}

TEST(OnlineMessages, EveryKindReadsBackAsWrittenAndNoPrefixOrLongerDatagramReads) {
  for (const Message& sent : OneOfEachKind()) {
    uint8_t bytes[kMaxDatagramBytes + 1] = {};
    const size_t size = WriteMessage(sent, bytes, kMaxDatagramBytes);
    ASSERT_GT(size, 0u) << static_cast<int>(sent.kind);
    Message got;
    const char* why = nullptr;
    ASSERT_TRUE(ReadMessage(bytes, size, &got, &why)) << why;
    uint8_t again[kMaxDatagramBytes];
    ASSERT_EQ(WriteMessage(got, again, sizeof again), size);
    EXPECT_EQ(std::memcmp(bytes, again, size), 0) << static_cast<int>(sent.kind);
    for (size_t cut = 0; cut < size; ++cut) EXPECT_FALSE(ReadMessage(bytes, cut, &got, &why)) << cut;
    EXPECT_FALSE(ReadMessage(bytes, size + 1, &got, &why));
    EXPECT_EQ(WriteMessage(sent, bytes, size - 1), 0u) << "a buffer one byte short";
  }
}

TEST(OnlineMessages, ReaderRefusesWhatNoSenderOfOursWrites) {
  const struct {
    std::vector<uint8_t> bytes;
    const char* why;
  } cases[] = {
      {{'T', 'V'}, "shorter than a header"},
      {{'X', 'V', 1, 7, 0, 0, 0, 0, 0, 0, 0, 0}, "not a message of this game"},
      {{'T', 'V', 2, 7, 0, 0, 0, 0, 0, 0, 0, 0}, "another version"},
      {{'T', 'V', 1, 11}, "unknown kind"},
      {{'T', 'V', 1, 3, 0}, "a field out of range"},                                           // reason 0
      {{'T', 'V', 1, 5, 1, 0, 6, 0, 0, 0, 0}, "a field out of range"},                         // event 6
      {{'T', 'V', 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 33}, "a field out of range"},                  // 33 inputs
      {{'T', 'V', 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 1, 128, 0, 0, 0, 0}, "a field out of range"},  // unknown input bit
      {{'T', 'V', 1, 20, 0, 0, 0, 0, 2, 'A', 0x07}, "a field out of range"},                   // unprintable name
      {{'T', 'V', 1, 20, 0, 0, 0, 0, 0}, "a field out of range"},                              // empty name
      {{'T', 'V', 1, 21, 'K', '7', 'P', '2', 'Q', 'O'}, "a field out of range"},               // O is no code character
      {{'T', 'V', 1, 23, 5}, "a field out of range"},                                          // address family 5
      {{'T', 'V', 1, 25, 0, 0}, "a field out of range"},                                       // empty relay
      {{'T', 'V', 1, 25, 0xF9, 0x01}, "a field out of range"},                                 // relay of 505 bytes
      {{'T', 'V', 1, 10, 3, 3, 1, 0, 'v'}, "a field out of range"},                            // part 3 of 3
      {{'T', 'V', 1, 10, 0, 17, 1, 0, 'v'}, "a field out of range"},                           // 17 parts
      {{'T', 'V', 1, 10, 0, 1, 0x91, 0x01}, "a field out of range"},                           // 401 bytes
      {{'T', 'V', 1, 26, 0}, "bytes after the message"},
  };
  for (const auto& c : cases) {
    Message m;
    const char* why = nullptr;
    EXPECT_FALSE(ReadMessage(c.bytes.data(), c.bytes.size(), &m, &why));
    EXPECT_STREQ(why, c.why);
  }
  std::vector<uint8_t> huge(kMaxDatagramBytes + 1, 0);
  Message m;
  const char* why = nullptr;
  EXPECT_FALSE(ReadMessage(huge.data(), huge.size(), &m, &why));
  EXPECT_STREQ(why, "longer than any message");
}

TEST(OnlineMessages, NamesAndRoomCodesAsPlayersTypeThem) {
  const struct {
    const char* text;
    const char* name;
  } names[] = {{"Ana", "Ana"},
               {"  Jürgen  ", "J?rgen"},
               {"", "Player"},
               {"\t\n", "??"},
               {"abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnop"},
               {"   ", "Player"}};
  for (const auto& n : names) {
    char name[kMaxNameLength + 1];
    MakeName(n.text, name);
    EXPECT_STREQ(name, n.name) << n.text;
    EXPECT_TRUE(IsValidName(name));
  }
  char code[kRoomCodeLength + 1];
  EXPECT_TRUE(NormaliseRoomCode("k7p2qx", code));
  EXPECT_STREQ(code, "K7P2QX");
  for (const char* bad : {"K7P2Q", "K7P2QXX", "K7P2Q0", "K7P2Q-", ""})
    EXPECT_FALSE(NormaliseRoomCode(bad, code)) << bad;
}

}  // namespace
