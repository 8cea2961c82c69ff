#!/usr/bin/env bash
# Builds and runs every test: the engine natively, natively again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build (engine and program) under Wine on an X
# display. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:97
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

step() { printf '\n=== %s\n' "$*"; }

step "native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure

step "native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/sanitize --output-on-failure

step "Windows build and tests under Wine"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j"$jobs"
# A 1 MiB memory disk for the Windows tests to fill, where this user may mount one.
small_disk="$root/build/win/small-disk"
mkdir -p "$small_disk"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=1m tmpfs "$small_disk" 2>/dev/null; then
  export MOXTREL_SMALL_DISK="Z:${small_disk//\//\\}"
fi
win_status=0
ctest --test-dir build/win --output-on-failure || win_status=$?
WINEPREFIX="$root/build/win/wineprefix" wineserver -k 2>/dev/null || true
if [ -n "${MOXTREL_SMALL_DISK:-}" ]; then
  umount "$small_disk"
  unset MOXTREL_SMALL_DISK
fi
[ "$win_status" -eq 0 ] || exit "$win_status"

step "fuzz targets, each run for a bounded time against its reference model"
# clang and libFuzzer, in a build of their own; a crash or a mismatch with a model fails the run.
fuzz_seconds=${MOXTREL_FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DMOXTREL_FUZZ=ON -DBUILD_TESTING=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j"$jobs" --target fuzz_targets
for target in text_end reverse_find source_path cut_modes; do
  # New inputs go to a corpus in the build folder; the seeds in fuzz/corpus are only read.
  mkdir -p "build/fuzz/corpus/$target" "build/fuzz/artifacts"
  log="build/fuzz/$target.log"
  if ! "build/fuzz/fuzz/${target}_fuzz" -max_total_time="$fuzz_seconds" -print_final_stats=1 \
      -artifact_prefix="build/fuzz/artifacts/$target-" \
      "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz target $target failed; the input is in build/fuzz/artifacts"
    exit 1
  fi
  echo "$target: $(grep -m1 '^Done' "$log")"
done

step "benchmark smoke run, natively and under Wine (small inputs; fails only when the benchmark does)"
cmake -S . -B build/native -DMOXTREL_BENCH=ON >/dev/null
cmake --build build/native -j"$jobs" --target split_bench moxtrel_job
cmake -S . -B build/win -DMOXTREL_BENCH=ON >/dev/null
cmake --build build/win -j"$jobs" --target moxtrel_job
rm -rf build/native/bench-smoke
WINEPREFIX="$root/build/win/wineprefix" build/native/bench/split_bench --dir "$root/build/native/bench-smoke" \
  --job build/native/bench/moxtrel_job --wine-job build/win/bench/moxtrel_job.exe --wine-runner cmake/wine-run.sh \
  --sizes 4M --rounds 1 --fixed-rounds 1 --scan-mib 16 --scan-rounds 1
rm -rf build/native/bench-smoke
WINEPREFIX="$root/build/win/wineprefix" wineserver -k 2>/dev/null || true

echo
echo "all tests passed"
