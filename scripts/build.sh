#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh                 the game, tools, tests and benchmarks in build/
#   scripts/build.sh sanitize        engine tests with ASan and UBSan in build-sanitize/
#   scripts/build.sh fuzz            libFuzzer targets (clang) in build-fuzz/
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-main}
jobs=${VARLO_JOBS:-$(nproc)}
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# ccache, where installed, makes rebuilds of other trees and branches cheap.
launcher=()
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

case "$kind" in
  main)
    dir=build
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize)
    dir=build-sanitize
    args=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" -DVARLO_SANITIZE=ON -DVARLO_ENGINE_ONLY=ON) ;;
  fuzz)
    dir=build-fuzz
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARLO_FUZZ=ON
          -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14) ;;
  *)
    echo "usage: $0 [main|sanitize|fuzz]" >&2; exit 2 ;;
esac

if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${generator[@]}" "${launcher[@]}" "${args[@]}" >/dev/null
fi
cmake --build "$dir" -j "$jobs"
