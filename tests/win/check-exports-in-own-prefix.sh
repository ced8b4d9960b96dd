#!/usr/bin/env bash
# Every export but the restart swept by zelhost, and the three that the test
# programs leave out of their sweep and leak loop (they call into Wine's
# service manager and device manager, which under qemu-user have hung or
# crashed the 32-bit test program) looped by zelhost, in a copy of the
# prepared test prefix made for this run alone.
#   check-exports-in-own-prefix.sh BUILD_DIR
#
# 1. The sweeps, with nothing of the product running. The registry and the
#    files of the prefix are taken down before and after each: the three
#    change nothing, the others only what their texts name or what they
#    change by design (see own_effects); nothing else may differ but what
#    Wine changes by itself (see wine_noise).
# 2. A thousand rounds of the look for the server programs and services, with
#    the stand-in service running under both service names and the stand-in
#    console window shown, and of the folder check for a local folder: the
#    process may hold no more after the last round than after the first. (A
#    thousand boxes would take longer than the run's limit under qemu-user;
#    the sweep shows the folder check's boxes.)
# 3. The stop: the stand-ins are closed and stopped, the look finds nothing;
#    then a thousand rounds of both with nothing running.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env"
build=$(cd "$1" && pwd)
export WINEPREFIX=$build/throwaway-prefix-exports
[ -d "$WINEPREFIX" ] || { echo "no prefix copy $WINEPREFIX" >&2; exit 1; }
work=$build/exports-in-own-prefix
rm -rf "$work"
mkdir -p "$work/cwd"
server_pid=
cleanup() {
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

status=0
fail() { echo "exports in their own prefix: $*" >&2; status=1; }
windows_path() { echo "Z:${1//\//\\}"; }
wine64() { /usr/lib/wine/wine64 "$@" 2>/dev/null | tr -d '\r'; }
# zelhost, with its current folder in a scratch folder that must stay empty.
zelhost() {
  (cd "$work/cwd" && bash "$root/scripts/wine-run" "$build/zelhost.exe" \
    --dll "$(windows_path "$build/ZELSETUP.dll")" "$@") | tr -d '\r'
}

# A server that stays, with the prefix's services started before the program
# that calls into them (wine-run --serve says why).
serve() { bash "$root/scripts/wine-run" --serve; }

# The registry as the server writes it when it ends, one line per key and
# per value (named with its key, continuation lines joined), without the time
# stamps of keys; and every file of the prefix's drive C: ("C:/...") and of
# the scratch folder ("cwd/...") with its size and time of change.
registry_lines() {
  awk -v hive="$1" '
    /^#/ { next }
    /^\[/ { key = $0; sub(/ [0-9]+$/, "", key); print hive ": " key; next }
    /^$/ { next }
    { line = $0
      while (line ~ /\\$/ && (getline next_line) > 0) {
        sub(/^ +/, "", next_line)
        line = substr(line, 1, length(line) - 1) next_line
      }
      print hive ": " key " " line }' "$WINEPREFIX/$1.reg"
}
snapshot() {
  wineserver -k 2>/dev/null || true
  timeout -k 10 60 wineserver -w || true
  for hive in system user userdef; do
    registry_lines "$hive"
  done | sort >"$1.reg"
  {
    (cd "$WINEPREFIX/drive_c" && find . -path ./users/*/Temp -prune -o -printf 'C:/%P %s %T@\n')
    (cd "$work/cwd" && find . -printf 'cwd/%P %s %T@\n')
  } | sort >"$1.files"
}

# The lines of the first file not in the second (<) and the other way (>).
changes() { { diff "$1" "$2" || true; } | { grep '^[<>]' || true; }; }

# What Wine changes by itself in a prepared prefix whenever its services
# start: the display adapters and monitors that its graphics driver
# registers anew, and its own keys.
wine_noise() {
  grep -vE '^[<>] [a-z]+: \[(System\\\\CurrentControlSet\\\\(Control\\\\(Class|Video|DeviceClasses)|Enum)|Software\\\\Wine|Hardware)' || true
}

# A thousand rounds of the script NAME.zel, whose first round must print
# EXPECTED, and the usage lines after it.
run_rounds() {
  local name=$1 expected=$2
  zelhost --answer-boxes --rounds 1000 --script "$(windows_path "$work/$name.zel")" >"$work/$name.txt" ||
    fail "the $name rounds ended with $? (see below)"
  cat "$work/$name.txt"
  [ "$(head -"$(wc -l <<<"$expected")" "$work/$name.txt")" = "$expected" ] ||
    fail "the first $name round's results differ from:"$'\n'"$expected"
  grep -q '^after round 1000: ' "$work/$name.txt" || fail "the $name rounds did not run a thousand times"
}

# What the sweep of the other exports changes by design: the setup time
# (export 35), the old library's deletion at the next restart (31, for each
# folder text), the provider order (17 and 29), the files that relative texts
# name in the current folder, and the INI file that a text without a folder
# names in the Windows folder, as Windows' INI functions place it (32).
own_effects() {
  grep -vE '^[<>] (system: \[Software\\\\Wow6432Node\\\\Kelvaron(\\\\|\])|system: \[System\\\\CurrentControlSet\\\\Control\\\\(Session Manager\] "PendingFileRenameOperations"=|NetworkProvider\\\\Order\])|cwd/|C:/windows [0-9]|C:/windows/,,QDVNET,,,QDVNET, )' || true
}
# The three change nothing.
no_effects() { cat; }

# sweep NAME FILTER EXPORT...: the sweep of the exports, between two
# snapshots; what changed, but Wine's noise and what FILTER passes over,
# fails the run.
sweep() {
  local name=$1 filter=$2
  shift 2
  echo "== the sweep of $*"
  # The services' start-up writes to the registry: it is done before the
  # first snapshot and again before the sweep.
  serve
  snapshot "$work/$name-before"
  serve
  zelhost --sweep "$@" >"$work/$name.txt" || fail "the sweep ended with $? (see below)"
  cat "$work/$name.txt"
  grep -q "^swept $# exports with " "$work/$name.txt" || fail "the sweep did not finish"
  snapshot "$work/$name-after"
  local registry_changes file_changes
  registry_changes=$(changes "$work/$name-before.reg" "$work/$name-after.reg" | wine_noise | "$filter")
  [ -z "$registry_changes" ] || fail "the sweep changed the registry:"$'\n'"$registry_changes"
  file_changes=$(changes "$work/$name-before.files" "$work/$name-after.files" | "$filter")
  [ -z "$file_changes" ] || fail "the sweep changed files:"$'\n'"$file_changes"
}

excluded="JTSetupAreThereAnyRunningServerApps JTSetupStopRunningServerApps JTSetupValidateLocalDirectory"
# shellcheck disable=SC2086
sweep excluded no_effects $excluded
# Every other export of the public header's table but the restart.
mapfile -t others < <(sed -n 's/^ *X(\([A-Za-z_0-9]*\),.*/\1/p' "$root/include/zelsetup.h" |
  grep -vxE "JTSetupRebootComputer|${excluded// /|}")
sweep others own_effects "${others[@]}"

echo "== a thousand looks with the stand-ins running"
serve
service=$(windows_path "$build/standins/service.exe")
for name in QDVSyncServer40 QDVAlert40; do
  wine64 sc create "$name" binpath= "$service" >/dev/null
  wine64 sc start "$name" >/dev/null
done
record=$work/console.txt
/usr/lib/wine/wine64 "$build/standins/server.exe" --window "Halcyra Synchronization Server Console 4.0" \
  --record "$(windows_path "$record")" >/dev/null 2>&1 &
server_pid=$!
printf '%s\n' JTSetupAreThereAnyRunningServerApps \
  'JTSetupValidateLocalDirectory "C:\Program Files\Kelvaron\Vantorell"' >"$work/look.zel"
run_rounds look 'JTSetupAreThereAnyRunningServerApps = 1
JTSetupValidateLocalDirectory = 0'

echo "== the stop, then a thousand rounds with nothing running"
printf '%s\n' JTSetupStopRunningServerApps JTSetupAreThereAnyRunningServerApps >"$work/stop.zel"
run_rounds stop 'JTSetupStopRunningServerApps = 0
JTSetupAreThereAnyRunningServerApps = 0'
if timeout 30 tail --pid="$server_pid" -f /dev/null; then
  server_pid=
else
  fail "the stand-in console did not end"
fi
[ "$(tr -d '\r' <"$record" 2>/dev/null)" = 'close Halcyra Synchronization Server Console 4.0 posted' ] ||
  fail "the stand-in console recorded: $(cat "$record" 2>/dev/null)"
for name in QDVSyncServer40 QDVAlert40; do
  wine64 sc query "$name" | grep -q 'STOPPED' || fail "$name is not stopped: $(wine64 sc query "$name")"
done

exit $status
