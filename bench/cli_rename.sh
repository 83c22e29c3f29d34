#!/usr/bin/env bash
# Times quorvane-cli --apply against the least a rename needs and against
# Debian's file-rename, on the same files, in one run: COUNT files named
# "Artist <n> - Song <m>.mp3" in a folder on /dev/shm (tmpfs) and one on
# /tmp. Each tool in turn swaps the two parts of every name:
#   bare loop     statx + renameat2(RENAME_NOREPLACE) + statx per file
#   file-rename   -d 's/^(.*?) - (.*)$/$2 - $1/'
#   quorvane-cli  --apply --search '<*> - <*>' --replace '<2> - <1>', with
#                 its journal (XDG_STATE_HOME in the same base folder)
#   cli --undo    quorvane-cli --undo of that pass, which swaps them back
# Swapping twice gives the old name back, so the tools take turns on one
# folder. Each is run ROUNDS times; the best time counts, both the time
# taken in all (wall) and the processor time (user + system), which a
# busy machine disturbs less. All three get the
# paths as a NUL-separated list (100,000 paths are too many for one command line).
#
# Usage: bench/cli_rename.sh [BUILD_DIR]   (default build/cli-release, built with
#   cmake -S . -B build/cli-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVANE_BENCH=ON
#   cmake --build build/cli-release --target quorvane-cli bare_rename_loop)
set -euo pipefail

build=${1:-build/cli-release}
count=${COUNT:-100000}
rounds=${ROUNDS:-5}
cli=$build/cli/quorvane-cli
bare=$build/bench/bare_rename_loop
for tool in "$cli" "$bare"; do
  [ -x "$tool" ] || { echo "cli_rename: $tool is missing; build it first" >&2; exit 1; }
done
command -v file-rename >/dev/null || { echo "cli_rename: file-rename is missing (tools/setup installs it)" >&2; exit 1; }

dirs=()
trap 'rm -rf "${dirs[@]}" "${dirs[@]/%/.err}"' EXIT

# How many names in the folder start with "Artist".
artists() {
  local names=("$1"/Artist*.mp3)
  [ -e "${names[0]}" ] && echo "${#names[@]}" || echo 0
}

# "wall cpu": seconds the command took, in all and on the processor (user +
# system), with the paths of the folder's files on standard input.
time_tool() {
  local dir=$1 list=$2
  shift 2
  printf '%s\0' "$dir"/* >"$list"
  local before; before=$(artists "$dir")
  local TIMEFORMAT='%R %U %S' times
  times=$( { time "$@" <"$list" >/dev/null 2>"$list.err"; } 2>&1 ) || { cat "$list.err" >&2; exit 1; }
  # Every name must have been swapped.
  if [ "$(artists "$dir")" -ne $((count - before)) ]; then
    echo "cli_rename: $1 did not rename every file" >&2
    exit 1
  fi
  awk '{ printf "%.3f %.3f", $1, $2 + $3 }' <<<"$times"
}

# The best of several "wall cpu" pairs, each column on its own.
best() {
  printf '%s\n' "$@" | awk 'NR == 1 || $1 < w { w = $1 } NR == 1 || $2 < c { c = $2 } END { printf "%.3f %.3f", w, c }'
}

row() {
  local base=$1 tool=$2 times=$3 bare=$4
  awk -v base="$base" -v tool="$tool" -v t="$times" -v b="$bare" 'BEGIN {
    split(t, T, " "); split(b, B, " ")
    printf "%-9s %-13s %8.3f %6.2fx %8.3f %6.2fx\n", base, tool, T[1], T[1] / B[1], T[2], T[2] / B[2] }'
}

printf '%-9s %-13s %8s %7s %8s %7s\n' folder tool wall ratio cpu ratio
for base in /dev/shm /tmp; do
  dir=$(mktemp -d "$base/quorvane-cli-bench.XXXXXX")
  list=$(mktemp "$base/quorvane-cli-bench-list.XXXXXX")
  state=$(mktemp -d "$base/quorvane-cli-bench-state.XXXXXX")
  dirs+=("$dir" "$list" "$state")
  for ((i = 0; i < count; i++)); do : >"$dir/Artist $i - Song $((i % 977)).mp3"; done

  bare_times=() perl_times=() cli_times=() undo_times=()
  for ((r = 0; r < rounds; r++)); do
    bare_times+=("$(time_tool "$dir" "$list" "$bare" /dev/stdin)")
    perl_times+=("$(time_tool "$dir" "$list" file-rename -0 -d 's/^(.*?) - (.*)$/$2 - $1/')")
    cli_times+=("$(XDG_STATE_HOME=$state time_tool "$dir" "$list" "$cli" --apply --search '<*> - <*>' \
      --replace '<2> - <1>' --files-from - --null)")
    undo_times+=("$(XDG_STATE_HOME=$state time_tool "$dir" "$list" "$cli" --undo)")
    rm -f "$state"/Velmora/Quorvane/journal/*.journal
  done
  b=$(best "${bare_times[@]}")
  row "$base" "bare loop" "$b" "$b"
  row "$base" "file-rename" "$(best "${perl_times[@]}")" "$b"
  row "$base" "quorvane-cli" "$(best "${cli_times[@]}")" "$b"
  row "$base" "cli --undo" "$(best "${undo_times[@]}")" "$b"
  rm -rf "$dir" "$list" "$list.err" "$state"
done
