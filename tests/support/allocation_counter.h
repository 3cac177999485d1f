// A test-only count of every heap allocation the process makes, on any thread. Linking allocation_counter.cpp
// replaces malloc, calloc, realloc, the aligned forms and the global operator new/delete for the whole binary.
#pragma once
#include <cstdint>

namespace allocations {

// Allocations (malloc, calloc, realloc, aligned forms, operator new) made since the process started.
uint64_t Count();

}  // namespace allocations
