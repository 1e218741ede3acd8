#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs them one after the other (each
# works in a scratch folder of its own, so the paths given to it are absolute).
#   ./scripts/fuzz.sh [TARGET|all] [SECONDS]
# TARGET is a file name fuzz/<TARGET>_fuzz.cpp (content, save_data, replay, ...); all (the
# default) runs every target for SECONDS each (default 60). Each run starts from the
# committed seeds in fuzz/corpus/<TARGET>/ and grows build-fuzz/corpus/<TARGET>/; findings
# are written to build-fuzz/findings/<TARGET>/. A mended finding's input goes into
# fuzz/corpus/<TARGET>/, where the ordinary tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-all}"
seconds="${2:-60}"
# The old form, a number alone, still runs every target for that long.
if [[ "$target" =~ ^[0-9]+$ ]]; then
  seconds="$target"
  target=all
fi
if [[ "$target" == all ]]; then
  targets=()
  for source in fuzz/*_fuzz.cpp; do
    name="$(basename "$source" _fuzz.cpp)"
    targets+=("$name")
  done
elif [[ -f "fuzz/${target}_fuzz.cpp" ]]; then
  targets=("$target")
else
  echo "fuzz.sh: no fuzz target \"$target\" (fuzz/${target}_fuzz.cpp)" >&2
  exit 2
fi

bash scripts/setup.sh clang libclang-rt-14-dev
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR=1
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLMERE_FUZZ=ON -DQUILLMERE_TESTS=OFF -DQUILLMERE_BENCH=OFF >/dev/null
binaries=()
for name in "${targets[@]}"; do
  binaries+=("quillmere_${name}_fuzz")
done
cmake --build build-fuzz -j"$(nproc)" --target "${binaries[@]}"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for name in "${targets[@]}"; do
  corpus="$(pwd)/build-fuzz/corpus/$name" findings="$(pwd)/build-fuzz/findings/$name"
  mkdir -p "$corpus" "$findings"
  cp -n fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  if [[ "$name" == content ]]; then
    cp -n tests/fixtures/content/Modules/Main/*.ini "$corpus"/ 2>/dev/null || true
  fi
  echo "== $name: ${seconds}s"
  ./build-fuzz/fuzz/quillmere_"$name"_fuzz -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
    -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" "$corpus"
done
