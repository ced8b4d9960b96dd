#!/usr/bin/env bash
# The restart export for real, as one Windows version, in a copy of the
# prepared test prefix made for that run alone: Wine's ExitWindowsEx ends
# every other program of its prefix, and the shared prefix runs the other
# test programs meanwhile.
#   reboot_in_throwaway_prefix.sh --copy BUILD_DIR NAME...  one copy per name (a system,
#                                    or another run that needs a prefix of its own),
#                                    made while no program runs in the prefix
#   reboot_in_throwaway_prefix.sh BUILD_DIR SYSTEM            run, check, remove the copy
#   reboot_in_throwaway_prefix.sh --remove BUILD_DIR NAME...  remove copies left over
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env"

copy_of() { echo "$1/throwaway-prefix-$2"; }

case "$1" in
  --copy)
    build=$2; shift 2
    # The server ends only after it has written the registry to the files.
    timeout -k 10 120 wineserver -w
    for system in "$@"; do
      rm -rf "$(copy_of "$build" "$system")"
      cp -a "$WINEPREFIX" "$(copy_of "$build" "$system")"
    done
    exit 0 ;;
  --remove)
    build=$2; shift 2
    for system in "$@"; do
      rm -rf "$(copy_of "$build" "$system")"
    done
    exit 0 ;;
esac

build=$1; system=$2
export WINEPREFIX
WINEPREFIX=$(copy_of "$build" "$system")
[ -d "$WINEPREFIX" ] || { echo "no prefix copy $WINEPREFIX" >&2; exit 1; }
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

status=0
ZEL_THROWAWAY_PREFIX=1 bash "$root/scripts/wine-run" "$build/win_tests_$system.exe" --zel-system="$system" \
  --gtest_filter='RebootComputerExport.*' || status=$?
# Ending the server writes the registry to user.reg.
wineserver -k 2>/dev/null || true
timeout -k 10 60 wineserver -w || true

folder=$WINEPREFIX/drive_c/halcyra-reboot
fail() { echo "reboot as $system: $*" >&2; status=1; }

if [ "$system" = nt40 ]; then
  closing='NT4ServicePack6OrGreater InitiateSystemShutdown REBOOT'
else
  closing='ExitWindowsEx(EWX_REBOOT)'
fi
# What the test left on purpose; a test that did not run leaves nothing.
ring=$( { tr -d '\r' <"$folder/QDVPRIME.INI"; } 2>/dev/null || true)
grep -qx 'LastLine=2' <<<"$ring" || fail "the ring's LastLine is not 2: $ring"
grep -qxE '001=\[[^]]+\] EWX_REBOOT' <<<"$ring" || fail "line 001 is not EWX_REBOOT: $ring"
grep -qxF "002=$(sed -n 's/^002=\(\[[^]]*\] \).*/\1/p' <<<"$ring")$closing" <<<"$ring" ||
  fail "line 002 is not $closing: $ring"

[ "$(cat "$folder/agent.txt" 2>/dev/null)" = $'WM_CLOSE\r' ] || fail "the agent recorded: $(cat "$folder/agent.txt" 2>/dev/null)"

marker=$(awk '/^\[Software\\\\Kelvaron\\\\Vantorell\\\\Reserved\]/ { inside = 1; next }
              /^\[/ { inside = 0 }
              inside && /^"ExitWindows"=/ { print }' "$WINEPREFIX/user.reg")
[ "$marker" = '"ExitWindows"=dword:00000001' ] || fail "the marker under HKEY_CURRENT_USER is: $marker"

exit $status
