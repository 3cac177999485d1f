// The datagram codec: a reader that checks every length and range before it takes a byte, and a writer that
// refuses what the reader would refuse, so a message written is always one the other side can read.
#include "app/online/protocol.h"

#include <cstring>

namespace {

constexpr uint8_t kMagic0 = 'T';
constexpr uint8_t kMagic1 = 'V';
constexpr size_t kHeaderBytes = 4;
constexpr size_t kMaxPayloadBytes = sizeof(Message::payload);

// ---- Reading: every take checks the room left first; a failed take leaves `failed` set and reads nothing more.
struct ByteReader {
  const uint8_t* bytes;
  size_t size;
  size_t at = 0;
  bool failed = false;

  bool Has(size_t count) {
    if (failed || size - at < count) failed = true;
    return !failed;
  }
  uint8_t U8() { return Has(1) ? bytes[at++] : 0; }
  uint16_t U16() {
    if (!Has(2)) return 0;
    const uint16_t value = static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
    at += 2;
    return value;
  }
  uint32_t U32() {
    const uint32_t low = U16();
    return low | static_cast<uint32_t>(U16()) << 16;
  }
  uint64_t U64() {
    const uint64_t low = U32();
    return low | static_cast<uint64_t>(U32()) << 32;
  }
  void Take(void* into, size_t count) {
    if (!Has(count)) return;
    std::memcpy(into, bytes + at, count);
    at += count;
  }
};

// ---- Writing: the same, towards a caller's buffer.
struct ByteWriter {
  uint8_t* bytes;
  size_t capacity;
  size_t at = 0;
  bool failed = false;

  bool Room(size_t count) {
    if (failed || capacity - at < count) failed = true;
    return !failed;
  }
  void U8(uint8_t value) {
    if (Room(1)) bytes[at++] = value;
  }
  void U16(uint16_t value) {
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
  }
  void U32(uint32_t value) {
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
  }
  void U64(uint64_t value) {
    U32(static_cast<uint32_t>(value));
    U32(static_cast<uint32_t>(value >> 32));
  }
  void Put(const void* from, size_t count) {
    if (!Room(count)) return;
    std::memcpy(bytes + at, from, count);
    at += count;
  }
};

bool IsPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

bool IsRoomCodeCharacter(char c) { return c != '\0' && std::strchr(kRoomCodeAlphabet, c) != nullptr; }

bool IsRoomCode(const char* code) {
  for (int32_t i = 0; i < kRoomCodeLength; ++i)
    if (!IsRoomCodeCharacter(code[i])) return false;
  return code[kRoomCodeLength] == '\0';
}

bool IsKnownReason(uint8_t value) { return value >= 1 && value <= static_cast<uint8_t>(RefuseReason::ServerFull); }
bool IsKnownEvent(uint8_t value) { return value >= 1 && value <= static_cast<uint8_t>(SessionEvent::Resume); }

// A name: its length (1 to 16), then its printable characters.
bool ReadName(ByteReader* in, char* name) {
  const uint8_t length = in->U8();
  if (in->failed || length == 0 || length > kMaxNameLength) return false;
  in->Take(name, length);
  name[in->failed ? 0 : length] = '\0';
  if (in->failed) return false;
  // Every one of the length characters must be printable: a zero inside would make a shorter name.
  for (uint8_t i = 0; i < length; ++i)
    if (!IsPrintableAscii(name[i])) return false;
  return true;
}

void WriteName(ByteWriter* out, const char* name) {
  const size_t length = std::strlen(name);
  out->U8(static_cast<uint8_t>(length));
  out->Put(name, length);
}

bool ReadCode(ByteReader* in, char* code) {
  in->Take(code, kRoomCodeLength);
  code[kRoomCodeLength] = '\0';
  return !in->failed && IsRoomCode(code);
}

// An address: family 4 or 6, its 4 or 16 bytes, the port; family 0 alone (reached through the server only).
size_t AddressBytes(uint8_t family) { return family == 0 ? 0 : family == 4 ? 4 : 16; }

bool ReadAddress(ByteReader* in, PeerAddress* address) {
  address->family = in->U8();
  if (address->family != 0 && address->family != 4 && address->family != 6) return false;
  in->Take(address->bytes, AddressBytes(address->family));
  if (address->family != 0) address->port = in->U16();
  return !in->failed;
}

void WriteAddress(ByteWriter* out, const PeerAddress& address) {
  out->U8(address.family);
  if (address.family == 0) return;
  out->Put(address.bytes, AddressBytes(address.family));
  out->U16(address.port);
}

bool IsSignalPart(const Message& m) {
  return m.argument >= 1 && m.argument <= kMaxSignalParts && m.frame < m.argument && m.payloadSize > 0 &&
         m.payloadSize <= kMaxSignalPartBytes;
}

// The body of each kind; false for a field out of range (lengths are checked by the reader itself).
bool ReadBody(ByteReader* in, Message* m) {
  switch (m->kind) {
    case MessageKind::Hello:
    case MessageKind::Welcome:
      m->session = in->U32();
      m->filesHash = in->U64();
      return ReadName(in, m->name);
    case MessageKind::Refuse:
    case MessageKind::ServerRefuse: {
      const uint8_t reason = in->U8();
      m->reason = static_cast<RefuseReason>(reason);
      return IsKnownReason(reason);
    }
    case MessageKind::Inputs:
      m->ackFrame = in->U32();
      m->firstFrame = in->U32();
      m->inputCount = in->U8();
      if (m->inputCount > kMaxInputsPerMessage) return false;
      for (int32_t i = 0; i < m->inputCount; ++i) {
        PlayerInput& input = m->inputs[i];
        input.bits = in->U8();
        input.dx = static_cast<int16_t>(in->U16());
        input.dy = static_cast<int16_t>(in->U16());
        if ((input.bits & ~kInputAllBits) != 0) return false;
      }
      m->hashFrame = in->U32();
      m->stateHash = in->U64();
      return true;
    case MessageKind::Control: {
      m->controlSequence = in->U16();
      const uint8_t event = in->U8();
      m->event = static_cast<SessionEvent>(event);
      m->argument = in->U32();
      return IsKnownEvent(event);
    }
    case MessageKind::ControlAck:
      m->controlSequence = in->U16();
      return true;
    case MessageKind::Ping:
    case MessageKind::Pong:
      m->time = in->U32();
      m->frame = in->U32();
      return true;
    case MessageKind::StateReport:
      m->frame = in->U32();
      in->Take(m->state, sizeof m->state);
      return true;
    case MessageKind::OpenRoom:
      m->session = in->U32();
      return ReadName(in, m->name);
    case MessageKind::RoomOpened:
      return ReadCode(in, m->code);
    case MessageKind::JoinRoom:
      if (!ReadCode(in, m->code)) return false;
      m->session = in->U32();
      return ReadName(in, m->name);
    case MessageKind::PeerFound:
      if (!ReadAddress(in, &m->address)) return false;
      m->role = in->U8();
      return (m->role == 1 || m->role == 2) && ReadName(in, m->name);
    case MessageKind::Signal:
      m->frame = in->U8();
      m->argument = in->U8();
      m->payloadSize = in->U16();
      if (!IsSignalPart(*m)) return false;
      in->Take(m->payload, m->payloadSize);
      return true;
    case MessageKind::Relay:
      m->payloadSize = in->U16();
      if (m->payloadSize == 0 || m->payloadSize > kMaxPayloadBytes) return false;
      in->Take(m->payload, m->payloadSize);
      return true;
    case MessageKind::StayInRoom:
      return true;
  }
  return false;
}

bool IsKnownKind(uint8_t kind) {
  return (kind >= static_cast<uint8_t>(MessageKind::Hello) && kind <= static_cast<uint8_t>(MessageKind::Signal)) ||
         (kind >= static_cast<uint8_t>(MessageKind::OpenRoom) && kind <= static_cast<uint8_t>(MessageKind::StayInRoom));
}

// Whether the fields the writer puts are in the ranges the reader accepts.
bool IsWritable(const Message& m) {
  switch (m.kind) {
    case MessageKind::Hello:
    case MessageKind::Welcome:
    case MessageKind::OpenRoom:
      return IsValidName(m.name);
    case MessageKind::Refuse:
    case MessageKind::ServerRefuse:
      return IsKnownReason(static_cast<uint8_t>(m.reason));
    case MessageKind::Inputs:
      for (int32_t i = 0; i < m.inputCount && i < kMaxInputsPerMessage; ++i)
        if ((m.inputs[i].bits & ~kInputAllBits) != 0) return false;
      return m.inputCount <= kMaxInputsPerMessage;
    case MessageKind::Control:
      return IsKnownEvent(static_cast<uint8_t>(m.event));
    case MessageKind::RoomOpened:
      return IsRoomCode(m.code);
    case MessageKind::JoinRoom:
      return IsRoomCode(m.code) && IsValidName(m.name);
    case MessageKind::PeerFound:
      return (m.address.family == 0 || m.address.family == 4 || m.address.family == 6) &&
             (m.role == 1 || m.role == 2) && IsValidName(m.name);
    case MessageKind::Signal:
      return IsSignalPart(m);
    case MessageKind::Relay:
      return m.payloadSize > 0 && m.payloadSize <= kMaxPayloadBytes;
    case MessageKind::ControlAck:
    case MessageKind::Ping:
    case MessageKind::Pong:
    case MessageKind::StateReport:
    case MessageKind::StayInRoom:
      return true;
  }
  return false;
}

void WriteBody(ByteWriter* out, const Message& m) {
  switch (m.kind) {
    case MessageKind::Hello:
    case MessageKind::Welcome:
      out->U32(m.session);
      out->U64(m.filesHash);
      WriteName(out, m.name);
      break;
    case MessageKind::Refuse:
    case MessageKind::ServerRefuse:
      out->U8(static_cast<uint8_t>(m.reason));
      break;
    case MessageKind::Inputs:
      out->U32(m.ackFrame);
      out->U32(m.firstFrame);
      out->U8(m.inputCount);
      for (int32_t i = 0; i < m.inputCount; ++i) {
        out->U8(m.inputs[i].bits);
        out->U16(static_cast<uint16_t>(m.inputs[i].dx));
        out->U16(static_cast<uint16_t>(m.inputs[i].dy));
      }
      out->U32(m.hashFrame);
      out->U64(m.stateHash);
      break;
    case MessageKind::Control:
      out->U16(m.controlSequence);
      out->U8(static_cast<uint8_t>(m.event));
      out->U32(m.argument);
      break;
    case MessageKind::ControlAck:
      out->U16(m.controlSequence);
      break;
    case MessageKind::Ping:
    case MessageKind::Pong:
      out->U32(m.time);
      out->U32(m.frame);
      break;
    case MessageKind::StateReport:
      out->U32(m.frame);
      out->Put(m.state, sizeof m.state);
      break;
    case MessageKind::OpenRoom:
      out->U32(m.session);
      WriteName(out, m.name);
      break;
    case MessageKind::RoomOpened:
      out->Put(m.code, kRoomCodeLength);
      break;
    case MessageKind::JoinRoom:
      out->Put(m.code, kRoomCodeLength);
      out->U32(m.session);
      WriteName(out, m.name);
      break;
    case MessageKind::PeerFound:
      WriteAddress(out, m.address);
      out->U8(m.role);
      WriteName(out, m.name);
      break;
    case MessageKind::Signal:
      out->U8(static_cast<uint8_t>(m.frame));
      out->U8(static_cast<uint8_t>(m.argument));
      out->U16(m.payloadSize);
      out->Put(m.payload, m.payloadSize);
      break;
    case MessageKind::Relay:
      out->U16(m.payloadSize);
      out->Put(m.payload, m.payloadSize);
      break;
    case MessageKind::StayInRoom:
      break;
  }
}

}  // namespace

bool ReadMessage(const uint8_t* bytes, size_t size, Message* out, const char** why) {
  const char* reason = nullptr;
  if (size < kHeaderBytes) {
    reason = "shorter than a header";
  } else if (size > kMaxDatagramBytes) {
    reason = "longer than any message";
  } else if (bytes[0] != kMagic0 || bytes[1] != kMagic1) {
    reason = "not a message of this game";
  } else if (bytes[2] != kProtocolVersion) {
    out->version = bytes[2];
    reason = "another version";
  } else if (!IsKnownKind(bytes[3])) {
    reason = "unknown kind";
  } else {
    ByteReader in{bytes, size, kHeaderBytes};
    out->version = bytes[2];
    out->kind = static_cast<MessageKind>(bytes[3]);
    if (!ReadBody(&in, out)) {
      reason = in.failed ? "cut short" : "a field out of range";
    } else if (in.failed) {
      reason = "cut short";
    } else if (in.at != size) {
      reason = "bytes after the message";
    }
  }
  if (why != nullptr) *why = reason;
  return reason == nullptr;
}

size_t WriteMessage(const Message& message, uint8_t* out, size_t capacity) {
  if (!IsWritable(message)) return 0;
  ByteWriter writer{out, capacity < kMaxDatagramBytes ? capacity : kMaxDatagramBytes};
  writer.U8(kMagic0);
  writer.U8(kMagic1);
  writer.U8(kProtocolVersion);
  writer.U8(static_cast<uint8_t>(message.kind));
  WriteBody(&writer, message);
  return writer.failed ? 0 : writer.at;
}

bool IsValidName(const char* name) {
  size_t length = 0;
  for (; name[length] != '\0'; ++length)
    if (length >= static_cast<size_t>(kMaxNameLength) || !IsPrintableAscii(name[length])) return false;
  return length > 0;
}

void MakeName(const char* text, char out[kMaxNameLength + 1]) {
  int32_t length = 0;
  for (const char* c = text; *c != '\0' && length < kMaxNameLength; ++c) {
    const unsigned char byte = static_cast<unsigned char>(*c);
    if (byte >= 0x80 && (byte & 0xC0) == 0x80) continue;  // a UTF-8 continuation: its lead became '?' already
    out[length++] = IsPrintableAscii(*c) ? *c : '?';
  }
  out[length] = '\0';
  // Leading and trailing spaces would make names that look alike.
  while (length > 0 && out[length - 1] == ' ') out[--length] = '\0';
  int32_t start = 0;
  while (out[start] == ' ') ++start;
  if (start > 0) std::memmove(out, out + start, static_cast<size_t>(length - start + 1));
  if (out[0] == '\0') std::strcpy(out, "Player");
}

bool NormaliseRoomCode(const char* text, char out[kRoomCodeLength + 1]) {
  for (int32_t i = 0; i < kRoomCodeLength; ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!IsRoomCodeCharacter(c)) return false;
    out[i] = c;
  }
  out[kRoomCodeLength] = '\0';
  return text[kRoomCodeLength] == '\0';
}
