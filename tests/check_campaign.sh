#!/usr/bin/env bash
# The shipped game folder passes the simulator's whole check, every level solved to its par:
# no error and no warning. Prints the findings, if any, and how long the check took.
set -u
sim=$1 game=$2
start=$(date +%s%N)
findings=$("$sim" check --data "$game")
status=$?
end=$(date +%s%N)
[ -n "$findings" ] && echo "$findings"
echo "campaign check: status $status, $(( (end - start) / 1000000 )) ms"
[ "$status" -eq 0 ] && [ -z "$findings" ]
