#!/usr/bin/env bash
# Times `./perumina demo` as a person first runs it: a fresh clone of the committed tree in a temporary
# folder, no compiler cache, no display (so the demo builds the set-up and the tour, makes the site and
# runs the tour). The Debian packages must already be installed. Run by hand:
#   bench/demo_time.sh [COMMIT]      (default HEAD)
# Prints the wall-clock time of the whole command and of its build, the CPU time, and the load.
# Times taken while other builds run on the machine are longer: compare the load figures.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
commit=${1:-HEAD}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

git clone -q --no-hardlinks "$here" "$work/perumina"
git -C "$work/perumina" checkout -q --detach "$commit"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
export CCACHE_DISABLE=1

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
start=$(date +%s.%N)
# Each line of the demo's output with the time it came, to tell the build from the rest.
stamp() { while IFS= read -r line; do printf '%s %s\n' "$(date +%s.%N)" "$line"; done; }
TIMEFORMAT='%R %U %S'
{ time (cd "$work/perumina" && ./perumina demo 2>&1 | stamp >"$work/demo.log"); } 2>"$work/time" || true
read -r wall user sys <"$work/time"
if ! grep -q '画面の写真:' "$work/demo.log"; then
  echo "./perumina demo failed:" >&2
  tail -30 "$work/demo.log" >&2
  exit 1
fi
built=$(grep -E '^[0-9.]+ \[ *[0-9]+%\]' "$work/demo.log" | tail -1 | cut -d' ' -f1)
pictures=$(find "$work/perumina/demo-site/screenshots" -name '*.png' | wc -l)

echo "commit:       $(git -C "$work/perumina" log -1 --format='%h %s' | cut -c1-80)"
echo "machine:      $(nproc) cores; load before $load_before, after $(cut -d' ' -f1-3 /proc/loadavg)"
printf 'demo total:   %6.1f s wall, %6.1f s CPU (user %.1f + system %.1f)\n' "$wall" \
  "$(awk -v u="$user" -v s="$sys" 'BEGIN {print u + s}')" "$user" "$sys"
printf 'of it build:  %6.1f s wall\n' "$(awk -v a="$built" -v b="$start" 'BEGIN {print a - b}')"
echo "screenshots:  $pictures"
