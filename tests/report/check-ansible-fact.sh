#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The report as a fleet collects it: Debian's ansible-core runs pelzora.fact as a
# local fact on localhost, and the report comes whole. Before that, the report
# alone as it runs over ssh: no display, no D-Bus, no home directory.
#   check-ansible-fact.sh PROGRAM_DIR SOURCE_DIR REPORT_DIR timed|untimed
set -euo pipefail
program_dir=$1
source=$2
reports=$3
timed=${4:-timed}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v ansible >/dev/null || fail "ansible is not installed (Debian package ansible-core)"

bare=(env -i PATH="$program_dir:/usr/bin:/bin" LC_ALL=C.UTF-8 CUPS_SERVER=/nonexistent/cups.sock)
"${bare[@]}" pelzora --report=json >"$work/bare.json" || fail "the report over ssh exited with $?"
cp "$work/bare.json" "$reports/ansible-bare.json"
# The fastest of ten, so that other work on the machine does not decide it.
if [ "$timed" = timed ]; then
  best=100000
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    start=$(date +%s%N)
    "${bare[@]}" pelzora --report=json >/dev/null
    took=$(( ($(date +%s%N) - start) / 1000000 ))
    (( took < best )) && best=$took
  done
  echo "report without display, D-Bus or home: ${best} ms"
  (( best < 100 )) || fail "the report took ${best} ms"
fi

mkdir -p "$work/facts" "$work/home" "$work/tmp"
cp "$source/packaging/pelzora.fact" "$work/facts/pelzora.fact"
chmod +x "$work/facts/pelzora.fact"
env -i PATH="$program_dir:/usr/bin:/bin" HOME="$work/home" LC_ALL=C.UTF-8 CUPS_SERVER=/nonexistent/cups.sock \
    ANSIBLE_LOCAL_TEMP="$work/tmp" ANSIBLE_NOCOLOR=1 ANSIBLE_INVENTORY_UNPARSED_WARNING=False \
    ansible localhost -c local -m setup -a "fact_path=$work/facts filter=ansible_local" \
    >"$work/ansible.out" 2>"$work/ansible.err" || fail "ansible: $(cat "$work/ansible.out" "$work/ansible.err")"

/usr/bin/python3 - "$work/ansible.out" "$reports/ansible-fact.json" <<'PYTHON' || fail "ansible_local.pelzora"
import json
import socket
import sys

text = open(sys.argv[1], encoding="utf-8").read()
facts = json.loads(text[text.index("{"):])["ansible_facts"]["ansible_local"]["pelzora"]
with open(sys.argv[2], "w", encoding="utf-8") as kept:
    json.dump(facts, kept, ensure_ascii=False)
meminfo = dict(line.split(":", 1) for line in open("/proc/meminfo", encoding="ascii"))
total = int(meminfo["MemTotal"].split()[0]) * 1024
checks = {
    "schemaVersion": facts["schemaVersion"] == 1,
    "host name": facts["other"]["hostName"] == socket.gethostname()[:64],
    "memory total": facts["memory"]["totalPhysicalBytes"] == total,
}
for name, ok in checks.items():
    print(("ok: " if ok else "FAIL: ") + name)
sys.exit(0 if all(checks.values()) else 1)
PYTHON
echo "ansible fact ok"
