#!/usr/bin/env bash
# Fetches Debian's sqlite3 source package and generates the amalgamation (sqlite3.c, sqlite3.h)
# into <build-dir>/sqlite. Runs once: a build folder that holds them needs no network again.
# apt works through a private configuration under that folder, with a deb-src entry made from
# the Debian mirror this machine is configured with; the machine's own apt setup stays as it is.
# Usage: tools/fetch-sqlite.sh <build-dir>
set -euo pipefail
build=$(mkdir -p "$1" && cd "$1" && pwd)
out=$build/sqlite
[ -f "$out/sqlite3.c" ] && [ -f "$out/sqlite3.h" ] && exit 0

# The first Debian archive in the machine's sources (one-line or deb822 form): "URI SUITE KEYRING".
mirror() {
    local file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk '$1 == "deb" {
                 i = 2; key = ""
                 if ($2 ~ /^\[/) {
                     for (; i <= NF; i++) {
                         if ($i ~ /signed-by=/) { key = $i; sub(/.*signed-by=/, "", key); sub(/\]$/, "", key) }
                         if ($i ~ /\]$/) { i++; break }
                     }
                 }
                 if ($i ~ /debian\/?$/ && $(i + 1) !~ /security|updates|backports/) {
                     print $i, $(i + 1), key; exit
                 }
             }' "$file"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk 'function flush() {
                 if (deb && uri ~ /debian\/?$/ && suite != "") { print uri, suite, key; found = 1; exit }
                 deb = 0; uri = ""; suite = ""; key = ""
             }
             /^[ \t]*$/ { flush(); next }
             /^Types:/ { deb = ($0 ~ /[ \t]deb([ \t]|$)/) }
             /^URIs:/ { uri = $2 }
             /^Suites:/ { for (i = 2; i <= NF; i++) if ($i !~ /-(security|updates|backports)$/) { suite = $i; break } }
             /^Signed-By:/ { key = $2 }
             END { if (!found) flush() }' "$file"
    done
}

read -r uri suite key < <(mirror | head -n 1) || true
if [ -z "${uri:-}" ]; then
    echo "fetch-sqlite: no Debian archive found in this machine's apt sources" >&2
    exit 1
fi

apt=$out/apt
rm -rf "$out"
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d" "$apt/prefs.d" \
         "$out/source"
: >"$apt/status"
options="[${key:+signed-by=$key}]"
[ "$options" = "[]" ] && options=""
echo "deb-src $options $uri $suite main" >"$apt/sources.list"
cat >"$apt/apt.conf" <<EOF
Dir::Etc::sourcelist "$apt/sources.list";
Dir::Etc::sourceparts "$apt/sources.list.d";
Dir::Etc::preferencesparts "$apt/prefs.d";
Dir::State::lists "$apt/lists";
Dir::State::status "$apt/status";
Dir::Cache "$apt/cache";
APT::Sandbox::User "$(id -un)";
EOF
export APT_CONFIG=$apt/apt.conf

echo "fetch-sqlite: sqlite3 source from $uri $suite"
apt-get -qq update
(cd "$out/source" && apt-get -qq source sqlite3 >/dev/null)

tree=$(find "$out/source" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
mkdir -p "$out/generate"
(cd "$out/generate" && "$tree/configure" >/dev/null && make -s sqlite3.c >/dev/null)
cp "$out/generate/sqlite3.c" "$out/generate/sqlite3.h" "$out/"
