// How much of the heap the process is using, as the C library's allocator reports it; for measuring tools
// that watch memory over a long run.
#pragma once
#include <cstdint>

namespace platform {

// Bytes handed out by the allocator and not yet freed, counting the large blocks it maps on its own.
uint64_t HeapBytesInUse();

}  // namespace platform
