// A stand-in for libFuzzer's main: feeds a target every seed file and a fixed number of mutations of each.
// Mutations are deterministic (fixed generator seed) so a failure reproduces; TAVO_FUZZ_RUNS sets how many.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> ReadSeeds(int argc, char** argv) {
  std::vector<Bytes> seeds;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path root(argv[i]);
    if (!std::filesystem::exists(root)) continue;
    auto addFile = [&](const std::filesystem::path& p) {
      std::ifstream in(p, std::ios::binary);
      seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    if (std::filesystem::is_directory(root)) {
      for (auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file()) addFile(entry.path());
    } else {
      addFile(root);
    }
  }
  if (seeds.empty()) seeds.push_back({});
  return seeds;
}

// One mutation: flip bytes, overwrite with extreme values, cut the tail, or append garbage.
Bytes Mutate(const Bytes& seed, std::mt19937& rng) {
  Bytes out = seed;
  int edits = 1 + static_cast<int>(rng() % 8);
  for (int e = 0; e < edits; ++e) {
    switch (rng() % 5) {
      case 0:
        if (!out.empty()) out[rng() % out.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
        break;
      case 1:
        if (!out.empty()) out[rng() % out.size()] = (rng() & 1) ? 0xFF : 0x00;
        break;
      case 2:
        if (out.size() >= 4) {
          size_t at = rng() % (out.size() - 3);
          uint32_t value = (rng() & 1) ? 0xFFFFFFFFu : static_cast<uint32_t>(rng() % 0x100000u);
          for (int b = 0; b < 4; ++b) out[at + b] = static_cast<uint8_t>(value >> (8 * b));
        }
        break;
      case 3:
        if (!out.empty()) out.resize(rng() % out.size());
        break;
      default:
        for (int n = static_cast<int>(rng() % 64); n > 0; --n) out.push_back(static_cast<uint8_t>(rng()));
        break;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const char* runsText = std::getenv("TAVO_FUZZ_RUNS");
  const long runsPerSeed = runsText ? std::atol(runsText) : 2000;
  std::vector<Bytes> seeds = ReadSeeds(argc, argv);
  std::mt19937 rng(12345);
  long total = 0;
  for (const Bytes& seed : seeds) {
    LLVMFuzzerTestOneInput(seed.data(), seed.size());
    for (long r = 0; r < runsPerSeed; ++r, ++total) {
      Bytes input = Mutate(seed, rng);
      LLVMFuzzerTestOneInput(input.data(), input.size());
    }
  }
  std::cout << "fuzz driver: " << seeds.size() << " seeds, " << total << " mutated inputs, no crash\n";
  return 0;
}
