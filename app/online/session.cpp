// The online session: meeting over UDP (Hello, Welcome, refusals), then every frame the input exchange, the
// rollback of frames played with a wrong prediction, the confirmed frames' hashes compared, and the session's
// own events (leaving, the next match) carried so that both machines play the very same frames.
#include "app/online/session.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "app/online/game_files_hash.h"
#include "app/online/input_ledger.h"
#include "app/online/online_recording.h"
#include "app/online/rollback.h"
#include "app/pad_play.h"
#include "app/run_frame.h"
#include "audio/sound_effects.h"
#include "app/title_menu.h"
#include "game/match_state.h"
#include "game/serve.h"
#include "input/input_devices.h"
#include "gfx/display.h"
#include "input/key_codes.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/net.h"
#include "platform/page.h"
#include "platform/picture_hash.h"

OnlinePhase OnlineSessionPhase = OnlinePhase::Off;
void (*OnFrameConfirmed)(const ConfirmedFrame& frame) = nullptr;
bool TakeOnlinePictureHashes = false;
bool PaceOnlineFramesByNetClock = false;
void (*OnOnlineSessionEnded)() = nullptr;
void (*OnOnlinePauseShown)(const std::string& notice) = nullptr;

namespace {

constexpr uint32_t kHelloEveryMs = 250;
constexpr uint32_t kQuietChannelMs = 1000;
constexpr uint32_t kPingEveryMs = 250;
constexpr int32_t kOutcomeSlots = 16;
constexpr int32_t kConfirmedSlots = 64;
constexpr uint32_t kSlowDownMs = 3;
// Round trips up to which the input delay is 0 frames, and 1 frame (above: 2). A 200 ms trip is 100 ms, about 3
// frames, each way: prediction covers it well inside the 8-frame window.
constexpr uint32_t kNoDelayRoundTripMs = 200;
constexpr uint32_t kOneFrameDelayRoundTripMs = 300;

struct Peer {
  OnlineRequest request;
  platform::UdpSocket* socket = nullptr;
  platform::NetAddress other;
  bool otherKnown = false;
  bool met = false;
  uint64_t metAtMs = 0;
  uint32_t session = 0;
  uint64_t filesHash = 0;
  char ownName[kMaxNameLength + 1] = {};
  char otherName[kMaxNameLength + 1] = {};
  uint64_t startedMs = 0, lastHeardMs = 0, lastHelloMs = 0, lastPingMs = 0;

  InputLedger ledger;
  RollbackHistory history;
  int64_t nextFrame = 1;
  int32_t inputDelay = 0;

  // The host's part of starting the next match: each player's Space after game over, seen in confirmed frames.
  bool ownVote = false, otherVote = false, newMatchMarked = false;

  // Leaving: our Leave is repeated until acknowledged (or for a second). A pause or its end is repeated until
  // acknowledged too, while play goes on; the other side's newest event tells whether it is paused.
  uint16_t controlSequence = 0;
  bool leaving = false;
  bool controlPending = false;
  SessionEvent pendingEvent = SessionEvent::Pause;
  uint64_t pendingSentMs = 0;
  bool otherPaused = false;
  bool otherEventSeen = false;
  uint16_t otherControlSequence = 0;

  ConfirmedFrame outcomes[kOutcomeSlots];  // what each played frame left, kept until it is confirmed
  int64_t confirmedThrough = 0;
  uint64_t confirmedHashes[kConfirmedSlots] = {};
  FrameState confirmedStates[kConfirmedSlots];
  int64_t otherConfirmed = 0;  // the newest frame the other side has confirmed (from its hashes)
  int64_t differingFrame = 0;  // a desync seen: the frame whose hashes differ
  uint64_t differingSinceMs = 0;

  int64_t otherFrame = 0;  // the other side's frame at otherFrameAtMs, from its pings
  uint64_t otherFrameAtMs = 0;
  uint64_t frameDueMs = 0;  // with PaceOnlineFramesByNetClock: when the next frame starts

  // Through a rendezvous server: its address, the room's code, when it last answered and was last asked, when
  // it introduced the other peer, whether the other was heard directly, and whether play goes through its relay.
  bool viaServer = false;
  platform::NetAddress server;
  char code[kRoomCodeLength + 1] = {};
  uint64_t serverHeardMs = 0, serverAskedMs = 0, introducedMs = 0;
  uint32_t meetingNumber = 0;  // drawn afresh for each meeting, so the server tells a repeated request from a new game
  bool introduced = false, heardDirectly = false, relaying = false;
  // A page's direct channel to another page: the parts of the other's text received so far.
  bool pageChannel = false;
  bool channelLost = false;  // the channel closed or went quiet during play: the relay took over
  std::string channelParts[kMaxSignalParts];
  uint32_t channelPartsSeen = 0;

  // What the page's panel was last told, so a line is told when it changes.
  std::string toldStatus;
  uint64_t toldTripMs = 0;

  OnlineCounts counts;
  std::string endReason;
  std::string addresses;
};
Peer Self;

void PlayOnlineFrameSteps();

// ---- Sending and receiving

void SendTo(const platform::NetAddress& to, const Message& message) {
  uint8_t bytes[kMaxDatagramBytes];
  const size_t size = WriteMessage(message, bytes, sizeof bytes);
  if (size == 0) return;
  if (platform::SendDatagram(Self.socket, to, bytes, size)) Self.counts.bytesSent += size;
}

// To the other peer through the server's relay, whatever path play takes (a page's channel texts).
void SendThroughServer(const Message& message) {
  Message wrapped;
  wrapped.kind = MessageKind::Relay;
  const size_t size = WriteMessage(message, wrapped.payload, sizeof wrapped.payload);
  if (size == 0) return;
  wrapped.payloadSize = static_cast<uint16_t>(size);
  SendTo(Self.server, wrapped);
}

// To the other peer: directly, or wrapped for the server's relay once play goes through it.
void Send(const Message& message) {
  if (Self.socket == nullptr || !Self.otherKnown) return;
  if (!Self.relaying) {
    SendTo(Self.other, message);
    return;
  }
  SendThroughServer(message);
}

void SendHelloOrWelcome(MessageKind kind) {
  Message m;
  m.kind = kind;
  m.session = Self.session;
  m.filesHash = Self.filesHash;
  std::memcpy(m.name, Self.ownName, sizeof m.name);
  Send(m);
}

void SendRefuse(const platform::NetAddress& to, RefuseReason reason) {
  Message m;
  m.kind = MessageKind::Refuse;
  m.reason = reason;
  uint8_t bytes[kMaxDatagramBytes];
  const size_t size = WriteMessage(m, bytes, sizeof bytes);
  if (size != 0) platform::SendDatagram(Self.socket, to, bytes, size);
}

void SendInputs() {
  Message m;
  FillInputsMessage(Self.ledger, &m);
  m.hashFrame = static_cast<uint32_t>(Self.confirmedThrough);
  m.stateHash = Self.confirmedThrough > 0 ? Self.confirmedHashes[Self.confirmedThrough % kConfirmedSlots] : 0;
  Send(m);
}

void SendControl(SessionEvent event, uint32_t argument) {
  Message m;
  m.kind = MessageKind::Control;
  m.controlSequence = Self.controlSequence;
  m.event = event;
  m.argument = argument;
  Send(m);
}

void SendStateReport(int64_t frame) {
  Message m;
  m.kind = MessageKind::StateReport;
  m.frame = static_cast<uint32_t>(frame);
  WriteFrameStateBytes(Self.confirmedStates[frame % kConfirmedSlots], m.state);
  Send(m);
}

const char* RefusalText(RefuseReason reason) {
  switch (reason) {
    case RefuseReason::OtherVersion:
      return "The other player has another version of the game.";
    case RefuseReason::OtherGameFiles:
      return "The other player's game files differ from these.";
    case RefuseReason::RoomFull:
      return "The game already has two players.";
    case RefuseReason::UnknownCode:
      return "No game has that code.";
    case RefuseReason::TooManyAttempts:
      return "Too many attempts: wait a minute and try again.";
    case RefuseReason::ServerFull:
      return "The server has no room for another game.";
  }
  return "The other side refused.";
}

// ---- Confirmed frames: hash, compare with the other side's, hand over

uint64_t BackSurfaceHash() {
  if (BackSurface == nullptr || BackSurface->pixels == nullptr) return 0;
  return platform::HashPictureBytes(BackSurface->pixels, BackSurface->pitch, BackSurface->width, BackSurface->height,
                                    BackSurface->bitsPerPixel);
}

// Notes what the frame just played left: the state after it, its picture, its sounds, its input.
void NoteOutcome(int64_t frame, const platform::InputFrame& input, bool startsNextMatch) {
  ConfirmedFrame& record = Self.outcomes[frame % kOutcomeSlots];
  record.frame = frame;
  SaveFrameState(&record.after);
  record.pictureHash = TakeOnlinePictureHashes ? BackSurfaceHash() : 0;
  record.soundCount = std::min<int32_t>(HeldSoundCount, 8);
  std::copy(HeldSoundIds, HeldSoundIds + record.soundCount, record.soundIds);
  record.input.dx = input.dx;
  record.input.dy = input.dy;
  record.input.primaryButton = input.primaryButton;
  record.input.keysHeld.assign(input.keysHeld.begin(), input.keysHeld.end());
  record.startsNextMatch = startsNextMatch;
  record.matchOver = IsMatchOver();
}

// The host's decision to start the next match: each player's Space in a confirmed frame after game over. The
// mark goes into the host's next input, so both machines start the match after the very same frame.
void CountVotes(int64_t frame, const ConfirmedFrame& record) {
  if (Self.request.role != OnlineRole::Host) return;
  if (record.startsNextMatch) Self.newMatchMarked = false;
  if (!record.matchOver || Self.newMatchMarked) {
    Self.ownVote = Self.otherVote = false;
    return;
  }
  if ((OwnInput(Self.ledger, frame).bits & kInputSpace) != 0) Self.ownVote = true;
  if ((OtherInput(Self.ledger, frame).bits & kInputSpace) != 0) Self.otherVote = true;
}

void ConfirmFrames() {
  const int64_t confirmed = NewestConfirmedFrame(Self.ledger);
  while (Self.confirmedThrough < confirmed) {
    const int64_t frame = ++Self.confirmedThrough;
    const ConfirmedFrame& record = Self.outcomes[frame % kOutcomeSlots];
    Self.confirmedStates[frame % kConfirmedSlots] = record.after;
    Self.confirmedHashes[frame % kConfirmedSlots] = FrameStateHash(record.after);
    CountVotes(frame, record);
    RecordConfirmedFrame(record.input, record.startsNextMatch);
    if (OnFrameConfirmed != nullptr) OnFrameConfirmed(record);
  }
}

void CheckOtherHash(const Message& m) {
  const int64_t frame = m.hashFrame;
  if (frame == 0 || frame > Self.confirmedThrough || frame <= Self.confirmedThrough - kConfirmedSlots) return;
  if (Self.confirmedHashes[frame % kConfirmedSlots] == m.stateHash || Self.differingFrame != 0) return;
  Self.differingFrame = frame;
  Self.differingSinceMs = platform::NetClockMs();
  SendStateReport(frame);
}

void EndWithDifference(int64_t frame, const FrameState* theirs) {
  std::string line = "The two games differ from frame " + std::to_string(frame);
  if (theirs != nullptr) {
    line += ": " + DifferingFrameStateFields(Self.confirmedStates[frame % kConfirmedSlots], *theirs, 8) +
            " (this side/the other)";
  }
  std::fprintf(stderr, "ONLINE: %s\n", line.c_str());
  EndOnlineSession(line + ".", false);
}

// ---- Frames

// Gives the input service the frame both machines play for `frame`, from the two players' parts and the match.
void GiveFrameInput(int64_t frame, platform::InputFrame* input) {
  const bool host = Self.request.role == OnlineRole::Host;
  const PlayerInput own = OwnInput(Self.ledger, frame);
  PlayerInput other = OtherInput(Self.ledger, frame);
  // A prediction never starts a match: only the host's real input does.
  if (frame > Self.ledger.otherNewest) other.bits &= static_cast<uint8_t>(~kInputNewMatch);
  NotePlayed(&Self.ledger, frame, other);
  MergeFrameInput(host ? own : other, host ? other : own, input);
  platform::GiveInputFrame(*input);
}

bool StartsNextMatch(int64_t frame) {
  const bool host = Self.request.role == OnlineRole::Host;
  const PlayerInput hostInput = host ? OwnInput(Self.ledger, frame) : OtherInput(Self.ledger, frame);
  return (hostInput.bits & kInputNewMatch) != 0 && (host || frame <= Self.ledger.otherNewest);
}

// After a frame's rules, played first or again: the next match, and what the frame left.
void FinishFrame(int64_t frame, const platform::InputFrame& input) {
  const bool next = StartsNextMatch(frame);
  NoteOutcome(frame, input, next);
  if (next) SetUpOnlineMatch();
}

// The sounds of a frame played again: those its first playing did not start are heard now.
void AfterFramePlayedAgain(int64_t frame) {
  const ConfirmedFrame& before = Self.outcomes[frame % kOutcomeSlots];
  SoundEffectsHeld = 0;
  for (int32_t i = 0; i < std::min<int32_t>(HeldSoundCount, kHeldSoundRecord); ++i) {
    const int32_t id = HeldSoundIds[i];
    if (std::find(before.soundIds, before.soundIds + before.soundCount, id) == before.soundIds + before.soundCount)
      PlaySoundEffect(id, 0, 0, 0, 0);
  }
  SoundEffectsHeld = 1;
  platform::InputFrame& input = Self.history.input[frame % kRollbackSlots];
  FinishFrame(frame, input);
}

void GiveRememberedFrameInput(int64_t frame, platform::InputFrame* input) { GiveFrameInput(frame, input); }

void RollBackIfWrong() {
  const int64_t wrong = Self.ledger.firstWrong;
  if (wrong == 0) return;
  Self.ledger.firstWrong = 0;
  const int64_t newest = Self.history.newestFrame;
  if (!PlayFramesAgain(&Self.history, wrong, {GiveRememberedFrameInput, AfterFramePlayedAgain})) {
    EndOnlineSession("The other player's input came too late to be used.", true);
    return;
  }
  ++Self.counts.rollbacks;
  Self.counts.framesPlayedAgain += newest - wrong + 1;
}

// ---- Receiving

// ---- A page's direct channel to another page: its texts (offer, answer) go through the server in Signal parts.

void SendChannelTexts() {
  std::string text;
  while (platform::TakePageChannelText(Self.socket, &text)) {
    const size_t parts = (text.size() + kMaxSignalPartBytes - 1) / kMaxSignalPartBytes;
    if (parts == 0 || parts > kMaxSignalParts) continue;  // too long for the other side to take: the relay serves
    for (size_t part = 0; part < parts; ++part) {
      Message m;
      m.kind = MessageKind::Signal;
      m.frame = static_cast<uint32_t>(part);
      m.argument = static_cast<uint32_t>(parts);
      const size_t size = std::min(kMaxSignalPartBytes, text.size() - part * kMaxSignalPartBytes);
      std::memcpy(m.payload, text.data() + part * kMaxSignalPartBytes, size);
      m.payloadSize = static_cast<uint16_t>(size);
      SendThroughServer(m);
    }
  }
}

// One part of the other page's text: the whole text goes to the channel once every part has come.
void TakeChannelTextPart(const Message& m) {
  if (!Self.pageChannel) return;
  Self.channelParts[m.frame].assign(reinterpret_cast<const char*>(m.payload), m.payloadSize);
  Self.channelPartsSeen |= 1u << m.frame;
  const uint32_t all = (1u << m.argument) - 1;
  if ((Self.channelPartsSeen & all) != all) return;
  std::string text;
  for (uint32_t part = 0; part < m.argument; ++part) text += Self.channelParts[part];
  Self.channelPartsSeen = 0;
  platform::GivePageChannelText(Self.socket, text);
}

// The page's panel: a line told when it changes.
void TellPageStatus(const std::string& status) {
  if (status == Self.toldStatus) return;
  Self.toldStatus = status;
  platform::TellPage("status", status);
}

void TakeMessage(const Message& m, const platform::NetAddress& from) {
  const bool host = Self.request.role == OnlineRole::Host;
  // Once the session has ended only the acknowledgement of our Leave matters.
  if (OnlineSessionPhase == OnlinePhase::Ended && m.kind != MessageKind::ControlAck) return;
  // The joiner's Hello: the one the host takes (directly, the first to call; through a server, the peer it
  // introduced) must bring the same game files.
  if (host && !Self.met && m.kind == MessageKind::Hello && (!Self.otherKnown || from == Self.other)) {
    if (m.filesHash != Self.filesHash) {
      if (Self.viaServer) {
        Message refusal;
        refusal.kind = MessageKind::Refuse;
        refusal.reason = RefuseReason::OtherGameFiles;
        Send(refusal);
        EndOnlineSession(RefusalText(RefuseReason::OtherGameFiles), false);
      } else {
        SendRefuse(from, RefuseReason::OtherGameFiles);
      }
      return;
    }
    Self.other = from;
    Self.otherKnown = true;
    std::memcpy(Self.otherName, m.name, sizeof Self.otherName);
  }
  if (!Self.otherKnown || !(from == Self.other)) {
    if (host && Self.otherKnown && m.kind == MessageKind::Hello) SendRefuse(from, RefuseReason::RoomFull);
    ++Self.counts.datagramsIgnored;
    return;
  }
  Self.lastHeardMs = platform::NetClockMs();
  switch (m.kind) {
    case MessageKind::Hello:
      if (host) SendHelloOrWelcome(MessageKind::Welcome);
      if (!Self.met) Self.lastPingMs = 0;  // the round trip is measured from the meeting on
      Self.met = true;
      break;
    case MessageKind::Welcome:
      if (!host && !Self.met) {
        if (m.filesHash != Self.filesHash) {
          EndOnlineSession(RefusalText(RefuseReason::OtherGameFiles), false);
          return;
        }
        std::memcpy(Self.otherName, m.name, sizeof Self.otherName);
        Self.session = m.session;
        Self.met = true;
        Self.lastPingMs = 0;
      }
      break;
    case MessageKind::Refuse:
      EndOnlineSession(RefusalText(m.reason), false);
      break;
    case MessageKind::Inputs:
      if (!TakeInputsMessage(&Self.ledger, m)) ++Self.counts.datagramsIgnored;
      Self.otherConfirmed = std::max<int64_t>(Self.otherConfirmed, m.hashFrame);
      CheckOtherHash(m);
      break;
    case MessageKind::Control: {
      Message ack;
      ack.kind = MessageKind::ControlAck;
      ack.controlSequence = m.controlSequence;
      Send(ack);
      if (m.event == SessionEvent::Leave && Self.met) EndOnlineSession("The other player left.", false);
      // A pause and its end are repeated until acknowledged: only the newest event counts, a late repeat not.
      if (m.event == SessionEvent::Pause || m.event == SessionEvent::Resume) {
        const bool newer =
            !Self.otherEventSeen || static_cast<int16_t>(m.controlSequence - Self.otherControlSequence) > 0;
        if (newer) {
          Self.otherEventSeen = true;
          Self.otherControlSequence = m.controlSequence;
          Self.otherPaused = m.event == SessionEvent::Pause;
        }
      }
      break;
    }
    case MessageKind::ControlAck:
      if (Self.leaving && m.controlSequence == Self.controlSequence) Self.leaving = false;
      if (Self.controlPending && m.controlSequence == Self.controlSequence) Self.controlPending = false;
      break;
    case MessageKind::Signal:
      TakeChannelTextPart(m);
      break;
    case MessageKind::Ping: {
      Message pong;
      pong.kind = MessageKind::Pong;
      pong.time = m.time;
      pong.frame = static_cast<uint32_t>(Self.nextFrame - 1);
      Send(pong);
      // The ping left the other side half a round trip ago: it has played on since.
      Self.otherFrame = m.frame + (Self.counts.roundTripMs / 2) / kOnlineFrameMs;
      Self.otherFrameAtMs = platform::NetClockMs();
      break;
    }
    case MessageKind::Pong: {
      // A host's calls to a joiner it was introduced to are answered before the two have met: they open the path,
      // but the round trip (which starts the match) is measured once both know they met.
      if (!Self.met) break;
      const uint32_t now = static_cast<uint32_t>(platform::NetClockMs());
      const uint32_t trip = now - m.time;
      Self.counts.roundTripMs = Self.counts.roundTripMs == 0 ? trip : (3 * Self.counts.roundTripMs + trip) / 4;
      Self.otherFrame = m.frame + (trip / 2) / kOnlineFrameMs;
      Self.otherFrameAtMs = now;
      break;
    }
    case MessageKind::StateReport: {
      const int64_t frame = m.frame;
      if (frame < 1 || frame > Self.confirmedThrough || frame <= Self.confirmedThrough - kConfirmedSlots) break;
      FrameState theirs;
      ReadFrameStateBytes(m.state, &theirs);
      if (FrameStateHash(theirs) == Self.confirmedHashes[frame % kConfirmedSlots]) break;
      SendStateReport(frame);
      EndWithDifference(frame, &theirs);
      break;
    }
    default:
      ++Self.counts.datagramsIgnored;
      break;
  }
}

// What the rendezvous server says: the room's code, the other peer's address and name, a refusal, or a datagram
// of the other peer's that it relayed.
void TakeServerMessage(const Message& m) {
  Self.serverHeardMs = platform::NetClockMs();
  switch (m.kind) {
    case MessageKind::RoomOpened:
      if (Self.request.role == OnlineRole::Host && Self.code[0] == '\0') {
        std::memcpy(Self.code, m.code, sizeof Self.code);
        std::fprintf(stderr, "ONLINE: room %s\n", Self.code);
        platform::TellPage("room", Self.code);
      }
      break;
    case MessageKind::PeerFound: {
      if (Self.introduced || Self.met) break;
      Self.introduced = true;
      Self.introducedMs = Self.serverHeardMs;
      Self.other = platform::NetAddress{};
      Self.other.family = m.address.family;
      std::memcpy(Self.other.bytes, m.address.bytes, sizeof Self.other.bytes);
      Self.other.port = m.address.port;
      Self.otherKnown = true;
      std::memcpy(Self.otherName, m.name, sizeof Self.otherName);
      // A page reaches no UDP address, and a desktop no page: between the two play goes through the relay at once.
      // Two pages try their own direct channel first, the host offering it.
      const bool otherIsPage = m.address.family == 0;
      Self.relaying = Self.request.relayOnly || otherIsPage != platform::InPage();
      if (!Self.relaying && otherIsPage) {
        Self.pageChannel = true;
        platform::StartPageChannel(Self.socket, Self.other, Self.request.role == OnlineRole::Host);
      }
      break;
    }
    case MessageKind::ServerRefuse:
      if (!Self.met) {
        EndOnlineSession(m.reason == RefuseReason::OtherVersion ? "The server is of another version of the game."
                                                                : RefusalText(m.reason),
                         false);
      }
      break;
    case MessageKind::Relay: {
      if (!Self.otherKnown) break;
      Message inner;
      const char* why = nullptr;
      if (!ReadMessage(m.payload, m.payloadSize, &inner, &why) || inner.kind == MessageKind::Relay) {
        ++Self.counts.datagramsIgnored;
        break;
      }
      // A page's channel text always comes this way; it says nothing of the path play takes.
      if (inner.kind == MessageKind::Signal) {
        TakeChannelTextPart(inner);
        break;
      }
      // The other side could not reach us directly: answer the way it came.
      if (Self.pageChannel && Self.met && !Self.relaying) {
        Self.channelLost = true;
        platform::TellPage("path", "server relay");
      }
      Self.relaying = true;
      TakeMessage(inner, Self.other);
      break;
    }
    default:
      ++Self.counts.datagramsIgnored;
      break;
  }
}

void ReceiveAll() {
  if (Self.socket == nullptr) return;
  uint8_t bytes[kMaxDatagramBytes];
  platform::NetAddress from;
  while (Self.socket != nullptr) {
    const size_t size = platform::ReceiveDatagram(Self.socket, &from, bytes, sizeof bytes);
    if (size == 0) return;
    Self.counts.bytesReceived += size;
    Message m;
    const char* why = nullptr;
    if (Self.viaServer && from == Self.server) {
      if (ReadMessage(bytes, size, &m, &why)) {
        TakeServerMessage(m);
      } else if (m.version != kProtocolVersion && !Self.met) {
        EndOnlineSession("The server is of another version of the game.", false);
        return;
      } else {
        ++Self.counts.datagramsIgnored;
      }
      continue;
    }
    if (Self.otherKnown && from == Self.other && !Self.request.relayOnly) Self.heardDirectly = true;
    if (Self.request.relayOnly && Self.viaServer) {
      ++Self.counts.datagramsIgnored;
      continue;
    }
    if (!ReadMessage(bytes, size, &m, &why)) {
      // Our own magic with another version: say so to the player rather than wait in silence.
      if (m.version != kProtocolVersion) {
        if (Self.request.role == OnlineRole::Host) SendRefuse(from, RefuseReason::OtherVersion);
        if (Self.otherKnown ? from == Self.other : Self.request.role == OnlineRole::Joiner) {
          EndOnlineSession(RefusalText(RefuseReason::OtherVersion), false);
          return;
        }
      }
      ++Self.counts.datagramsIgnored;
      continue;
    }
    TakeMessage(m, from);
  }
}

// Pings for the round trip and the other side's frame.
void PingNow() {
  const uint64_t now = platform::NetClockMs();
  if (now - Self.lastPingMs < kPingEveryMs) return;
  Self.lastPingMs = now;
  Message m;
  m.kind = MessageKind::Ping;
  m.time = static_cast<uint32_t>(now);
  m.frame = static_cast<uint32_t>(Self.nextFrame - 1);
  Send(m);
}

// The side ahead of the other by more than a frame waits a few milliseconds each frame until they are level.
void KeepClocksLevel() {
  if (Self.otherFrameAtMs == 0) return;
  const int64_t elapsedFrames = static_cast<int64_t>(platform::NetClockMs() - Self.otherFrameAtMs) / kOnlineFrameMs;
  const int64_t ahead = (Self.nextFrame - 1) - (Self.otherFrame + elapsedFrames);
  if (ahead <= 1) return;
  // A few milliseconds per frame, more the further ahead (at most 4 steps), so the two meet within a second or two.
  const uint32_t slowDown = kSlowDownMs * static_cast<uint32_t>(std::min<int64_t>(ahead - 1, 4));
  if (PaceOnlineFramesByNetClock) {
    Self.frameDueMs += slowDown;
  } else {
    platform::SleepMs(slowDown);
  }
}

// The input delay for a round trip: none while prediction alone keeps rollbacks short (the local paddle answers in
// the very frame, as offline), then one frame, then two for the longest trips, so that fewer frames are guessed.
int32_t InputDelayFor(uint32_t roundTripMs) {
  if (roundTripMs <= kNoDelayRoundTripMs) return 0;
  return roundTripMs <= kOneFrameDelayRoundTripMs ? 1 : 2;
}

bool OtherSideSilent() { return platform::NetClockMs() - Self.lastHeardMs > kSilenceTimeoutMs; }

// Why the other side went silent, as the player reads it. A silent side is not told that this one ends (its Leave
// would wait a second for an acknowledgement that cannot come): the player reads the reason at once.
std::string SilenceText() {
  return Self.relaying && !Self.channelLost ? "The server relaying the game stopped answering."
                                            : "The other player is not answering.";
}

// A page's channel that closed, or carried nothing for a second, gives way to the server's relay; the other side
// answers relayed datagrams the same way, so both move.
void LeaveQuietChannel() {
  if (!Self.pageChannel || Self.relaying) return;
  if (platform::PageChannelOpen(Self.socket) && platform::NetClockMs() - Self.lastHeardMs <= kQuietChannelMs) return;
  Self.relaying = Self.channelLost = true;
  platform::TellPage("path", "server relay");
}

// While meeting through a server: the host asks for a room (then keeps it), the joiner for the room of its code,
// four times a second until the server answers, then once a second. A direct path that has not opened within
// kDirectPathWaitMs of the introduction gives way to the server's relay.
void AskServer(uint64_t now) {
  const bool answered = Self.request.role == OnlineRole::Host ? Self.code[0] != '\0' : Self.introduced;
  if (now - Self.serverAskedMs >= (answered ? 1000u : kHelloEveryMs)) {
    Self.serverAskedMs = now;
    Message m;
    std::memcpy(m.name, Self.ownName, sizeof m.name);
    m.session = Self.meetingNumber;
    if (Self.request.role == OnlineRole::Host) {
      m.kind = answered ? MessageKind::StayInRoom : MessageKind::OpenRoom;
    } else {
      m.kind = MessageKind::JoinRoom;
      std::memcpy(m.code, Self.code, sizeof m.code);
    }
    SendTo(Self.server, m);
  }
  if (Self.introduced && !Self.relaying && !Self.heardDirectly && now - Self.introducedMs > kDirectPathWaitMs) {
    Self.relaying = true;
  }
}

// The reason the meeting gives up now, or "" while it may go on.
std::string MeetingFailure(uint64_t now) {
  const bool host = Self.request.role == OnlineRole::Host;
  if (Self.viaServer && !Self.introduced && now - Self.serverHeardMs > kServerSilenceMs)
    return "No answer from the server at " + Self.request.serverAddress + ".";
  // A host with a room code waits as long as the code lives; every other meeting gives up after 30 s.
  const uint64_t wait = Self.viaServer && host && !Self.introduced ? kRoomWaitMs : kMeetingTimeoutMs;
  const uint64_t since = Self.introduced ? Self.introducedMs : Self.startedMs;
  if (now - since <= wait) return "";
  if (Self.introduced) return std::string("No answer from ") + Self.otherName + " within 30 s.";
  if (host) return Self.viaServer ? "Nobody joined within 10 minutes." : "Nobody joined within 30 s.";
  return "No answer from " + Self.request.peerAddress + " within 30 s.";
}

std::string MeetingStatus() {
  const bool host = Self.request.role == OnlineRole::Host;
  if (!Self.viaServer) return host ? "Waiting for the other player to join" : "Calling " + Self.request.peerAddress;
  if (Self.introduced) return std::string("Meeting ") + Self.otherName + (Self.relaying ? " through the server" : "");
  if (host)
    return Self.code[0] == '\0' ? "Asking the server at " + Self.request.serverAddress + " for a room code"
                                : "Waiting for the other player to join";
  return std::string("Asking the server for room ") + Self.code;
}

}  // namespace

// ---- The session's life

bool StartOnlineSession(const OnlineRequest& request, std::string* error) {
  Self = Peer{};
  Self.request = request;
  MakeName(request.name.c_str(), Self.ownName);
  Self.filesHash = GameFilesHash();
  platform::NetAddress hostAddress;
  Self.viaServer = !request.serverAddress.empty();
  if (!Self.viaServer && platform::InPage()) {
    *error = "a page plays online through a server: --server=ADDRESS";
    return false;
  }
  Self.meetingNumber = static_cast<uint32_t>(platform::UnforeseeableSeed());
  if (Self.viaServer) {
    if (!platform::ResolveNetAddress(request.serverAddress, kDefaultOnlinePort, &Self.server, error)) return false;
    if (request.role == OnlineRole::Joiner && !NormaliseRoomCode(request.peerAddress.c_str(), Self.code)) {
      *error = "'" + request.peerAddress + "' is not a room code (6 letters and digits, such as K7P2QX)";
      return false;
    }
  } else if (request.role == OnlineRole::Joiner) {
    if (!platform::ResolveNetAddress(request.peerAddress, kDefaultOnlinePort, &hostAddress, error)) return false;
  }
  Self.socket = platform::OpenUdpSocket(request.role == OnlineRole::Host ? request.port : 0, error);
  if (Self.socket == nullptr) return false;
  if (Self.viaServer) {
    if (request.role == OnlineRole::Host)
      Self.session = static_cast<uint32_t>(platform::NetClockMs() * 2654435761u) | 1u;
  } else if (request.role == OnlineRole::Joiner) {
    Self.other = hostAddress;
    Self.otherKnown = true;
  } else {
    Self.session = static_cast<uint32_t>(platform::NetClockMs() * 2654435761u) | 1u;
    for (const platform::NetAddress& address : platform::LocalNetAddresses()) {
      platform::NetAddress withPort = address;
      withPort.port = platform::UdpSocketPort(Self.socket);
      Self.addresses += (Self.addresses.empty() ? "" : "  ") + platform::NetAddressText(withPort);
    }
  }
  StartLedger(&Self.ledger);
  Self.startedMs = Self.lastHeardMs = Self.serverHeardMs = platform::NetClockMs();
  OnlineSessionPhase = OnlinePhase::Meeting;
  return true;
}

bool ContinueMeeting(std::string* status) {
  if (OnlineSessionPhase == OnlinePhase::Ended) {
    *status = Self.endReason;
    return false;
  }
  const uint64_t now = platform::NetClockMs();
  if (Self.viaServer) AskServer(now);
  if (Self.pageChannel) SendChannelTexts();
  if (Self.request.role == OnlineRole::Joiner && now - Self.lastHelloMs >= kHelloEveryMs) {
    Self.lastHelloMs = now;
    SendHelloOrWelcome(MessageKind::Hello);
  }
  // The host calls its introduced joiner too: both sending at once opens the path through their routers.
  if (Self.request.role == OnlineRole::Host && Self.introduced && !Self.met && now - Self.lastPingMs >= kHelloEveryMs) {
    PingNow();
  }
  // Waiting a little for an answer keeps the meeting from spinning; the screen's frame is no faster than this.
  platform::WaitForDatagram(Self.socket, 10);
  ReceiveAll();
  if (OnlineSessionPhase == OnlinePhase::Ended) {
    *status = Self.endReason;
    return false;
  }
  // Met: one round trip measured (or a second gone) before the match starts, for the input delay.
  if (Self.met) {
    if (Self.metAtMs == 0) Self.metAtMs = now;
    PingNow();
    if (Self.counts.roundTripMs != 0 || now - Self.metAtMs > 1000) {
      platform::TellPage("peer", Self.otherName);
      platform::TellPage("path", Self.relaying                                                ? "server relay"
                                 : Self.pageChannel && platform::PageChannelOpen(Self.socket) ? "page channel"
                                                                                              : "direct");
      TellPageStatus("Playing");
      return true;
    }
  }
  const std::string failure = MeetingFailure(platform::NetClockMs());
  if (!failure.empty()) {
    EndOnlineSession(failure, false);
    *status = Self.endReason;
    return false;
  }
  *status = MeetingStatus();
  TellPageStatus(*status);
  return false;
}

std::string OnlineAddressesText() { return Self.addresses; }

const char* OnlineRoomCode() { return Self.request.role == OnlineRole::Host ? Self.code : ""; }

const char* OtherPlayerName() { return Self.otherName; }

bool HoldServeAfterLostMatch() {
  KeyboardState[DIK_SPACE] = 0;
  return true;
}

void SetUpOnlineMatch() {
  PlayerCount = 2;
  ResetMatch();
}

void BeginOnlineMatches() {
  ForgetFrames(&Self.history);
  Self.nextFrame = 1;
  // The input delay follows the round trip measured while meeting.
  Self.inputDelay = InputDelayFor(Self.counts.roundTripMs);
  Self.counts.inputDelay = Self.inputDelay;
  for (int64_t frame = 1; frame <= Self.inputDelay; ++frame) AddOwnInput(&Self.ledger, frame, PlayerInput{});
  // The mouse moved while the players met: that motion is nobody's frame, so it is read and let go here.
  platform::InputFrame meetingMotion;
  platform::SampleInputDevices(&meetingMotion);
  platform::SetFrameInputSource(platform::FrameInputSource::Given);
  SetUpOnlineMatch();
  // This machine's pads and fingers play its own player only: a joiner's first pad moves the top paddle.
  PadLocalPlayer = Self.request.role == OnlineRole::Host ? 1 : 2;
  TitleMenuEntry = HoldServeAfterLostMatch;
  FramePlayer = PlayOnlineFrame;
  OnlineSessionPhase = OnlinePhase::Playing;
  Self.lastHeardMs = platform::NetClockMs();
  // A hidden page pauses the session itself (telling the other side) rather than hold where nobody is told.
  platform::HoldWhileHidden(false);
}

void PlayOnlineFrame() {
  PlayOnlineFrameSteps();
  if (OnlineSessionPhase == OnlinePhase::Ended && OnOnlineSessionEnded != nullptr) OnOnlineSessionEnded();
}

namespace {

// A pause or its end, repeated every 100 ms until the other side acknowledges it; play goes on meanwhile.
void StartPendingControl(SessionEvent event) {
  ++Self.controlSequence;
  Self.controlPending = true;
  Self.pendingEvent = event;
  Self.pendingSentMs = 0;
}

void RepeatPendingControl() {
  if (!Self.controlPending || platform::NetClockMs() - Self.pendingSentMs < 100) return;
  Self.pendingSentMs = platform::NetClockMs();
  SendControl(Self.pendingEvent, 0);
}

// One turn of a pause: the notice on the screen (the game's hook paces it) or a wait for the network, the
// devices read (Escape leaves), the other side kept informed and heard. False when the session ended.
bool PauseTurn(const std::string& notice) {
  TellPageStatus(notice);
  if (OnOnlinePauseShown != nullptr) {
    OnOnlinePauseShown(notice);
  } else {
    platform::WaitForDatagram(Self.socket, kOnlineFrameMs);
  }
  platform::InputFrame sampled;
  platform::SampleInputDevices(&sampled);
  if (std::find(sampled.keysHeld.begin(), sampled.keysHeld.end(), DIK_ESCAPE) != sampled.keysHeld.end()) {
    EndOnlineSession("You left the game.", true);
    return false;
  }
  RepeatPendingControl();
  PingNow();
  ReceiveAll();
  if (OnlineSessionPhase != OnlinePhase::Playing) return false;
  // A page in the background has its timers slowed to one a second or less: silence is judged more patiently.
  if (platform::NetClockMs() - Self.lastHeardMs > kPausedSilenceMs) {
    EndOnlineSession(SilenceText(), false);
    return false;
  }
  return true;
}

// After a pause both sides play on from now: no frames are made up, and the other's frame clock is read afresh.
void PlayOnAfterPause() {
  TellPageStatus("Playing");
  Self.frameDueMs = Self.lastHeardMs = platform::NetClockMs();
  Self.otherFrameAtMs = 0;
}

// This page is hidden: the other side is told, and play stands still until the page is shown again.
void SitOutWhileHidden() {
  StartPendingControl(SessionEvent::Pause);
  while (platform::PageHidden()) {
    if (!PauseTurn("Paused while this page is in the background")) return;
  }
  StartPendingControl(SessionEvent::Resume);
  PlayOnAfterPause();
}

// The other side's page is hidden: play stands still here too until it says it is back.
void WaitWhileOtherPaused() {
  while (Self.otherPaused) {
    if (!PauseTurn("The other player's game is in the background")) return;
  }
  PlayOnAfterPause();
}

void PlayOnlineFrameSteps() {
  ReceiveAll();
  if (OnlineSessionPhase != OnlinePhase::Playing) return;
  if (platform::PageHidden()) SitOutWhileHidden();
  if (OnlineSessionPhase == OnlinePhase::Playing && Self.otherPaused) WaitWhileOtherPaused();
  if (OnlineSessionPhase != OnlinePhase::Playing) return;
  LeaveQuietChannel();
  RepeatPendingControl();
  if (platform::NetClockMs() - Self.toldTripMs >= 1000) {
    Self.toldTripMs = platform::NetClockMs();
    platform::TellPage("trip", std::to_string(Self.counts.roundTripMs));
  }

  // This machine's player: its input now belongs to a frame inputDelay frames ahead.
  platform::InputFrame sampled;
  platform::SampleInputDevices(&sampled);
  if (std::find(sampled.keysHeld.begin(), sampled.keysHeld.end(), DIK_ESCAPE) != sampled.keysHeld.end()) {
    EndOnlineSession("You left the game.", true);
    return;
  }
  PlayerInput own = OwnPlayerInput(Self.request.role, sampled);
  if (Self.request.role == OnlineRole::Host && Self.ownVote && Self.otherVote && !Self.newMatchMarked) {
    own.bits |= kInputNewMatch;
    Self.newMatchMarked = true;
    Self.ownVote = Self.otherVote = false;
  }
  AddOwnInput(&Self.ledger, Self.nextFrame + Self.inputDelay, own);

  RollBackIfWrong();
  if (OnlineSessionPhase != OnlinePhase::Playing) return;

  // Beyond the window the frame waits for the other side's input, sending ours meanwhile.
  if (Self.nextFrame - Self.ledger.otherNewest > kRollbackWindow) {
    // Before the other side's first input it has not begun yet: waiting for it is the start, not a stall.
    if (Self.ledger.otherNewest > 0) ++Self.counts.stalls;
    const uint64_t stallStart = platform::NetClockMs();
    uint64_t sentAtMs = 0;
    while (Self.nextFrame - Self.ledger.otherNewest > kRollbackWindow) {
      // Ours again every 10 ms at most: more would only crowd the link (and a relay's allowance).
      if (platform::NetClockMs() - sentAtMs >= 10) {
        sentAtMs = platform::NetClockMs();
        SendInputs();
      }
      platform::WaitForDatagram(Self.socket, 2);
      platform::SampleInputDevices(&sampled);  // keeps the window's events flowing
      ReceiveAll();
      if (OnlineSessionPhase != OnlinePhase::Playing) return;
      LeaveQuietChannel();
      if (Self.otherPaused) {
        // The other side's input stopped because its page went to the background: a pause, not a stall.
        const uint64_t pausedAt = platform::NetClockMs();
        WaitWhileOtherPaused();
        if (OnlineSessionPhase != OnlinePhase::Playing) return;
        Self.counts.stalledMs -= static_cast<int64_t>(platform::NetClockMs() - pausedAt);
      }
      if (OtherSideSilent()) {
        EndOnlineSession(SilenceText(), false);
        return;
      }
    }
    Self.counts.stalledMs += static_cast<int64_t>(platform::NetClockMs() - stallStart);
    // The wait was this side's slowing down: the frames after it keep their pace from here, not catching up.
    Self.frameDueMs = platform::NetClockMs();
    RollBackIfWrong();
    if (OnlineSessionPhase != OnlinePhase::Playing) return;
  }

  // This frame, played with what is known and predicted.
  const int64_t frame = Self.nextFrame++;
  static const platform::InputFrame kNoInput;
  RememberFrame(&Self.history, frame, kNoInput);
  platform::InputFrame& remembered = Self.history.input[frame % kRollbackSlots];
  GiveFrameInput(frame, &remembered);
  SoundEffectsHeld = 1;
  HeldSoundCount = 0;
  PlayFrameRules();
  SoundEffectsHeld = 0;
  for (int32_t i = 0; i < std::min<int32_t>(HeldSoundCount, kHeldSoundRecord); ++i)
    PlaySoundEffect(HeldSoundIds[i], 0, 0, 0, 0);
  FinishFrame(frame, remembered);

  ConfirmFrames();
  SendInputs();
  PingNow();
  KeepClocksLevel();
  if (PaceOnlineFramesByNetClock) {
    while (platform::NetClockMs() < Self.frameDueMs && Self.socket != nullptr) {
      const uint64_t left = Self.frameDueMs - platform::NetClockMs();
      platform::WaitForDatagram(Self.socket, static_cast<uint32_t>(left));
      ReceiveAll();
    }
    // A frame that started late is made up by the next ones (a process the machine held up catches up), unless it
    // fell more than the rollback window behind, which starts the count afresh.
    Self.frameDueMs += kOnlineFrameMs;
    const uint64_t now = platform::NetClockMs();
    if (Self.frameDueMs + kRollbackWindow * kOnlineFrameMs < now) Self.frameDueMs = now;
  }
  if (Self.differingFrame != 0 && platform::NetClockMs() - Self.differingSinceMs > 1000)
    EndWithDifference(Self.differingFrame, nullptr);
  else if (OtherSideSilent()) EndOnlineSession(SilenceText(), false);
}

}  // namespace

void EndOnlineSession(const std::string& reason, bool tellOtherSide) {
  if (OnlineSessionPhase == OnlinePhase::Ended || OnlineSessionPhase == OnlinePhase::Off) return;
  Self.endReason = reason;
  OnlineSessionPhase = OnlinePhase::Ended;
  platform::TellPage("ended", reason);
  platform::HoldWhileHidden(true);
  if (tellOtherSide && Self.otherKnown && Self.socket != nullptr) {
    // Leave is repeated until acknowledged, for at most a second: the other side must not wait for a timeout.
    ++Self.controlSequence;
    Self.leaving = true;
    const uint64_t start = platform::NetClockMs();
    while (Self.leaving && platform::NetClockMs() - start < 1000) {
      SendControl(SessionEvent::Leave, 0);
      platform::WaitForDatagram(Self.socket, 20);
      ReceiveAll();
    }
  }
  if (Self.socket != nullptr) platform::CloseUdpSocket(Self.socket);
  Self.socket = nullptr;
  FramePlayer = PlayFrameRules;
  TitleMenuEntry = RunTitleMenu;
  PadLocalPlayer = 0;
  platform::SetFrameInputSource(platform::FrameInputSource::Devices);
}

const std::string& OnlineEndReason() { return Self.endReason; }

int64_t OnlineConfirmedThrough() { return Self.confirmedThrough; }

bool StartRecordedOnlineMatch() {
  TitleMenuEntry = HoldServeAfterLostMatch;
  return true;
}

bool SettleOnlineSession(int64_t lastFrame) {
  for (;;) {
    ReceiveAll();
    if (OnlineSessionPhase == OnlinePhase::Playing) {
      RollBackIfWrong();
      ConfirmFrames();
      SendInputs();
    }
    const bool confirmed = Self.confirmedThrough >= lastFrame;
    if (confirmed && (Self.otherConfirmed >= lastFrame || OnlineSessionPhase != OnlinePhase::Playing)) return true;
    if (OnlineSessionPhase != OnlinePhase::Playing) return false;
    if (OtherSideSilent()) {
      EndOnlineSession(SilenceText(), false);
      return false;
    }
    platform::WaitForDatagram(Self.socket, 10);
  }
}

const OnlineCounts& OnlineSessionCounts() { return Self.counts; }
