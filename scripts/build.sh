#!/usr/bin/env bash
# Configures and builds everything into build/ (game folder: build/game), or into the
# folder BUILD_DIR names.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Lets ccache share objects between work trees of the same repository.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR=1
cmake -S . -B "${BUILD_DIR:-build}" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
cmake --build "${BUILD_DIR:-build}" -j"$(nproc)"
