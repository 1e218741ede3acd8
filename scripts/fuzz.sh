#!/usr/bin/env bash
# Builds the content-file fuzz target with clang and libFuzzer and runs it (the target works
# in a scratch folder of its own, so the paths given to it are absolute).
#   ./scripts/fuzz.sh [SECONDS]     (default 60; findings are written to build-fuzz/findings/)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh clang libclang-rt-14-dev
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR=1
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLMERE_FUZZ=ON -DQUILLMERE_TESTS=OFF -DQUILLMERE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target quillmere_content_fuzz
mkdir -p build-fuzz/corpus build-fuzz/findings
cp -n fuzz/corpus/* tests/fixtures/content/Modules/Main/*.ini build-fuzz/corpus/ 2>/dev/null || true
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
./build-fuzz/fuzz/quillmere_content_fuzz -max_total_time="${1:-60}" -max_len=4096 -rss_limit_mb=2048 \
  -artifact_prefix="$(pwd)/build-fuzz/findings/" "$(pwd)/build-fuzz/corpus"
