#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What English costs: start to first painted window and peak resident memory of
# the window in Chinese (no language asked, and --lang zh) and in English
# (--lang en, which loads the translation), and the text report in each, side by
# side in one run under Xvfb.
# Needs: xvfb, hyperfine, time.   Usage: bench/language.sh [BUILD_DIR]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-40}
display=:${DISPLAY_NUMBER:-95}
pelzora=$build/src/pelzora

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
export DISPLAY=$display PELZORA_QUIT_AFTER_FIRST_PAINT=1 QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset LANGUAGE

csv=$(mktemp)
trap 'kill $xvfb 2>/dev/null; rm -f "$csv"' EXIT
hyperfine --style basic --warmup 5 --runs "$runs" --export-csv "$csv" \
  -n chinese "$pelzora" -n zh "$pelzora --lang zh" -n en "$pelzora --lang en" \
  -n report-zh "$pelzora --report --lang zh" -n report-en "$pelzora --report --lang en" >/dev/null
# Columns: command,mean,stddev,median,user,system,min,max
median_ms() { awk -F, -v name="$1" '$1==name {printf "%.1f", $4*1000}' "$csv"; }

median_rss() {   # peak resident set in KiB, median of 15 runs
  for _ in $(seq 15); do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; done | sort -n | sed -n 8p
}

echo "start to first paint (median): no language asked $(median_ms chinese) ms, --lang zh $(median_ms zh) ms," \
  "--lang en $(median_ms en) ms"
echo "--report (median): --lang zh $(median_ms report-zh) ms, --lang en $(median_ms report-en) ms"
echo "peak resident memory (median): --lang zh $(median_rss "$pelzora" --lang zh) KiB," \
  "--lang en $(median_rss "$pelzora" --lang en) KiB"
echo "peak resident memory of --report (median): --lang zh $(median_rss "$pelzora" --report --lang zh) KiB," \
  "--lang en $(median_rss "$pelzora" --report --lang en) KiB"
