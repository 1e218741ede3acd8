#!/usr/bin/env bash
# Fails on a clear slow-down of the solver or of the play frame, and on nothing else: each
# figure is a ratio measured within one run, the solver's cost per board against a fixed
# workload and the play frame against SDL's floor for the same pictures, so a loaded or
# slower machine moves both sides alike. The limits sit well above what this machine
# measures (about 12 and 1.1), so that only a real regression crosses them.
#
#     perf_guard.sh QUILLMERE_BENCH
set -euo pipefail
bench=$1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
json=$("$bench" --benchmark_filter='^BM_(SolverAgainstReference|PlayFrameAgainstFloor)' --benchmark_format=json)
BENCH_JSON="$json" exec python3 - <<'PY'
import json, os, sys

# Thousandths of a reference run per board, and play frame over floor frame.
LIMITS = {
    "BM_SolverAgainstReference": ("state/reference", 30.0),
    "BM_PlayFrameAgainstFloor": ("play/floor", 2.0),
}
runs = json.loads(os.environ["BENCH_JSON"])["benchmarks"]
failed = False
for prefix, (counter, limit) in LIMITS.items():
    found = [b for b in runs if b["name"].startswith(prefix) and counter in b]
    if not found:
        print(f"{prefix}: no {counter} measured")
        failed = True
        continue
    value = found[0][counter]
    verdict = "ok" if value <= limit else "REGRESSION"
    print(f"{prefix} {counter} = {value:.3g} (limit {limit:g}): {verdict}")
    failed |= value > limit
sys.exit(1 if failed else 0)
PY
