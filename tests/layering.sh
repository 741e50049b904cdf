#!/usr/bin/env bash
# The layers of the tree, checked on its sources:
# - Qt stays in framework/qt: no other file of the product includes a Qt
#   header, except the .cpp files of framework/text, which may use Qt Core.
# - The framework's folders depend one way: each includes only its own
#   headers and those of the folders before it (text, model, menus, ui, qt).
# - The program (every folder outside framework/, tests/, bench/, tools/ and
#   fuzz/) reaches the framework through ui and below, never through qt.
set -euo pipefail
root=${1:?usage: layering.sh <source root>}
cd "$root"

order=(text model menus ui qt)
rank() { local i; for i in "${!order[@]}"; do [[ ${order[$i]} == "$1" ]] && echo "$i" && return; done; echo -1; }
qt_includes() { sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<((Qt[A-Za-z]*\/)?Q[A-Za-z]+)>.*/\1/p' "$1"; }
own_includes() { sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$1"; }
is_core() { [[ $1 == QtCore/* || -e /usr/include/x86_64-linux-gnu/qt6/QtCore/$1 ]]; }

failed=0
fail() { echo "FAIL: $*"; failed=1; }
checked=0
while IFS= read -r file; do
  checked=$((checked + 1))
  case $file in
    framework/qt/*) continue ;;
    framework/*) folder=${file#framework/}; folder=${folder%%/*} ;;
    *) folder=program ;;
  esac
  while IFS= read -r header; do
    [[ -z $header ]] && continue
    if [[ $folder == text && $file == *.cpp ]] && is_core "$header"; then continue; fi
    fail "$file includes the Qt header $header"
  done < <(qt_includes "$file")
  while IFS= read -r included; do
    [[ $included == framework/* ]] || continue
    target=${included#framework/}; target=${target%%/*}
    if [[ $folder == program ]]; then
      [[ $target == qt ]] && fail "$file reaches the Qt implementation through $included"
    elif (( $(rank "$target") > $(rank "$folder") )); then
      fail "$file (framework/$folder) includes $included, a folder above its own"
    fi
  done < <(own_includes "$file")
done < <(git ls-files -- '*.h' '*.cpp' ':!tests/*' ':!bench/*' ':!tools/*' ':!fuzz/*' 2>/dev/null || find . -name '*.h' -o -name '*.cpp')
echo "checked $checked files"
(( failed == 0 )) && echo "PASS: Qt stays in framework/qt and the framework's folders depend one way"
exit $failed
