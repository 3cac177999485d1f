// The link simulator on its own: TAVO_NET_SIM's settings read or refused, and its queues' delay, jitter, loss,
// duplication and reordering over a given clock, repeatable from the seed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/internal/net_link_simulator.h"

namespace {

using platform::LinkQueue;
using platform::LinkSimulation;
using platform::QueuedDatagram;

struct GoodSetting {
  const char* text;
  LinkSimulation expected;
};

TEST(ParseLinkSimulation, ReadsEverySettingInAnyOrder) {
  const GoodSetting cases[] = {
      {"", {0, 0, 0, 0, 0, 1}},
      {"delay=50", {50, 0, 0, 0, 0, 1}},
      {"delay=75,jitter=20,loss=5,duplicate=2,reorder=3,seed=9", {75, 20, 5, 2, 3, 9}},
      {"seed=18446744073709551615,reorder=100,loss=0", {0, 0, 0, 0, 100, 18446744073709551615ull}},
      {"jitter=10000,delay=0", {0, 10000, 0, 0, 0, 1}},
  };
  for (const GoodSetting& c : cases) {
    LinkSimulation parsed;
    parsed.delayMs = 999;
    std::string error;
    ASSERT_TRUE(platform::ParseLinkSimulation(c.text, &parsed, &error)) << c.text << ": " << error;
    EXPECT_EQ(parsed.delayMs, c.expected.delayMs) << c.text;
    EXPECT_EQ(parsed.jitterMs, c.expected.jitterMs) << c.text;
    EXPECT_EQ(parsed.lossPercent, c.expected.lossPercent) << c.text;
    EXPECT_EQ(parsed.duplicatePercent, c.expected.duplicatePercent) << c.text;
    EXPECT_EQ(parsed.reorderPercent, c.expected.reorderPercent) << c.text;
    EXPECT_EQ(parsed.seed, c.expected.seed) << c.text;
  }
}

TEST(ParseLinkSimulation, RefusesAnythingElseWithItsReasonAndKeepsTheRecord) {
  const struct {
    const char* text;
    const char* reason;
  } cases[] = {
      {"latency=5", "unknown setting 'latency' (known: delay, jitter, loss, duplicate, reorder, seed)"},
      {"delay", "'delay': delay takes milliseconds from 0 to 10000"},
      {"delay=", "'delay=': delay takes milliseconds from 0 to 10000"},
      {"delay=10001", "'delay=10001': delay takes milliseconds from 0 to 10000"},
      {"delay=-1", "'delay=-1': delay takes milliseconds from 0 to 10000"},
      {"delay= 5", "'delay= 5': delay takes milliseconds from 0 to 10000"},
      {"loss=101", "'loss=101': loss takes a percentage from 0 to 100"},
      {"reorder=1.5", "'reorder=1.5': reorder takes a percentage from 0 to 100"},
      {"seed=18446744073709551616",
       "'seed=18446744073709551616': seed takes a whole number from 0 to "
       "18446744073709551615"},
      {"loss=1,loss=2", "'loss' is given twice"},
      {"delay=5,,loss=1", "an empty setting between commas"},
      {"delay=5,", "a comma with no setting after it"},
      {"Delay=5", "unknown setting 'Delay' (known: delay, jitter, loss, duplicate, reorder, seed)"},
  };
  for (const auto& c : cases) {
    LinkSimulation parsed;
    parsed.delayMs = 7;
    std::string error;
    EXPECT_FALSE(platform::ParseLinkSimulation(c.text, &parsed, &error)) << c.text;
    EXPECT_EQ(error, c.reason) << c.text;
    EXPECT_EQ(parsed.delayMs, 7u) << c.text;
  }
}

platform::NetAddress PeerAddress() {
  platform::NetAddress peer;
  peer.bytes[0] = 127;
  peer.bytes[3] = 1;
  peer.port = 27960;
  return peer;
}

// Queues count datagrams numbered 0, 1, ... (their first byte pair), one per millisecond, and takes them out as
// they fall due, far past the last; the numbers in the order they came out.
std::vector<int> PassThrough(const LinkSimulation& simulation, int count, uint32_t* lost = nullptr) {
  LinkQueue queue;
  platform::StartLinkQueue(&queue, simulation);
  std::vector<int> arrived;
  QueuedDatagram out;
  uint32_t lostCount = 0;
  for (int i = 0; i < count; i++) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i)};
    lostCount += platform::QueueDatagram(&queue, PeerAddress(), bytes, sizeof(bytes), static_cast<uint64_t>(i));
    while (platform::TakeDueDatagram(&queue, static_cast<uint64_t>(i), &out)) {
      arrived.push_back(out.bytes[0] << 8 | out.bytes[1]);
    }
  }
  while (platform::TakeDueDatagram(&queue, count + 100000ull, &out))
    arrived.push_back(out.bytes[0] << 8 | out.bytes[1]);
  if (lost != nullptr) *lost = lostCount;
  return arrived;
}

TEST(LinkQueue, HoldsADatagramUntilItsDelayAndJitterHavePassed) {
  LinkQueue queue;
  LinkSimulation simulation;
  simulation.delayMs = 100;
  simulation.jitterMs = 30;
  platform::StartLinkQueue(&queue, simulation);
  const uint8_t bytes[3] = {0xff, 0x00, 0x7f};
  ASSERT_EQ(platform::QueueDatagram(&queue, PeerAddress(), bytes, sizeof(bytes), 1000), 0u);
  QueuedDatagram out;
  EXPECT_FALSE(platform::TakeDueDatagram(&queue, 1099, &out));
  uint64_t now = 1100;
  while (!platform::TakeDueDatagram(&queue, now, &out)) now++;
  EXPECT_LE(now, 1130u);
  EXPECT_EQ(out.size, 3u);
  EXPECT_EQ(out.bytes[2], 0x7f);
  EXPECT_TRUE(out.peer == PeerAddress());
  EXPECT_FALSE(platform::TakeDueDatagram(&queue, 5000, &out));
}

TEST(LinkQueue, LosesDuplicatesAndReordersNearTheAskedShareWithTheSameSequenceFromTheSameSeed) {
  constexpr int kCount = 10000;
  const struct {
    uint32_t loss, duplicate, reorder;
  } cases[] = {{0, 0, 0}, {2, 0, 0}, {10, 0, 0}, {0, 5, 0}, {0, 0, 10}, {5, 5, 5}};
  for (const auto& c : cases) {
    LinkSimulation simulation;
    simulation.delayMs = 40;
    simulation.lossPercent = c.loss;
    simulation.duplicatePercent = c.duplicate;
    simulation.reorderPercent = c.reorder;
    simulation.seed = 12345;
    uint32_t lost = 0;
    const std::vector<int> arrived = PassThrough(simulation, kCount, &lost);
    std::vector<int> seen(kCount, 0);
    int duplicates = 0, overtaken = 0, highest = -1;
    for (int number : arrived) {
      if (seen[number]++ > 0) {
        duplicates++;
        continue;
      }
      if (number < highest) overtaken++;
      if (number > highest) highest = number;
    }
    const std::string row = "loss " + std::to_string(c.loss) + " duplicate " + std::to_string(c.duplicate) +
                            " reorder " + std::to_string(c.reorder);
    int missing = 0;
    for (int count : seen) missing += count == 0;
    EXPECT_EQ(static_cast<uint32_t>(missing), lost) << row;
    EXPECT_NEAR(missing * 100.0 / kCount, c.loss, 0.2 * c.loss + 0.3) << row;
    EXPECT_NEAR(duplicates * 100.0 / kCount, c.duplicate * (100 - c.loss) / 100.0, 0.2 * c.duplicate + 0.3) << row;
    EXPECT_NEAR(overtaken * 100.0 / kCount, c.reorder * (100 - c.loss) / 100.0, 0.2 * c.reorder + 0.3) << row;
    EXPECT_EQ(PassThrough(simulation, kCount), arrived) << row;
    simulation.seed = 54321;
    if (c.loss + c.duplicate + c.reorder > 0) {
      EXPECT_NE(PassThrough(simulation, kCount), arrived) << row;
    }
  }
}

TEST(LinkQueue, JitterMixesTheOrderAndLosesNothing) {
  LinkSimulation simulation;
  simulation.delayMs = 10;
  simulation.jitterMs = 20;
  const std::vector<int> arrived = PassThrough(simulation, 1000);
  ASSERT_EQ(arrived.size(), 1000u);
  int outOfOrder = 0;
  for (size_t i = 1; i < arrived.size(); i++) outOfOrder += arrived[i] < arrived[i - 1];
  EXPECT_GT(outOfOrder, 100);
}

TEST(LinkQueue, HoldsAtMostItsCapacityAndCountsTheRestAsLost) {
  LinkQueue queue;
  LinkSimulation simulation;
  simulation.delayMs = 1000;
  platform::StartLinkQueue(&queue, simulation);
  const uint8_t byte = 1;
  uint32_t lost = 0;
  for (size_t i = 0; i < platform::kLinkQueueCapacity + 10; i++) {
    lost += platform::QueueDatagram(&queue, PeerAddress(), &byte, 1, 0);
  }
  EXPECT_EQ(lost, 10u);
  EXPECT_EQ(queue.waiting.size(), platform::kLinkQueueCapacity);
  EXPECT_EQ(queue.waiting.capacity(), platform::kLinkQueueCapacity);
}

TEST(LinkQueue, AHeldBackDatagramGoesAfterItsLimitWhenNothingFollows) {
  LinkQueue queue;
  LinkSimulation simulation;
  simulation.delayMs = 5;
  simulation.reorderPercent = 100;
  platform::StartLinkQueue(&queue, simulation);
  const uint8_t byte = 1;
  ASSERT_EQ(platform::QueueDatagram(&queue, PeerAddress(), &byte, 1, 0), 0u);
  QueuedDatagram out;
  EXPECT_FALSE(platform::TakeDueDatagram(&queue, 5 + platform::kReorderHoldLimitMs - 1, &out));
  EXPECT_TRUE(platform::TakeDueDatagram(&queue, 5 + platform::kReorderHoldLimitMs, &out));
}

}  // namespace
