#!/usr/bin/env bash
# Runs the fuzz harnesses built in BUILD for SECONDS each, JOBS at a time (default 2), starting
# from the checked-in seeds. New inputs go to BUILD/corpus/<name>, so later runs continue from
# what earlier ones found; an input that breaks a harness is kept as BUILD/findings/<name>-*.
# Exits non-zero when any harness fails.
#   usage: fuzz/run_fuzzers.sh BUILD SECONDS [NAME...]      (NAME as in bmp for bmp_fuzzer)
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD SECONDS [NAME...]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
jobs=${JOBS:-2}

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for program in "$build"/*_fuzzer; do
    names+=("$(basename "$program" _fuzzer)")
  done
fi
mkdir -p "$build/corpus" "$build/findings" "$build/logs"

run_one() {
  local name=$1
  local corpus="$build/corpus/$name"
  local log="$build/logs/$name.log"
  local options=(-max_total_time="$seconds" -timeout=30 -print_final_stats=1 -close_fd_mask=1
                 -artifact_prefix="$build/findings/$name-")
  [ -f "$here/dicts/$name.dict" ] && options+=(-dict="$here/dicts/$name.dict")
  mkdir -p "$corpus"
  local suppressions=
  [ -f "$here/$name.lsan" ] && suppressions="suppressions=$here/$name.lsan"
  if LSAN_OPTIONS="$suppressions" UBSAN_OPTIONS=print_stacktrace=1 \
     "$build/${name}_fuzzer" "${options[@]}" "$corpus" "$here/seeds/$name" > "$log" 2>&1; then
    echo "$name: $(grep -E '^#[0-9]+.*DONE' "$log" | tail -n 1 | tr -s '\t ' ' ')"
  else
    echo "$name: FAILED (log: $log)"
    grep -E 'vexel fuzz:|ERROR:|SUMMARY:|runtime error|Test unit written' "$log" | head -n 20
    return 1
  fi
}

failed=0
running=0
for name in "${names[@]}"; do
  if [ ! -x "$build/${name}_fuzzer" ]; then
    echo "$name: no harness ${name}_fuzzer in $build"
    failed=$((failed + 1))
    continue
  fi
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=$((failed + 1))
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=$((failed + 1))
  running=$((running - 1))
done
echo "fuzz: $((${#names[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
