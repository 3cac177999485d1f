// The online protocol's messages as records, and the one bounded reader and writer of their datagrams, shared by
// the game, the replay tool's peers and the rendezvous server. Integers are little-endian; nothing is trusted.
#pragma once
#include <cstddef>
#include <cstdint>

// The frame state's bytes in a StateReport (app/online/frame_state.h lays them out).
constexpr size_t kFrameStateBytes = 360;
// Bumped whenever a message changes; a peer or server of another version is refused with a message.
constexpr uint8_t kProtocolVersion = 1;
// No datagram of ours is longer; a longer one is refused unread.
constexpr size_t kMaxDatagramBytes = 512;
// The most frames of input one Inputs message repeats.
constexpr int32_t kMaxInputsPerMessage = 32;
// Names shown to the other player: at most 16 printable ASCII characters.
constexpr int32_t kMaxNameLength = 16;
// Room codes: 6 characters from an alphabet without look-alikes (none of 0/O, 1/I/L, 5/S, 8/B, Z, U/V).
constexpr int32_t kRoomCodeLength = 6;
inline constexpr char kRoomCodeAlphabet[] = "234679ACDEFGHJKMNPQRTWXY";

enum class MessageKind : uint8_t {
  // Between the two peers (directly, or wrapped in Relay through the server).
  Hello = 1,       // the joiner introduces itself to the host
  Welcome = 2,     // the host accepts
  Refuse = 3,      // either side refuses (reason)
  Inputs = 4,      // frames of the sender's own input, acknowledgement, a confirmed frame's state hash
  Control = 5,     // a session event (start, rematch, leave, pause), repeated until acknowledged
  ControlAck = 6,  // acknowledges one Control
  Ping = 7,        // round trip and frame clock
  Pong = 8,
  StateReport = 9,  // after the hashes of a frame differed: the sender's whole state after that frame
  Signal = 10,      // one part of a page's text for opening its direct channel to another page (through Relay)
  // Between a peer and the rendezvous server.
  OpenRoom = 20,      // a host asks for a room code
  RoomOpened = 21,    // the server's answer: the code
  JoinRoom = 22,      // a joiner asks for the room of a code
  PeerFound = 23,     // the server introduces each peer to the other: address, name, role
  ServerRefuse = 24,  // unknown code, room full, too many attempts, server full, another version
  Relay = 25,         // a peer message the server forwards to the other member of the room
  StayInRoom = 26,    // keeps the room (and the router's path to the server) alive
};

// Why a peer or the server refuses.
enum class RefuseReason : uint8_t {
  OtherVersion = 1,
  OtherGameFiles = 2,
  RoomFull = 3,
  UnknownCode = 4,
  TooManyAttempts = 5,
  ServerFull = 6,
};

// A session event carried by Control.
enum class SessionEvent : uint8_t {
  StartMatch = 1,  // argument: the number of the match in the session, from 1
  Rematch = 2,     // the sender pressed Space after game over; argument: the match it wants to start
  Leave = 3,       // the sender left (Escape or closed)
  Pause = 4,       // the sender's game is hidden or paused
  Resume = 5,
};

// One frame of one player's input: the keys the rules read, the button and the pointer's motion (host only).
enum InputBits : uint8_t {
  kInputSpace = 1,
  kInputRightControl = 2,
  kInputLeftShift = 4,
  kInputLeft = 8,
  kInputRight = 16,
  kInputButton = 32,
  kInputNewMatch = 64,  // host only: the next match starts after this frame (both players pressed Space)
  kInputAllBits = 127,
};
struct PlayerInput {
  uint8_t bits = 0;
  int16_t dx = 0, dy = 0;
};

// The most bytes of a page's channel text one Signal carries; a longer text goes in parts.
constexpr size_t kMaxSignalPartBytes = 400;
constexpr uint8_t kMaxSignalParts = 16;

// An IPv4 or IPv6 address and port as the server saw it; family 0 for a peer reached only through the server (a
// page, whose WebSocket the server holds): no bytes, no port.
struct PeerAddress {
  uint8_t family = 0;  // 4 or 6, or 0
  uint8_t bytes[16] = {};
  uint16_t port = 0;
};

// Every message in one record; each kind uses the fields its comment names.
struct Message {
  MessageKind kind = MessageKind::Ping;
  uint8_t version = kProtocolVersion;  // the header's version, as read (the reader refuses others)
  // Hello, Welcome: the session's number, the hash of the game's files, the sender's name.
  uint32_t session = 0;
  uint64_t filesHash = 0;
  char name[kMaxNameLength + 1] = {};
  // Refuse, ServerRefuse.
  RefuseReason reason = RefuseReason::OtherVersion;
  // Inputs: the newest frame of the receiver's input the sender holds without a gap (acknowledgement), the frames
  // firstFrame .. firstFrame + inputCount - 1 of the sender's input, and the sender's hash of the state after
  // hashFrame (0: none yet).
  uint32_t ackFrame = 0;
  uint32_t firstFrame = 0;
  uint8_t inputCount = 0;
  PlayerInput inputs[kMaxInputsPerMessage];
  uint32_t hashFrame = 0;
  uint64_t stateHash = 0;
  // Control, ControlAck.
  uint16_t controlSequence = 0;
  SessionEvent event = SessionEvent::StartMatch;
  uint32_t argument = 0;
  // Ping, Pong: the pinger's clock in milliseconds (echoed) and the sender's frame. StateReport: the frame, and
  // the state's bytes as WriteFrameStateBytes lays them out.
  uint32_t time = 0;
  uint32_t frame = 0;
  uint8_t state[kFrameStateBytes] = {};
  // RoomOpened, JoinRoom: the code; PeerFound: the other peer's address, name (in `name`) and role (1 host,
  // 2 joiner); JoinRoom and OpenRoom carry the sender's name in `name` and a number it drew for this meeting in
  // `session` (a repeated request has the same, a new game from the same address and port another).
  char code[kRoomCodeLength + 1] = {};
  PeerAddress address;
  uint8_t role = 0;
  // Relay: the wrapped message's bytes. Signal: part `frame` (from 0) of `argument` parts of a text, this part's
  // bytes (at most kMaxSignalPartBytes).
  uint16_t payloadSize = 0;
  uint8_t payload[kMaxDatagramBytes - 8] = {};
};

// Reads one datagram. False, with a short reason in *why (a constant text), for anything not a well-formed message
// of this version: wrong magic, unknown kind, a field out of range, too short, too long, bytes left over.
bool ReadMessage(const uint8_t* bytes, size_t size, Message* out, const char** why);

// Writes a message; its size in bytes, or 0 when it does not fit in capacity or a field is out of range.
size_t WriteMessage(const Message& message, uint8_t* out, size_t capacity);

// Whether a name is what the protocol carries (1 to 16 printable ASCII characters), and a name made from any text:
// characters outside printable ASCII become '?', cut to 16; "Player" when nothing is left.
bool IsValidName(const char* name);
void MakeName(const char* text, char out[kMaxNameLength + 1]);

// Whether text is a room code (6 characters of the alphabet, upper case; lower case is accepted and raised).
bool NormaliseRoomCode(const char* text, char out[kRoomCodeLength + 1]);
