#!/usr/bin/env bash
# Builds everything and runs every test headless (SDL's dummy video and audio drivers).
# Arguments go to CMake, e.g. -DQUILLMERE_WERROR=ON as CI builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh "$@"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"$(nproc)" --timeout 300
