#!/usr/bin/env bash
# Qt stays below the framework's public headers: no file of the program's own
# folders includes a Qt header, directly or through a framework header.
set -euo pipefail
root=${1:?usage: layering.sh <source root>}
cd "$root"

is_qt() { grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|qt)' "$1"; }

failed=0
declare -A seen=()
queue=()
for file in $(find shell editor find -name '*.h' -o -name '*.cpp' 2>/dev/null); do
  if is_qt "$file"; then echo "FAIL: $file includes a Qt header"; failed=1; fi
  queue+=("$file")
done
# Follow the framework headers that the program's files reach.
while (( ${#queue[@]} )); do
  file=${queue[0]}; queue=("${queue[@]:1}")
  dir=$(dirname "$file")
  while read -r included; do
    for candidate in "$included" "$dir/$included"; do
      [[ -f "$candidate" ]] || continue
      candidate=$(realpath --relative-to=. "$candidate")
      [[ "$candidate" == framework/* && -z "${seen[$candidate]:-}" ]] || continue
      seen[$candidate]=1
      if is_qt "$candidate"; then echo "FAIL: $candidate includes a Qt header and is reached from $file"; failed=1; fi
      queue+=("$candidate")
    done
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done
echo "checked ${#seen[@]} framework headers reached from the program"
(( failed == 0 )) && echo "PASS: Qt stays inside the framework"
exit $failed
