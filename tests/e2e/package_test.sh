#!/usr/bin/env bash
# The folder a Windows user receives, as the user gets it: installed into a
# fresh folder, registered with its own script, the plug-in created by the
# reference host from the registry (CoCreateInstance) for an acquisition,
# then unregistered. Per-user registration is compared key by key.
#
# Two things of wine 8 shape what this can check:
# - CoCreateInstance does not look up classes registered only under HKCU
#   (it answers 0x80040154 for them), so creation from the registry is
#   checked with the machine-wide registration only;
# - its per-user type library registration writes machine-wide
#   (HKLM\Software\Classes\TypeLib), so the type library is left out of the
#   per-user comparison.
#
# usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true

fail() { echo "FAIL: $*" >&2; exit 1; }
folder="$work/Vexa"
cmake --install "$build" --prefix "$folder" >/dev/null
for f in Vexa64.dll nvrtcoretypes-64-1.dll vexa-host.exe vexa-sim.exe register.cmd unregister.cmd README.txt; do
  [[ -f "$folder/$f" ]] || fail "the package lacks $f"
done

clsid='{5802E1F1-47A4-4A22-BB43-267C65EE2830}'
keys=("Software\\Classes\\CLSID\\$clsid" "Software\\Classes\\CLSID\\$clsid\\InprocServer32"
      "Software\\Nerova\\Plugins\\VexaPlugin")
# Every key and value the registration owns under a root, one line each.
snapshot() {
  local root=$1 key out
  for key in "${keys[@]}"; do
    # A missing key is reported on stdout with status 1: it lists nothing.
    out=$(wine reg query "$root\\$key" 2>/dev/null) || continue
    tr -d '\r' <<<"$out" | sed -e '/^$/d' -e "s/^/$root: /"
  done
}
run() { (cd "$folder" && wine cmd /c "$@" 2>&1 | tr -d '\r'); }

before_hklm=$(snapshot HKLM); before_hkcu=$(snapshot HKCU)
[[ -z "$before_hklm$before_hkcu" ]] || fail "a fresh prefix already holds the plug-in's keys"

# Machine-wide.
run register.cmd | grep -q "registered" || fail "register.cmd did not register"
hklm=$(snapshot HKLM)
grep -qi "InprocServer32" <<<"$hklm" || fail "no class key under HKLM after register.cmd"
grep -q "Vexa64.dll" <<<"$hklm" || fail "the class does not name the module: $hklm"
[[ -z "$(snapshot HKCU)" ]] || fail "machine-wide registration wrote under HKCU"

(cd "$folder" && wine vexa-host.exe acquire --registered --duration 1 --out "$work/run.csv" 2>&1 | tr -d '\r') \
  >"$work/acquire.txt" || fail "acquisition through CoCreateInstance failed: $(cat "$work/acquire.txt")"
(( $(wc -l <"$work/run.csv") > 1 )) || fail "the acquisition recorded nothing"

run unregister.cmd | grep -q "unregistered" || fail "unregister.cmd did not unregister"
[[ "$(snapshot HKLM)" == "$before_hklm" ]] || fail "machine-wide keys left behind: $(snapshot HKLM)"
if (cd "$folder" && wine vexa-host.exe check --registered >"$work/check.txt" 2>&1); then
  fail "the plug-in can still be created after unregistering"
fi
grep -qi "class not registered\|80040154" "$work/check.txt" || fail "creation failed otherwise: $(cat "$work/check.txt")"

# Per user.
run register.cmd user | grep -q "registered" || fail "register.cmd user did not register"
hkcu=$(snapshot HKCU)
grep -qi "InprocServer32" <<<"$hkcu" || fail "no class key under HKCU after register.cmd user"
[[ "$(snapshot HKLM)" == "$before_hklm" ]] || fail "per-user registration wrote the class or plug-in keys under HKLM"
run unregister.cmd user | grep -q "unregistered" || fail "unregister.cmd user did not unregister"
[[ "$(snapshot HKCU)" == "$before_hkcu" ]] || fail "per-user keys left behind: $(snapshot HKCU)"
echo "package: installed, registered, created from the registry, unregistered (machine-wide and per user)"
