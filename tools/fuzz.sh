#!/usr/bin/env bash
# Builds the libFuzzer tree (build-fuzz/, clang, every library instrumented) and runs each fuzz target for a while.
# Usage: tools/fuzz.sh [seconds per target, default 60] [target names...]; TAVO_FUZZ_PARALLEL=2 runs two at a time.
# Exits 1, naming the files, when a fuzzer fails: it found a crash, a leak, an input too slow or too greedy.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
parallel=${TAVO_FUZZ_PARALLEL:-1}
store=${TAVO_FUZZ_STORE:-${XDG_CACHE_HOME:-$HOME/.cache}/tavo2000-fuzz}

# clang and its runtime libraries (libFuzzer, the sanitizers) are needed here only, not by ./check.
runtime=$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null || true)
if ! command -v clang++ >/dev/null || [ ! -f "$runtime" ]; then
  echo "fuzz.sh needs clang and its runtime libraries. Run:"
  echo "sudo apt-get install -y --no-install-recommends clang libclang-rt-14-dev"
  exit 1
fi

# The Timidity renderer built with the same checks, whose reader the patch target hands every patch it accepts.
timidity=$(tools/cross/deps.sh fuzz | tail -n 1)
tools/configure_tree.sh build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVO_LIBFUZZER=ON -DTAVO_BUILD_BENCHMARKS=OFF \
  -DTAVO_FUZZ_TIMIDITY_PREFIX="$timidity"
cmake build-fuzz >/dev/null  # refreshes the target list
mapfile -t listed < build-fuzz/fuzz_targets.txt
targets=()
for line in "${listed[@]}"; do
  name=${line%% *}
  if [ $# -eq 0 ] || [[ " $* " == *" $name "* ]]; then targets+=("$line"); fi
done
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz target named: $*"; exit 1; }
cmake --build build-fuzz --target "${targets[@]%% *}"

# One target: grown corpus and crashes under $store/<name>/, the run's log as last.log, and one summary line.
# Returns 1 when the fuzzer failed, after naming the crash files this run wrote (or its log when it wrote none).
run_target() {
  local name=$1 program=$2 seeds=$3 home="$store/$1"
  mkdir -p "$home/corpus" "$home/crashes"
  local before
  before=$(find "$home/crashes" -type f | sort)
  # New inputs go into the grown corpus (named first), so a later run starts from all found so far; seeds are only read.
  # An input running 10 s or allocating over 64 MB at once is kept as a crash: no small file should ask for that.
  local code=0
  "$program" -max_total_time="$seconds" -timeout=10 -malloc_limit_mb="${TAVO_FUZZ_MALLOC_MB:-64}" \
    -print_final_stats=1 -artifact_prefix="$home/crashes/" "$home/corpus" "$seeds" >"$home/last.log" 2>&1 || code=$?
  local execs start end crashes
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$home/last.log" | tail -1)
  start=$(sed -n 's/^#[0-9]*[[:space:]]*INITED cov: \([0-9]*\).*/\1/p' "$home/last.log" | head -1)
  end=$(sed -n 's/^#[0-9]*[[:space:]].* cov: \([0-9]*\).*/\1/p' "$home/last.log" | tail -1)
  crashes=$(find "$home/crashes" -type f | wc -l)
  printf '%-20s %6ss  executions %-10s coverage %s -> %s  crash files %s\n' "$name" "$seconds" "${execs:-?}" \
    "${start:-?}" "${end:-?}" "$crashes"
  local new
  new=$(comm -13 <(echo "$before") <(find "$home/crashes" -type f | sort))
  if [ "$code" -ne 0 ] || [ -n "$new" ]; then
    echo "$name: FAILED (the fuzzer's exit code $code); its log is $home/last.log" >&2
    if [ -n "$new" ]; then
      echo "$name: crash files of this run:" >&2
      while IFS= read -r file; do echo "  $file" >&2; done <<<"$new"
    fi
    return 1
  fi
}

echo "corpora and crashes under $store"
running=0
failed=0
for line in "${targets[@]}"; do
  read -r name program seeds <<<"$line"
  run_target "$name" "$program" "$seeds" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n || failed=$((failed + 1))
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=$((failed + 1))
  running=$((running - 1))
done
if [ "$failed" -gt 0 ]; then
  echo "fuzz: $failed of ${#targets[@]} targets failed" >&2
  exit 1
fi
