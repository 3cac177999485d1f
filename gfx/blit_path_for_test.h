// The keyed blit's two 16-bit copy paths, forced by tests and benchmarks so that both run on the same inputs in
// one binary. Only gfx/blit.cpp (which defines these) and tests and benchmarks include it; the program itself lets
// the first keyed blit ask the processor.
#pragma once

enum class KeyedCopyPath {
  ProcessorChoice,  // 32-byte vector moves when the processor has them (AVX2), else plain: what the program uses
  Plain,            // built for every processor
  Wide              // 32-byte vector moves; only on x86 processors with AVX2
};

// Whether this build and this processor offer the wide path.
bool WideKeyedCopyAvailable();

// Makes every following 16-bit keyed blit take the path. False (and nothing changed) for Wide when
// WideKeyedCopyAvailable() is false.
bool UseKeyedCopyPath(KeyedCopyPath path);
