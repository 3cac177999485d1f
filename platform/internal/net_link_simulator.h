// The link simulator's queues: one per direction of a socket, holding each datagram until its time has come, with
// the chances of loss, duplication and reordering drawn from a seeded generator of our own. Pure: the time is given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/net.h"

namespace platform {

// The longest datagram the network service sends, and so the longest a simulated link carries.
constexpr size_t kMaxDatagramBytes = 512;
// At most this many datagrams wait in one direction of a simulated link; one more counts as lost.
constexpr size_t kLinkQueueCapacity = 1024;
// A datagram held back behind the next one goes anyway when no next one came this long after its time.
constexpr uint64_t kReorderHoldLimitMs = 250;
// The largest delay and jitter ParseLinkSimulation accepts, in milliseconds.
constexpr uint32_t kMaxSimulatedDelayMs = 10000;

// The simulator's own generator (SplitMix64): the same numbers from the same seed on every system.
struct LinkRandom {
  uint64_t state = 0;
};
uint64_t NextLinkRandom(LinkRandom* random);
// True with a chance of percent in 100.
bool LinkChance(LinkRandom* random, uint32_t percent);

struct QueuedDatagram {
  NetAddress peer;
  uint64_t dueMs = 0;     // when it may leave the queue
  uint64_t order = 0;     // among datagrams due at once, the smaller leaves first
  bool heldBack = false;  // waits for the next datagram queued (or for dueMs + kReorderHoldLimitMs)
  uint16_t size = 0;
  uint8_t bytes[kMaxDatagramBytes];
};

// One direction of a simulated link. Its entries are allocated once, when the link is set up.
struct LinkQueue {
  LinkSimulation simulation;
  LinkRandom random;
  uint64_t nextOrder = 0;
  std::vector<QueuedDatagram> waiting;
};

// True when the settings change anything (some delay, jitter or chance above zero).
bool LinkSimulated(const LinkSimulation& simulation);

// The settings TAVO_NET_SIM's value asks for (null: unset), for a socket that opens: true when there are some; a
// value that does not read is named on stderr and ignored, so the socket opens unsimulated.
bool LinkSimulationAskedFor(const char* setting, LinkSimulation* out);

// Sets the queue up for these settings and seed, emptied.
void StartLinkQueue(LinkQueue* queue, const LinkSimulation& simulation);
// Lets every waiting datagram leave at once, in its order (the simulator was switched off).
void ReleaseLinkQueue(LinkQueue* queue);

// Offers a datagram of at most kMaxDatagramBytes sent (or received) at nowMs: queued once or twice, or lost by
// chance or because the queue is full. Returns how many copies were lost (0, or 1 when it was lost).
uint32_t QueueDatagram(LinkQueue* queue, const NetAddress& peer, const uint8_t* bytes, size_t size, uint64_t nowMs);
// Takes the datagram whose time has come at nowMs (the earliest due, then the first in order) into *out; false
// when none has.
bool TakeDueDatagram(LinkQueue* queue, uint64_t nowMs, QueuedDatagram* out);

}  // namespace platform
