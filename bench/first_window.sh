#!/usr/bin/env bash
# Prints each program's time from its start to its first visible window, next to a bare Qt window's,
# all in one private Xvfb and on one demonstration site. Run by hand:
#   bench/first_window.sh [BUILD_DIR] [RUNS]      (default build-demo, 5 runs; the median is printed)
# Needs xvfb, xauth and xdotool.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-demo}
runs=${2:-5}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install xvfb xdotool)" >&2; exit 2; }
done
cmake --build "$build" --target BareWindow PeruminaSetup PeruminaClient PeruminaAdmin DayBoardS DayBoardC \
  LunchBoardS LunchBoardC MonthBoardS MonthBoardC InboxSweep >/dev/null

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export PERUMINA_ROOT="$work/site"
"$build/bin/PeruminaSetup" --root "$PERUMINA_ROOT" --server BENCH --admin admin --admin-password admin --demo \
  >/dev/null 2>&1

# A display number nobody uses.
display=$((90 + RANDOM % 100))
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.05; done

# Milliseconds from the start of PROGRAM until a window of its process is visible.
first_window_ms() {
  local program=$1 start pid now
  start=$(date +%s%N)
  "$build/bin/$program" >/dev/null 2>&1 &
  pid=$!
  while ! xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "-1"
      return
    fi
    sleep 0.005
  done
  now=$(date +%s%N)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo $(((now - start) / 1000000))
}

median() { tr ' ' '\n' | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

echo "load: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores, $build, median of $runs runs"
printf '%-16s %8s %8s\n' program ms ratio
bare=
for program in BareWindow PeruminaClient PeruminaAdmin DayBoardS DayBoardC LunchBoardS LunchBoardC MonthBoardS \
               MonthBoardC; do
  times=()
  for _ in $(seq "$runs"); do times+=("$(first_window_ms "$program")"); done
  ms=$(echo "${times[*]}" | median)
  [ -z "$bare" ] && bare=$ms
  printf '%-16s %8s %8s\n' "$program" "$ms" "$(awk -v a="$ms" -v b="$bare" 'BEGIN {printf "%.2f", a / b}')"
done
