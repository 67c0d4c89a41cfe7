#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Where the resident memory lies, by mapping: Pelzora against the bare Qt window
# (bench/bare-window.cpp) and against the floor of its text (the bare window
# showing the seven Chinese tab captions, BARE_WINDOW_TABS=1), each settled as
# in bench/whole-run.sh (13 s after its window shows), from /proc/PID/smaps.
# Prints the resident kilobytes of every file and of anonymous memory for the
# three, largest excess over the floor first; then the PSS of every process of
# each program's session (Pelzora's mount probes are forked from it and share
# its pages), and its sum.
# Needs: xvfb, xdotool.   Usage: bench/mappings.sh [BUILD_DIR]
# SETTLE_SECONDS (default 13) changes the wait; PELZORA and BARE name other programs;
# MAPPING=Pss lists proportional instead of resident kilobytes.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
settle=${SETTLE_SECONDS:-13}
display=:${DISPLAY_NUMBER:-95}
field=${MAPPING:-Rss}
pelzora_program=${PELZORA:-$build/src/pelzora}
bare_program=${BARE:-$build/bench/bare-window}

pids=()
cleanup() { for pid in "${pids[@]}"; do kill -- "-$pid" 2>/dev/null || kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display QT_QPA_PLATFORM=xcb
unset PELZORA_QUIT_AFTER_FIRST_PAINT BARE_WINDOW_TABS
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.1; done

# "KiB name" per mapping name; every anonymous mapping (heap, stacks, unnamed) counts as [anonymous].
by_mapping() {
  awk -v field="$field:" '/^[0-9a-f]+-[0-9a-f]+ / { name = ($6 == "" || $6 ~ /^\[(heap|stack.*|anon.*)\]$/) ? "[anonymous]" : $6 }
       $1 == field { kib[name] += $2 }
       END { for (n in kib) if (kib[n] > 0) print kib[n], n }' /proc/"$1"/smaps
}

# "pid name PSS-KiB" for every process of the session.
session_pss() {
  for stat in /proc/[0-9]*/stat; do
    local pid=${stat#/proc/}; pid=${pid%/stat}
    [[ $(awk '{ sub(/.*\) /, ""); print $4 }' "$stat" 2>/dev/null) == "$1" ]] || continue
    echo "$pid $(cat /proc/"$pid"/comm) $(awk '$1 == "Pss:" { print $2 }' /proc/"$pid"/smaps_rollup)"
  done
}

settled_mappings() {   # output file, program
  local out=$1; shift
  setsid "$@" & local pid=$!
  pids+=("$pid")
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do sleep 0.01; done
  sleep "$settle"
  by_mapping "$pid" >"$out"
  session_pss "$pid" >"$out.session"
  kill -- "-$pid"
  wait "$pid" 2>/dev/null || true
}

dir=$(mktemp -d)
trap 'cleanup; rm -rf "$dir"' EXIT
settled_mappings "$dir/bare" "$bare_program"
BARE_WINDOW_TABS=1 settled_mappings "$dir/floor" "$bare_program"
settled_mappings "$dir/pelzora" "$pelzora_program"

echo "$field by mapping (KiB), the program's own process"
printf '%9s %9s %9s %9s  %s\n' pelzora floor bare more mapping
awk 'FILENAME ~ /bare$/ { b[$2] = $1; next } FILENAME ~ /floor$/ { f[$2] = $1; next } { p[$2] = $1 }
     END { for (n in b) if (!(n in p)) p[n] = 0
           for (n in f) if (!(n in p)) p[n] = 0
           for (n in p) { tp += p[n]; tf += f[n]; tb += b[n]
                          printf "%9d %9d %9d %9d  %s\n", p[n], f[n], b[n], p[n] - f[n], n }
           printf "%9d %9d %9d %9d  %s\n", tp, tf, tb, tp - tf, "(all)" }' "$dir/bare" "$dir/floor" "$dir/pelzora" |
  sort -k4,4nr | sed -n '1,40p'
echo
for name in pelzora floor bare; do
  echo "PSS of $name's session (KiB):"
  awk '{ printf "  %7d  %s (%s)\n", $3, $2, $1; sum += $3 } END { printf "  %7d  in all\n", sum }' "$dir/$name.session"
done
