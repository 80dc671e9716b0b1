#!/bin/sh
# Whether two versions of the programs draw every screen of the tour alike, pixel for pixel: builds the
# set-up and the tour of each commit, runs the tour on a new site of the same school year at the same
# pinned time, on the smallest screen a school uses, and compares the pictures byte for byte (the same
# Qt writes the same pixels into the same bytes).
#
#   tools/tour/same_pictures.sh OLD_COMMIT [NEW_COMMIT]     (NEW_COMMIT: the work tree as it is)
#
# Exit 0 when every picture is the same, 1 when one differs or is missing, 2 on wrong use.
set -eu
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "使い方: $0 OLD_COMMIT [NEW_COMMIT]" >&2; exit 2; }
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
work=$(mktemp -d)
trap 'git -C "$repo" worktree remove --force "$work/old" 2>/dev/null || true;
      git -C "$repo" worktree remove --force "$work/new" 2>/dev/null || true; rm -rf "$work"' EXIT
at=2026-04-08T09:05:03
screen="$work/screen.json"
echo '{"screens": [{"name": "small", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96}]}' >"$screen"
launcher=""
command -v ccache >/dev/null && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"

# photograph NAME SOURCE: the tour's pictures of that source tree in $work/NAME/site/screenshots.
photograph() {
    name=$1 source=$2
    # shellcheck disable=SC2086 # the launcher is two words or none
    cmake -S "$source" -B "$work/$name/build" -DCMAKE_BUILD_TYPE=Release -DPERUMINA_PCH=OFF $launcher \
        >"$work/$name.log" 2>&1
    cmake --build "$work/$name/build" -j "$(nproc)" --target PeruminaSetup PeruminaTour InboxSweep \
        >>"$work/$name.log" 2>&1 || { tail -30 "$work/$name.log" >&2; exit 1; }
    bin="$work/$name/build/bin"
    PERUMINA_ROOT="$work/$name/site" "$bin/PeruminaSetup" --root "$work/$name/site" --server DEMOSERVER \
        --admin admin --admin-password admin --school-year 2026 >>"$work/$name.log"
    QT_QPA_PLATFORM="offscreen:configfile=$screen" "$bin/PeruminaTour" --root "$work/$name/site" --at "$at" \
        >>"$work/$name.log" 2>&1 || { tail -5 "$work/$name.log" >&2; exit 1; }
}

git -C "$repo" worktree add --detach "$work/old" "$1" >/dev/null 2>&1
photograph old "$work/old"
if [ $# -eq 2 ]; then
    git -C "$repo" worktree add --detach "$work/new" "$2" >/dev/null 2>&1
    photograph new "$work/new"
else
    photograph new "$repo"
fi

status=0
count=0
for old in "$work"/old/site/screenshots/*.png; do
    picture=$(basename "$old")
    count=$((count + 1))
    if cmp -s "$old" "$work/new/site/screenshots/$picture"; then
        echo "同じ: $picture"
    else
        echo "違う: $picture"
        status=1
    fi
done
newcount=$(find "$work/new/site/screenshots" -name '*.png' | wc -l)
[ "$count" -eq "$newcount" ] || { echo "写真の数が違います: $count と $newcount"; status=1; }
[ "$count" -gt 0 ] || { echo "写真がありません"; status=1; }
[ $status -eq 0 ] && echo "$count 枚すべて同じです。"
exit $status
