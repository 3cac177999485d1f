// The heap in use where the allocator is dlmalloc (the browser build), whose statistics have the older
// mallinfo form: the bytes of the blocks in use.
#include <malloc.h>

#include "platform/tool_support/heap_usage.h"

namespace platform {

uint64_t HeapBytesInUse() {
  const struct mallinfo info = mallinfo();
  return static_cast<uint64_t>(info.uordblks) + static_cast<uint64_t>(info.hblkhd);
}

}  // namespace platform
