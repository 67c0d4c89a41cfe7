#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start to first painted window and resident memory: Pelzora against a bare Qt
# window (bench/bare-window.cpp), side by side in one run under Xvfb.
# Needs: xvfb, hyperfine, time.   Usage: bench/startup.sh [BUILD_DIR]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-40}
display=:${DISPLAY_NUMBER:-97}

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
export DISPLAY=$display PELZORA_QUIT_AFTER_FIRST_PAINT=1 QT_QPA_PLATFORM=xcb

csv=$(mktemp)
hyperfine --style basic --warmup 5 --runs "$runs" --export-csv "$csv" \
  -n bare "$build/bench/bare-window" -n pelzora "$build/src/pelzora" >/dev/null
# Columns: command,mean,stddev,median,user,system,min,max
bare_ms=$(awk -F, '$1=="bare" {printf "%.1f", $4*1000}' "$csv")
pelzora_ms=$(awk -F, '$1=="pelzora" {printf "%.1f", $4*1000}' "$csv")
rm -f "$csv"

median_rss() {   # peak resident set in KiB, median of 15 runs
  for _ in $(seq 15); do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; done | sort -n | sed -n 8p
}
bare_kib=$(median_rss "$build/bench/bare-window")
pelzora_kib=$(median_rss "$build/src/pelzora")

echo "start to first paint (median): bare ${bare_ms} ms, pelzora ${pelzora_ms} ms, ratio $(awk "BEGIN {printf \"%.2f\", $pelzora_ms/$bare_ms}")"
echo "peak resident memory (median): bare ${bare_kib} KiB, pelzora ${pelzora_kib} KiB, ratio $(awk "BEGIN {printf \"%.2f\", $pelzora_kib/$bare_kib}")"
