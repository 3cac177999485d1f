// Sockets of the network service talking to each other on 127.0.0.1: datagrams of every size arrive whole and as
// they were sent, one longer than the reader's room is dropped and counted, the simulator holds them on a real
// socket, TAVO_NET_SIM is read when a socket opens; and addresses are read, written and compared.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/net.h"
#include "tests/support/environment.h"

namespace {

using platform::NetAddress;
using platform::UdpSocket;

// The loopback address at port.
NetAddress Loopback(uint16_t port) {
  NetAddress address;
  address.bytes[0] = 127;
  address.bytes[3] = 1;
  address.port = port;
  return address;
}

UdpSocket* Open() {
  std::string error;
  UdpSocket* socket = platform::OpenUdpSocket(0, &error);
  EXPECT_NE(socket, nullptr) << error;
  return socket;
}

// Waits (a few seconds at most) for a datagram; its size, 0 when none came.
size_t Await(UdpSocket* socket, NetAddress* from, uint8_t* bytes, size_t capacity) {
  const uint64_t start = platform::NetClockMs();
  for (;;) {
    const size_t size = platform::ReceiveDatagram(socket, from, bytes, capacity);
    if (size > 0 || platform::NetClockMs() - start > 5000) return size;
  }
}

TEST(UdpSocket, TwoSocketsExchangeDatagramsWholeAndDropOneLongerThanTheRoom) {
  UdpSocket* a = Open();
  UdpSocket* b = Open();
  ASSERT_TRUE(a != nullptr && b != nullptr);
  ASSERT_NE(platform::UdpSocketPort(a), 0);
  ASSERT_NE(platform::UdpSocketPort(a), platform::UdpSocketPort(b));

  std::vector<uint8_t> garbage(512);
  for (size_t i = 0; i < garbage.size(); i++) garbage[i] = static_cast<uint8_t>(i * 151 + 7);
  const size_t sizes[] = {1, 512, 97};
  for (size_t size : sizes) {
    ASSERT_TRUE(platform::SendDatagram(a, Loopback(platform::UdpSocketPort(b)), garbage.data(), size));
    uint8_t received[600] = {};
    NetAddress from;
    ASSERT_EQ(Await(b, &from, received, sizeof(received)), size);
    EXPECT_EQ(std::vector<uint8_t>(received, received + size),
              std::vector<uint8_t>(garbage.begin(), garbage.begin() + size));
    EXPECT_TRUE(from == Loopback(platform::UdpSocketPort(a))) << platform::NetAddressText(from);
  }
  // The answer goes back the same way.
  ASSERT_TRUE(platform::SendDatagram(b, Loopback(platform::UdpSocketPort(a)), garbage.data(), 3));
  uint8_t answer[8];
  NetAddress from;
  EXPECT_EQ(Await(a, &from, answer, sizeof(answer)), 3u);

  // 512 bytes for a reader with room for 100: dropped and counted; the next one still comes.
  ASSERT_TRUE(platform::SendDatagram(a, Loopback(platform::UdpSocketPort(b)), garbage.data(), 512));
  ASSERT_TRUE(platform::SendDatagram(a, Loopback(platform::UdpSocketPort(b)), garbage.data(), 100));
  uint8_t small[100];
  EXPECT_EQ(Await(b, &from, small, sizeof(small)), 100u);
  EXPECT_EQ(platform::ReceiveDatagram(b, &from, small, sizeof(small)), 0u);

  // Nothing too long or empty is sent at all.
  EXPECT_FALSE(platform::SendDatagram(a, Loopback(platform::UdpSocketPort(b)), garbage.data(), 0));
  std::vector<uint8_t> tooLong(513);
  EXPECT_FALSE(platform::SendDatagram(a, Loopback(platform::UdpSocketPort(b)), tooLong.data(), tooLong.size()));

  const platform::UdpSocketCounts sender = platform::UdpSocketCountsOf(a);
  const platform::UdpSocketCounts receiver = platform::UdpSocketCountsOf(b);
  EXPECT_EQ(sender.sent, 5u);
  EXPECT_EQ(sender.bytesSent, 1u + 512 + 97 + 512 + 100);
  EXPECT_EQ(sender.received, 1u);
  EXPECT_EQ(receiver.received, 4u);
  EXPECT_EQ(receiver.bytesReceived, 1u + 512 + 97 + 100);
  EXPECT_EQ(receiver.tooLong, 1u);
  EXPECT_EQ(receiver.simulatedLoss, 0u);
  platform::CloseUdpSocket(a);
  platform::CloseUdpSocket(b);
}

TEST(UdpSocket, APortInUseIsRefusedWithTheReason) {
  UdpSocket* first = Open();
  ASSERT_NE(first, nullptr);
  std::string error;
  EXPECT_EQ(platform::OpenUdpSocket(platform::UdpSocketPort(first), &error), nullptr);
  EXPECT_NE(error.find("cannot open UDP port " + std::to_string(platform::UdpSocketPort(first))), std::string::npos)
      << error;
  platform::CloseUdpSocket(first);
}

TEST(UdpSocket, TheSimulatorHoldsEachDatagramUntilItsTimeOnTheScaledClock) {
  UdpSocket* a = Open();
  UdpSocket* b = Open();
  ASSERT_TRUE(a != nullptr && b != nullptr);
  platform::LinkSimulation slow;
  slow.delayMs = 5000;
  platform::SimulateLink(a, slow);
  const uint8_t byte = 42;
  ASSERT_TRUE(platform::SendDatagram(a, Loopback(platform::UdpSocketPort(b)), &byte, 1));
  uint8_t received[4];
  NetAddress from;
  EXPECT_EQ(platform::ReceiveDatagram(b, &from, received, sizeof(received)), 0u);
  // Run 200 times as fast: the 5 s pass in 25 ms; the sender lets it go when it is used next.
  const uint64_t before = platform::NetClockMs();
  platform::SetNetClockScale(200);
  size_t size = 0;
  while (size == 0 && platform::NetClockMs() - before < 60000) {
    platform::ReceiveDatagram(a, &from, received, sizeof(received));
    size = platform::ReceiveDatagram(b, &from, received, sizeof(received));
  }
  platform::SetNetClockScale(1);
  EXPECT_EQ(size, 1u);
  EXPECT_GE(platform::NetClockMs() - before, 5000u);
  EXPECT_GE(platform::NetClockMs(), before);
  // Switched off, nothing waits.
  platform::SimulateLink(a, platform::LinkSimulation());
  ASSERT_TRUE(platform::SendDatagram(a, Loopback(platform::UdpSocketPort(b)), &byte, 1));
  EXPECT_EQ(Await(b, &from, received, sizeof(received)), 1u);
  platform::CloseUdpSocket(a);
  platform::CloseUdpSocket(b);
}

TEST(UdpSocket, TavoNetSimIsReadWhenASocketOpensAndABadOneSaysSoOnce) {
  testenv::Set("TAVO_NET_SIM", "loss=100,seed=3");
  UdpSocket* lossy = Open();
  testenv::Set("TAVO_NET_SIM", "loss=200");
  ::testing::internal::CaptureStderr();
  UdpSocket* plain = Open();
  const std::string said = ::testing::internal::GetCapturedStderr();
  testenv::Unset("TAVO_NET_SIM");
  ASSERT_TRUE(lossy != nullptr && plain != nullptr);
  EXPECT_EQ(said, "NET: TAVO_NET_SIM: 'loss=200': loss takes a percentage from 0 to 100; no simulation\n");

  const uint8_t byte = 9;
  uint8_t received[4];
  NetAddress from;
  ASSERT_TRUE(platform::SendDatagram(lossy, Loopback(platform::UdpSocketPort(plain)), &byte, 1));
  ASSERT_TRUE(platform::SendDatagram(plain, Loopback(platform::UdpSocketPort(lossy)), &byte, 1));
  ASSERT_TRUE(platform::SendDatagram(plain, Loopback(platform::UdpSocketPort(plain)), &byte, 1));
  // The plain socket's datagram to itself arrives; the lossy one neither sent nor received.
  EXPECT_EQ(Await(plain, &from, received, sizeof(received)), 1u);
  EXPECT_TRUE(from == Loopback(platform::UdpSocketPort(plain)));
  EXPECT_EQ(platform::ReceiveDatagram(plain, &from, received, sizeof(received)), 0u);
  EXPECT_EQ(platform::ReceiveDatagram(lossy, &from, received, sizeof(received)), 0u);
  EXPECT_EQ(platform::UdpSocketCountsOf(lossy).simulatedLoss, 2u);
  platform::CloseUdpSocket(lossy);
  platform::CloseUdpSocket(plain);
}

TEST(NetAddress, TextIsReadCheckedAndWrittenBack) {
  const struct {
    const char* text;
    const char* written;  // nullptr: refused with reason
    const char* reason;
  } cases[] = {
      {"1.2.3.4:5", "1.2.3.4:5", ""},
      {"127.1.2.3", "127.1.2.3:27960", ""},
      {"127.0.0.1:65535", "127.0.0.1:65535", ""},
      {"localhost:9", "127.0.0.1:9", ""},
      {"1.2.3.4:0", nullptr, "'1.2.3.4:0': the port must be a number from 1 to 65535"},
      {"1.2.3.4:65536", nullptr, "'1.2.3.4:65536': the port must be a number from 1 to 65535"},
      {"host:x1", nullptr, "'host:x1': the port must be a number from 1 to 65535"},
      {"host:", nullptr, "'host:': the port must be a number from 1 to 65535"},
      {":80", nullptr, "':80': no host given"},
      {"", nullptr, "'': no host given"},
      {"::1", nullptr, "'::1': IPv6 addresses are not supported; give an IPv4 address or a host name"},
      {"bad host", nullptr, "'bad host' is not a host name or an IPv4 address"},
      {"h\xc3\xa9:80", nullptr, "'h\xc3\xa9' is not a host name or an IPv4 address"},
  };
  for (const auto& c : cases) {
    NetAddress address = Loopback(1);
    std::string error;
    const bool read = platform::ResolveNetAddress(c.text, 27960, &address, &error);
    if (c.written != nullptr) {
      ASSERT_TRUE(read) << c.text << ": " << error;
      EXPECT_EQ(platform::NetAddressText(address), c.written) << c.text;
    } else {
      EXPECT_FALSE(read) << c.text;
      EXPECT_EQ(error, c.reason) << c.text;
      EXPECT_TRUE(address == Loopback(1)) << c.text;
    }
  }
}

TEST(NetAddress, EqualOnlyWithTheSameFamilyBytesAndPort) {
  NetAddress other = Loopback(80);
  EXPECT_TRUE(Loopback(80) == other);
  other.port = 81;
  EXPECT_FALSE(Loopback(80) == other);
  other = Loopback(80);
  other.bytes[3] = 2;
  EXPECT_FALSE(Loopback(80) == other);
  other = Loopback(80);
  other.family = 6;
  EXPECT_FALSE(Loopback(80) == other);
}

TEST(NetAddress, TheMachineHasAtLeastOneAddressToGiveAndNoLoopbackBesideOthers) {
  const std::vector<NetAddress> addresses = platform::LocalNetAddresses();
  ASSERT_FALSE(addresses.empty());
  if (addresses.size() > 1) {
    for (const NetAddress& address : addresses) EXPECT_NE(address.bytes[0], 127) << platform::NetAddressText(address);
  }
}

}  // namespace
