#!/bin/sh
# Regenerates the RTF fixtures in this folder from their sources:
# libreoffice-*.fodt through LibreOffice Writer, abiword-*.abw through AbiWord.
# Needs the Debian packages libreoffice-writer-nogui and abiword. The tests
# assert what these files hold, so check them after regenerating with a
# different version of either program.
set -eu
cd "$(dirname "$0")"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# A private profile and home keep the conversion independent of the user's
# settings and of any LibreOffice instance already running.
for src in libreoffice-*.fodt; do
    soffice -env:UserInstallation="file://$work/profile" --headless \
        --convert-to rtf --outdir "$work" "$src" >/dev/null 2>&1
    mv "$work/${src%.fodt}.rtf" "${src%.fodt}.rtf"
    echo "${src%.fodt}.rtf"
done

for src in abiword-*.abw; do
    HOME="$work" abiword --to=rtf -o "${src%.abw}.rtf" "$src" >/dev/null 2>&1
    echo "${src%.abw}.rtf"
done
