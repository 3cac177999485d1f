// A seed nobody can foresee, for what must not be guessed from outside (the rendezvous server's room codes):
// the system's own source of random numbers, through the standard library.
#include <random>

#include "platform/net.h"

namespace platform {

uint64_t UnforeseeableSeed() {
  std::random_device source;
  return static_cast<uint64_t>(source()) << 32 ^ source();
}

}  // namespace platform
