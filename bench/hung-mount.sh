#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pelzora with a hung FUSE mount that holds a bind mount (a FUSE server that
# takes requests and never answers, tests/support/hangfs.cpp), in a mount
# namespace of its own: start to first paint, the window's longest stall
# (bench_longeststall on the Disk page while another mount comes and goes),
# how long the process takes to be gone once it is ended, and `--report`.
# Needs root and /dev/fuse; skips with a message elsewhere.
#   Usage: bench/hung-mount.sh [BUILD_DIR] [PROGRAM]
# PROGRAM (default BUILD_DIR/src/pelzora) may be an earlier build; BENCH names
# another bench_longeststall and FILTER its benchmark (thisMachinesDrives).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
program=$(realpath "${2:-$build/src/pelzora}")
bench=${BENCH:-$build/bench/bench_longeststall}
filter=${FILTER:-thisMachinesDrives}
patience=${PATIENCE_SECONDS:-20}

if [[ $EUID -ne 0 ]]; then echo "skipped: mounting needs root"; exit 0; fi
if [[ ! -c /dev/fuse ]]; then echo "skipped: no /dev/fuse on this machine"; exit 0; fi
if [[ -z ${PELZORA_PRIVATE_MOUNTS:-} ]]; then
  PELZORA_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private "$0" "$build" "$program"
fi
export QT_QPA_PLATFORM=offscreen

mount -t tmpfs bench /mnt
mkdir -p /mnt/hung /mnt/spare /mnt/extra
coproc hangfs { exec "$build/tests/pelzora-hangfs" /mnt/hung; }
read -r _ <&"${hangfs[0]}"
mount -t tmpfs spare /mnt/spare
mkdir /mnt/spare/inner
mount --bind /mnt/spare/inner /mnt/hung/sub
umount /mnt/spare
echo hang >&"${hangfs[1]}"
# The server's end aborts the connection and lets every waiter go.
trap 'exec {hangfs[1]}>&-; wait; umount -l /mnt' EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Whether any thread of the process is still there (a zombie leader alone is gone).
alive() {
  local task
  for task in /proc/"$1"/task/*/stat; do
    [[ -r $task && $(awk '{print $3}' "$task" 2>/dev/null) != Z ]] && return 0
  done
  return 1
}
# Milliseconds until the process is gone, or "over N s".
time_to_gone() {
  local start
  start=$(now_ms)
  while alive "$1"; do
    if (($(now_ms) - start > patience * 1000)); then echo "over ${patience} s"; return; fi
    sleep 0.01
  done
  echo "$(($(now_ms) - start)) ms"
}

echo "program: $program"
echo "mounts: $(grep -c . /proc/self/mountinfo), the hung ones: /mnt/hung (fuse.hangfs), /mnt/hung/sub (bind)"

PELZORA_QUIT_AFTER_FIRST_PAINT=1 "$program" >/dev/null 2>&1 &
pid=$!
start=$(now_ms)
echo "start to first paint and exit: $(time_to_gone $pid)"

"$program" --report >/tmp/pelzora-hung-report.$$ 2>/dev/null &
pid=$!
echo "--report, start to exit: $(time_to_gone $pid)"
echo "  disk section: $(sed -n '/^\[硬盘\]/,/^\[/p' /tmp/pelzora-hung-report.$$ | grep -E 'drive:|missing' | tr '\n' ' ')"
rm -f /tmp/pelzora-hung-report.$$

"$program" >/dev/null 2>&1 &
pid=$!
sleep 3
kill -TERM $pid
echo "window ended after 3 s, to gone: $(time_to_gone $pid)"

if [[ -x $bench ]]; then
  ( while sleep 0.5; do mount -t tmpfs extra /mnt/extra; sleep 0.5; umount /mnt/extra; done ) &
  changes=$!
  "$bench" --benchmark_filter="$filter" >/tmp/pelzora-hung-bench.$$ 2>/dev/null &
  pid=$!
  patience=$((patience + 15)) time_to_gone $pid >/dev/null
  grep -E "^$filter" /tmp/pelzora-hung-bench.$$ || echo "$filter: no result within $((patience + 15)) s"
  rm -f /tmp/pelzora-hung-bench.$$
  kill $changes
fi
