#!/usr/bin/env bash
# Runs the split benchmark: builds the engine's job runner natively and for Windows (Release),
# then bench/split_bench times it natively and under Wine against dd and coreutils split on
# inputs it makes in build/bench-data (on the disk, several GiB free needed), which it removes
# afterwards. Any option goes to split_bench, e.g. --sizes 64M --rounds 3.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
data="$root/build/bench-data"
export WINEPREFIX="$root/build/bench-win/wineprefix"

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DMOXTREL_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build/bench -j2 --target split_bench moxtrel_job >/dev/null
cmake -S . -B build/bench-win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DMOXTREL_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build/bench-win -j2 --target moxtrel_job >/dev/null

cleanup() {
  rm -rf "$data"
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
mkdir -p "$data"
build/bench/bench/split_bench --dir "$data" --job build/bench/bench/moxtrel_job \
  --wine-job build/bench-win/bench/moxtrel_job.exe --wine-runner cmake/wine-run.sh "$@"
