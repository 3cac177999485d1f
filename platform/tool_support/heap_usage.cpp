// The heap in use, read from the C library allocator's own statistics (glibc's mallinfo2): the bytes of the
// blocks in use in its arenas plus those of blocks it mapped separately.
#include "platform/tool_support/heap_usage.h"

#include <malloc.h>

namespace platform {

uint64_t HeapBytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<uint64_t>(info.uordblks) + static_cast<uint64_t>(info.hblkhd);
}

}  // namespace platform
