// Feeds arbitrary datagrams to the online message reader: it must accept or refuse each with a reason, and a
// message it accepts must be written back to the very same bytes, which read as the same message again.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/online/protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Message message;
  const char* why = nullptr;
  if (!ReadMessage(data, size, &message, &why)) {
    if (why == nullptr || why[0] == '\0') std::abort();
    return 0;
  }
  if (why != nullptr) std::abort();
  uint8_t written[kMaxDatagramBytes];
  const size_t writtenSize = WriteMessage(message, written, sizeof written);
  if (writtenSize != size || std::memcmp(written, data, size) != 0) std::abort();
  Message again;
  if (!ReadMessage(written, writtenSize, &again, &why)) std::abort();
  return 0;
}
