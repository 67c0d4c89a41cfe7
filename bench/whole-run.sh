#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole run as a user meets it: Pelzora against a bare Qt window with a
# 10 ms timer (bench/bare-window.cpp), one program at a time, alternating, in
# one Xvfb server. For each run:
#   start   from exec to a visible window (polled with xdotool search --onlyvisible)
#   CPU     of the whole process over CPU_SECONDS, from SETTLE_SECONDS after the
#           window shows (so after the programs list is filled and the printer
#           page has asked once)
#   memory  resident set at the end of that span
# and at the end the medians of each, their ratios and the targets.
# Needs: xvfb, xdotool, python3.   Usage: bench/whole-run.sh [BUILD_DIR]
# ROUNDS (default 5), SETTLE_SECONDS (3) and CPU_SECONDS (10) change the run
# (ROUNDS=1 SETTLE_SECONDS=1 CPU_SECONDS=2 is a quick look); PELZORA and BARE
# name other program files (to compare two builds); DISPLAY_NUMBER the server.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${ROUNDS:-5}
settle=${SETTLE_SECONDS:-3}
span=${CPU_SECONDS:-10}
display=:${DISPLAY_NUMBER:-96}
pelzora_program=${PELZORA:-$build/src/pelzora}
bare_program=${BARE:-$build/bench/bare-window}

pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display QT_QPA_PLATFORM=xcb
unset PELZORA_QUIT_AFTER_FIRST_PAINT
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.1; done

# CPU time of a whole process so far in nanoseconds: its process CPU clock,
# which counts every thread, also those that have ended, to the nanosecond.
cpu_ns() {
  python3 -c 'import sys, time; print(time.clock_gettime_ns((~int(sys.argv[1]) << 3) | 2))' "$1"
}

resident_kib() {
  awk '$1 == "VmRSS:" { print $2 }' /proc/"$1"/status
}

microseconds() {   # $EPOCHREALTIME as a whole number of microseconds
  echo $(( ${1/./} ))
}

# One run of a program; sets ms (start), cpu (per cent of one core) and kib
# (resident). Fails, saying why, when the program ends before it shows a window.
measure() {
  local begin shown pid cpu_start cpu_end status
  begin=$(microseconds "$EPOCHREALTIME")
  "$1" 2>"$errors" & pid=$!
  pids+=("$pid")
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0; wait "$pid" || status=$?
      echo "$1 ended with status $status before it showed a window: $(tail -n 3 "$errors")" >&2
      return 1
    fi
  done
  shown=$(microseconds "$EPOCHREALTIME")
  sleep "$settle"
  cpu_start=$(cpu_ns "$pid")
  sleep "$span"
  cpu_end=$(cpu_ns "$pid")
  kib=$(resident_kib "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  ms=$(awk -v us=$(( shown - begin )) 'BEGIN { printf "%.1f", us / 1000 }')
  cpu=$(awk -v ns=$(( cpu_end - cpu_start )) -v s="$span" 'BEGIN { printf "%.3f", ns / (s * 1e9) * 100 }')
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

load() { cut -d' ' -f1-3 /proc/loadavg; }

echo "load average before: $(load) on $(nproc) cores"
results=$(mktemp); errors=$(mktemp)
trap 'cleanup; rm -f "$results" "$errors"' EXIT
for round in $(seq "$rounds"); do
  # Alternate which goes first, so a drift in the machine's load favours neither.
  if (( round % 2 )); then order=(bare pelzora); else order=(pelzora bare); fi
  for name in "${order[@]}"; do
    program=$bare_program
    [[ $name == pelzora ]] && program=$pelzora_program
    # A run that fails is run again, at most twice, and counted.
    for attempt in 1 2 3; do
      measure "$program" && break
      failed=$(( ${failed:-0} + 1 ))
      (( attempt < 3 )) || exit 1
    done
    echo "$name $ms $cpu $kib" >>"$results"
    printf 'round %d %-8s start %7.1f ms   CPU %6.3f %%   resident %7.1f MiB   (load %s)\n' \
      "$round" "$name" "$ms" "$cpu" "$(awk -v k="$kib" 'BEGIN { print k / 1024 }')" "$(load)"
    sleep 0.5
  done
done

column_median() { awk -v n="$1" -v c="$2" '$1 == n { print $c }' "$results" | median; }
row() {   # label, column, unit, scale, target
  local bare pelzora
  bare=$(column_median bare "$2"); pelzora=$(column_median pelzora "$2")
  awk -v label="$1" -v b="$bare" -v p="$pelzora" -v unit="$3" -v scale="$4" -v target="$5" 'BEGIN {
    ratio = p / b
    printf "| %-24s | %10.2f %-3s | %10.2f %-3s | %5.2fx | %4.1fx | %-7s |\n", label, p / scale, unit, b / scale, unit,
           ratio, target, ratio <= target ? "met" : "not met" }'
}
echo
(( ${failed:-0} == 0 )) || echo "WARNING: $failed runs ended before their window showed and were run again"
echo "medians of $rounds rounds; CPU over ${span} s from ${settle} s after the window shows; load average now $(load)"
echo "| measure                  | Pelzora        | bare Qt window | ratio  | target | result  |"
echo "|--------------------------|----------------|----------------|--------|--------|---------|"
row "start to visible window" 2 ms 1 1.3
row "idle CPU, window open" 3 % 1 1.4
row "resident memory at end" 4 MiB 1024 1.5
