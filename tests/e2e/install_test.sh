#!/usr/bin/env bash
# The Linux install tree: programs in bin/, the plug-in and its libraries in
# lib/vexa/; the installed host finds the plug-in and acquires with it.
# usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/vexa-host bin/vexa-sim lib/vexa/libVexa64.so lib/vexa/nvrtcoretypes-64-1.so lib/vexa/libvexaoleaut.so; do
  [[ -f "$prefix/$f" ]] || { echo "FAIL: the install lacks $f" >&2; exit 1; }
done
cd "$prefix"
bin/vexa-host check >/dev/null
bin/vexa-host acquire --duration 1 --out run.csv >/dev/null
(( $(wc -l <run.csv) > 1 )) || { echo "FAIL: the installed host recorded nothing" >&2; exit 1; }
echo "install: the installed host loads lib/vexa/libVexa64.so and acquires"
