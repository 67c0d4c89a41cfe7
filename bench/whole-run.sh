#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole run as a user meets it: Pelzora against a bare Qt window with a
# 10 ms timer (bench/bare-window.cpp) and against the floor of its text, the
# same window showing Pelzora's seven Chinese tab captions
# (BARE_WINDOW_TABS=1), one program at a time, alternating, in one Xvfb
# server. For each run:
#   start   from exec to a visible window (polled with xdotool search --onlyvisible)
#   CPU     of the program over CPU_SECONDS, from SETTLE_SECONDS after the
#           window shows (so after the programs list is filled and the printer
#           page has asked once)
#   memory  at the end of that span: the program's resident set, and the
#           proportional set (PSS) summed over its session: the program and
#           every process it started, also those forked twice such as the
#           mount probes, which share the program's pages and so lower its
#           own PSS while they live
# and at the end the medians of each, their ratios and the targets.
# Needs: xvfb, xdotool, python3.   Usage: bench/whole-run.sh [BUILD_DIR]
# ROUNDS (default 5), SETTLE_SECONDS (3) and CPU_SECONDS (10) change the run
# (ROUNDS=1 SETTLE_SECONDS=1 CPU_SECONDS=2 is a quick look); PELZORA and BARE
# name other program files (to compare two builds); PEER names another program
# to measure in the same rounds (PEER=hardinfo); DISPLAY_NUMBER the server.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${ROUNDS:-5}
settle=${SETTLE_SECONDS:-3}
span=${CPU_SECONDS:-10}
display=:${DISPLAY_NUMBER:-96}
pelzora_program=${PELZORA:-$build/src/pelzora}
bare_program=${BARE:-$build/bench/bare-window}
peer_program=${PEER:-}

pids=()
cleanup() { for pid in "${pids[@]}"; do kill -- "-$pid" 2>/dev/null || kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

# -noreset: the server stays up between clients, so no round starts with a server that is resetting.
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display QT_QPA_PLATFORM=xcb
unset PELZORA_QUIT_AFTER_FIRST_PAINT BARE_WINDOW_TABS
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.1; done

# The session of a program started by setsid: "cpu_ns pss_kib processes".
# CPU is each process's CPU clock (every thread, also those that have ended,
# to the nanosecond) plus what its reaped children used; PSS from smaps_rollup.
session_figures() {
  python3 - "$1" <<'EOF'
import os, sys, time
session = int(sys.argv[1])
cpu = pss = count = 0
tick = os.sysconf('SC_CLK_TCK')
for entry in os.listdir('/proc'):
    if not entry.isdigit():
        continue
    pid = int(entry)
    try:
        with open(f'/proc/{pid}/stat') as f:
            fields = f.read().rsplit(')', 1)[1].split()
        if int(fields[3]) != session:
            continue
        cpu += time.clock_gettime_ns((~pid << 3) | 2)
        cpu += (int(fields[13]) + int(fields[14])) * 10**9 // tick
        with open(f'/proc/{pid}/smaps_rollup') as f:
            pss += sum(int(line.split()[1]) for line in f if line.startswith('Pss:'))
        count += 1
    except (OSError, ValueError):
        pass
print(cpu, pss, count)
EOF
}

resident_kib() {
  awk '$1 == "VmRSS:" { print $2 }' /proc/"$1"/status
}

microseconds() {   # $EPOCHREALTIME as a whole number of microseconds
  echo $(( ${1/./} ))
}

# One run of a program (and its arguments); sets ms (start), cpu (per cent of
# one core), kib (resident), pss (KiB, the session) and processes. Fails,
# saying why, when the program ends before it shows a window.
measure() {
  local begin shown pid cpu_start cpu_end status figures
  begin=$(microseconds "$EPOCHREALTIME")
  setsid "$@" >/dev/null 2>"$errors" & pid=$!
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
  read -r cpu_start _ _ < <(session_figures "$pid")
  sleep "$span"
  read -r cpu_end pss processes < <(session_figures "$pid")
  kib=$(resident_kib "$pid")
  kill -- "-$pid" 2>/dev/null || kill "$pid"
  wait "$pid" 2>/dev/null || true
  ms=$(awk -v us=$(( shown - begin )) 'BEGIN { printf "%.1f", us / 1000 }')
  cpu=$(awk -v ns=$(( cpu_end - cpu_start )) -v s="$span" 'BEGIN { printf "%.3f", ns / (s * 1e9) * 100 }')
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

load() { cut -d' ' -f1-3 /proc/loadavg; }

names=(bare floor pelzora)
[[ -n $peer_program ]] && names+=(peer)
run() {   # name
  case $1 in
    bare) measure "$bare_program" ;;
    floor) BARE_WINDOW_TABS=1 measure "$bare_program" ;;
    pelzora) measure "$pelzora_program" ;;
    peer) measure $peer_program ;;
  esac
}

echo "load average before: $(load) on $(nproc) cores"
results=$(mktemp); errors=$(mktemp)
trap 'cleanup; rm -f "$results" "$errors"' EXIT
for round in $(seq "$rounds"); do
  # Turn the order round, so a drift in the machine's load favours none of them.
  order=("${names[@]:round % ${#names[@]}}" "${names[@]:0:round % ${#names[@]}}")
  for name in "${order[@]}"; do
    # A run that fails is run again, at most twice, and counted.
    for attempt in 1 2 3; do
      run "$name" && break
      failed=$(( ${failed:-0} + 1 ))
      (( attempt < 3 )) || exit 1
    done
    echo "$name $ms $cpu $kib $pss" >>"$results"
    printf 'round %d %-8s start %7.1f ms   CPU %6.3f %%   resident %6.2f MiB   PSS %6.2f MiB in %d processes   (load %s)\n' \
      "$round" "$name" "$ms" "$cpu" "$(awk -v k="$kib" 'BEGIN { print k / 1024 }')" \
      "$(awk -v k="$pss" 'BEGIN { print k / 1024 }')" "$processes" "$(load)"
    sleep 0.5
  done
done

column_median() { awk -v n="$1" -v c="$2" '$1 == n { print $c }' "$results" | median; }
# label, column, unit, scale, the target's ratio and against what (bare, floor) or its limit (an absolute number)
row() {
  local label=$1 column=$2 unit=$3 scale=$4 target=$5 against=$6 peer=
  [[ -n $peer_program ]] && peer=$(column_median peer "$column")
  awk -v label="$label" -v p="$(column_median pelzora "$column")" -v b="$(column_median bare "$column")" \
      -v f="$(column_median floor "$column")" -v peer="$peer" -v unit="$unit" -v scale="$scale" \
      -v target="$target" -v against="$against" 'BEGIN {
    printf "| %-23s | %8.2f %-3s | %8.2f %-3s | %8.2f %-3s |", label, p / scale, unit, b / scale, unit, f / scale, unit
    if (peer != "") printf " %8.2f %-3s |", peer / scale, unit
    printf "  %5.2fx |   %5.2fx |", p / b, p / f
    if (against == "bare") { met = p / b <= target; goal = sprintf("<= %.1fx bare", target) }
    else if (against == "floor") { met = p / f <= target; goal = sprintf("<= %.1fx floor", target) }
    else { met = p / scale <= target; goal = sprintf("<= %g %s", target, unit) }
    printf " %-16s | %-7s |\n", goal, met ? "met" : "not met" }'
}
echo
(( ${failed:-0} == 0 )) || echo "WARNING: $failed runs ended before their window showed and were run again"
echo "medians of $rounds rounds; CPU over ${span} s from ${settle} s after the window shows; load average now $(load)"
echo "floor: the bare window showing the seven Chinese tab captions; PSS: summed over the program's session"
peer_head= peer_rule=
[[ -n $peer_program ]] && peer_head=" $(printf '%-12s' "${peer_program##*/}") |" peer_rule="--------------|"
echo "| measure                 | Pelzora      | bare window  | CJK floor    |$peer_head vs bare | vs floor | target           | result  |"
echo "|-------------------------|--------------|--------------|--------------|$peer_rule---------|----------|------------------|---------|"
row "start to visible window" 2 ms 1 1.1 floor
row "idle CPU, window open" 3 % 1 1.3 bare
row "resident memory at end" 4 MiB 1024 1.1 floor
row "PSS at end (session)" 5 MiB 1024 30 MiB
