#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle CPU of the whole program with its window open on the Memory page (all
# timers running, Timer2 at the 10 ms minimum) against a bare Qt window with a
# 10 ms timer (bench/bare-window.cpp), both running side by side under Xvfb.
# Needs: xvfb, xdotool.   Usage: bench/idle-cpu.sh [BUILD_DIR]
# SECONDS_MEASURED (default 20) sets the span, ROUNDS (default 3) how often;
# PELZORA names another program file to measure (to compare two builds).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${SECONDS_MEASURED:-20}
rounds=${ROUNDS:-3}
display=:${DISPLAY_NUMBER:-98}
pelzora_program=${PELZORA:-$build/src/pelzora}

pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb

# CPU time of every thread of a process so far, in nanoseconds (schedstat
# counts to the nanosecond; /proc/PID/stat only to the 10 ms tick).
cpu_ns() {
  cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { printf "%d", sum }'
}

percent() {   # nanoseconds over the span, as a share of one core
  awk -v ns="$1" -v s="$seconds" 'BEGIN { printf "%.3f", ns / (s * 1e9) * 100 }'
}

ratios=()
for round in $(seq "$rounds"); do
  "$build/bench/bare-window" & bare=$!
  "$pelzora_program" & pelzora=$!
  pids+=("$bare" "$pelzora")

  # Show the Memory page as a user would: a click on its tab, the second one
  # ("内存", centred about 83 pixels from the window's left edge, 12 down).
  window=$(xdotool search --sync --limit 1 --onlyvisible --pid "$pelzora" --name '^Pelzora$')
  sleep 1
  xdotool mousemove --window "$window" 83 12 click 1
  # Let start-up settle: the one-shot timers and first paints are not idling.
  sleep 2

  bare_start=$(cpu_ns "$bare"); pelzora_start=$(cpu_ns "$pelzora")
  sleep "$seconds"
  bare_ns=$(( $(cpu_ns "$bare") - bare_start )); pelzora_ns=$(( $(cpu_ns "$pelzora") - pelzora_start ))

  kill "$bare" "$pelzora"
  wait "$bare" "$pelzora" 2>/dev/null || true

  ratio=$(awk -v p="$pelzora_ns" -v b="$bare_ns" 'BEGIN { printf "%.2f", p / b }')
  ratios+=("$ratio")
  echo "round $round: bare $(percent "$bare_ns") %, pelzora $(percent "$pelzora_ns") % of one core over ${seconds} s, ratio $ratio"
done
median=$(printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END { print r[int((NR + 1) / 2)] }')
echo "idle CPU ratio (median of $rounds rounds): $median"
