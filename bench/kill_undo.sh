#!/usr/bin/env bash
# The journal on a real disk: COUNT files (default 60,000) in a folder under
# BASE (default /tmp), half of them in pairs whose names swap ("A<n> - B<n>"
# and "B<n> - A<n>", each a ring through a temporary name), each file holding
# its first name. quorvane-cli --apply swaps every name and is killed with
# SIGKILL after DELAY seconds (default 0.5); --recover shows the state, then
# --undo (or --finish with GOAL=finish) must leave every file under its old
# (or new) name with its content, and no temporary name.
# Usage: bench/kill_undo.sh [CLI]   (default build/release/cli/quorvane-cli)
set -euo pipefail
cli=${1:-build/release/cli/quorvane-cli}
count=${COUNT:-60000} delay=${DELAY:-0.5} goal=${GOAL:-undo}
work=$(mktemp -d "${BASE:-/tmp}/quorvane-kill.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/files" "$work/state"
python3 - "$work/files" "$count" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
for i in range(count // 4):
    for name in (f"A{i} - B{i}.txt", f"B{i} - A{i}.txt", f"C{i} - D{i}.txt", f"E{i} - F{i}.txt"):
        with open(os.path.join(folder, name), "w") as f: f.write(name)
PY
(cd "$work/files" && printf '%s\0' "$work"/files/* >"$work/list")
export XDG_STATE_HOME=$work/state
"$cli" --apply --search '<*> - <*>.txt' --replace '<2> - <1>.txt' --files-from "$work/list" --null \
  >/dev/null 2>&1 &
pid=$!
sleep "$delay"
kill -KILL "$pid" 2>/dev/null || echo "kill_undo: the pass ended before the kill" >&2
wait "$pid" 2>/dev/null || true
"$cli" --recover | head -4
status=0
"$cli" --"$goal" || status=$?
echo "--$goal exit status: $status"
python3 - "$work/files" "$count" "$goal" <<'PY'
import os, sys
folder, count, goal = sys.argv[1], int(sys.argv[2]), sys.argv[3]
names = os.listdir(folder)
def swapped(n):
    a, b = n[:-4].split(" - ")
    return f"{b} - {a}.txt"
bad = [n for n in names if (open(os.path.join(folder, n)).read() if goal == "undo" else swapped(open(os.path.join(folder, n)).read())) != n]
temps = [n for n in names if n.startswith(".quorvane")]
print(f"{len(names)} files, {len(bad)} not under their {'old' if goal == 'undo' else 'new'} name, {len(temps)} temporary names")
sys.exit(1 if bad or temps or len(names) != count else 0)
PY
