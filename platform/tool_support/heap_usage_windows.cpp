// The heap in use on Windows, read by walking the C runtime's heap: the bytes of every block in use.
// Slow (it visits every block), so it is only asked at the few moments the soak compares.
#include "platform/tool_support/heap_usage.h"

#include <malloc.h>

namespace platform {

uint64_t HeapBytesInUse() {
  uint64_t bytes = 0;
  _HEAPINFO entry{};
  while (_heapwalk(&entry) == _HEAPOK)
    if (entry._useflag == _USEDENTRY) bytes += entry._size;
  return bytes;
}

}  // namespace platform
