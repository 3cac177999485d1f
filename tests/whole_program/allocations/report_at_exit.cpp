// Makes a program built with the allocation counter print its count as its last act: "allocations N" on stderr,
// written when static objects are destroyed, after main has returned or exit was called.
#include <cinttypes>
#include <cstdio>

#include "tests/support/allocation_counter.h"

namespace {

struct ReportAtExit {
  ~ReportAtExit() { std::fprintf(stderr, "allocations %" PRIu64 "\n", allocations::Count()); }
};

ReportAtExit Reporter;

}  // namespace
