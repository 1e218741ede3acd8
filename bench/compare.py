#!/usr/bin/env python3
"""Before and after on the same machine in one run: two builds of the benchmarks take turns,
ROUNDS times each, and the medians of their CPU times and counters are set side by side.

    bench/compare.py BEFORE_BENCH AFTER_BENCH [--filter REGEX] [--rounds N]

BEFORE_BENCH and AFTER_BENCH are quillmere_bench binaries of two builds (the filter must
name benchmarks both have). Taking turns, the two meet the same load on a shared machine;
the medians leave out the odd slow round.
"""
import argparse
import json
import statistics
import subprocess
import sys


def run(binary, pattern):
    out = subprocess.run([binary, f"--benchmark_filter={pattern}", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    return {b["name"]: b for b in json.loads(out)["benchmarks"] if b.get("run_type", "iteration") == "iteration"}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--filter", default="Solve")
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()

    runs = {"before": [], "after": []}
    for round_ in range(args.rounds):
        for side in ("before", "after"):
            runs[side].append(run(getattr(args, side), args.filter))
        print(f"round {round_ + 1} of {args.rounds}", file=sys.stderr)

    def median(side, name, field):
        values = [r[name][field] for r in runs[side] if name in r and field in r[name]]
        return statistics.median(values) if values else None

    names = [n for n in runs["after"][0] if n in runs["before"][0]]
    print(f"{'benchmark':48} {'before':>12} {'after':>12} {'before/after':>13}")
    for name in names:
        unit = runs["after"][0][name].get("time_unit", "ns")
        fields = ["cpu_time"] + sorted(k for k, v in runs["after"][0][name].items()
                                       if isinstance(v, float) and k not in
                                       ("real_time", "cpu_time", "iterations", "repetitions",
                                        "repetition_index", "threads", "family_index",
                                        "per_family_instance_index"))
        for field in fields:
            b, a = median("before", name, field), median("after", name, field)
            if b is None or a is None:
                continue
            label = f"{name} {'CPU ' + unit if field == 'cpu_time' else field}"
            ratio = f"{b / a:13.2f}" if a else f"{'-':>13}"
            print(f"{label:48} {b:12.4g} {a:12.4g} {ratio}")


if __name__ == "__main__":
    main()
