#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Where the resident memory lies, by mapping: Pelzora against the bare Qt window
# (bench/bare-window.cpp), each settled as in bench/whole-run.sh (13 s after its
# window shows), from /proc/PID/smaps. Prints the resident kilobytes of every
# file and of anonymous memory for both, largest difference first.
# Needs: xvfb, xdotool.   Usage: bench/mappings.sh [BUILD_DIR]
# SETTLE_SECONDS (default 13) changes the wait; PELZORA and BARE name other programs.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
settle=${SETTLE_SECONDS:-13}
display=:${DISPLAY_NUMBER:-95}
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

# "KiB name" per mapping name; every anonymous mapping (heap, stacks, unnamed) counts as [anonymous].
resident_by_mapping() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / { name = ($6 == "" || $6 ~ /^\[(heap|stack.*|anon.*)\]$/) ? "[anonymous]" : $6 }
       $1 == "Rss:" { kib[name] += $2 }
       END { for (n in kib) if (kib[n] > 0) print kib[n], n }' /proc/"$1"/smaps
}

settled_mappings() {   # program, output file
  "$1" & local pid=$!
  pids+=("$pid")
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do sleep 0.01; done
  sleep "$settle"
  resident_by_mapping "$pid" >"$2"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

bare=$(mktemp); pelzora=$(mktemp)
trap 'cleanup; rm -f "$bare" "$pelzora"' EXIT
settled_mappings "$bare_program" "$bare"
settled_mappings "$pelzora_program" "$pelzora"

printf '%9s %9s %9s  %s\n' pelzora bare more mapping
awk 'FNR == NR { b[$2] = $1; next } { p[$2] = $1 }
     END { for (n in b) if (!(n in p)) p[n] = 0
           for (n in p) { tp += p[n]; tb += b[n]; printf "%9d %9d %9d  %s\n", p[n], b[n], p[n] - b[n], n }
           printf "%9d %9d %9d  %s\n", tp, tb, tp - tb, "(all, KiB)" }' "$bare" "$pelzora" |
  sort -k3,3nr | sed -n '1,40p'
