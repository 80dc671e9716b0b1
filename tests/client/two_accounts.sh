#!/usr/bin/env bash
# Two pupils on one classroom computer, one after the other. The first pupil's client is ended by a
# logout's SIGTERM with its inbox copy left behind; the second pupil's client starts, and their own
# inbox is read, neither shown nor blocked by what the first left; then again with no home folder and
# no session.
# Usage: two_accounts.sh BIN_DIR TEST_BIN_DIR. Needs root (it adds two accounts and a group); skipped
# (77) where it cannot run. Removes everything it made, also on failure.
set -euo pipefail
bin=$1
testbin=$2

skip() {
  echo "SKIP: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "needs root: it adds two accounts and a group"
PATH=$PATH:/usr/sbin:/sbin
for tool in useradd groupadd setpriv flock; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

tag=$$
group=pmg$tag first=pma$tag second=pmb$tag
work=$(mktemp -d /tmp/perumina-accounts.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  for account in "$first" "$second"; do id "$account" >/dev/null 2>&1 && userdel "$account"; done
  getent group "$group" >/dev/null && groupdel "$group"
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for log in "$work"/*.log; do [ -f "$log" ] && { echo "== $log" >&2; tail -5 "$log" >&2; }; done
  exit 1
}
chmod 0711 "$work"
groupadd "$group"
for account in "$first" "$second"; do
  useradd -M -N -g "$group" -s /usr/sbin/nologin "$account"
  # The session's own runtime folder and home, as a login makes them.
  install -d -m 0700 -o "$account" -g "$group" "$work/run-$account" "$work/home-$account"
done

export ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
site=$work/site
"$bin/PeruminaSetup" --root "$site" --server STAFFROOM --role server --group "$group" --staff-group "$group" --demo \
  >"$work/setup.log" 2>&1 || fail "set-up"

# Runs a program as the account, in place of the calling (sub)shell, so that $! is the program.
as() {
  local account=$1
  shift
  exec setpriv --reuid="$account" --regid="$group" --init-groups env HOME="$work/home-$account" \
    XDG_RUNTIME_DIR="$work/run-$account" PERUMINA_ROOT="$site" "$@"
}
(as "$first" test -x "$bin/PeruminaClient") || skip "$bin is not readable by other accounts"

# The client's lock in the account's runtime folder, once the client holds it.
held_lock() {
  held_lock_in "$work/run-$1" "$2"
}
held_lock_in() {
  local folder=$1 pid=$2
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || return 1
    for lock in "$folder"/perumina-*/PeruminaClient.lock; do
      [ -f "$lock" ] && ! flock -n "$lock" true && { echo "$lock"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# The first pupil: the client runs, the login's inbox copy is taken, then the session ends.
(as "$first" "$bin/PeruminaClient") >"$work/first.log" 2>&1 &
pids+=($!)
first_pid=$!
first_lock=$(held_lock "$first" "$first_pid") || fail "the first pupil's client did not start"
first_mail=$(as "$first" "$testbin/inbox_helper" 山田太郎) || fail "the first pupil's inbox"
first_copy=$(sed -n 2p <<<"$first_mail")
[ -f "$first_copy" ] || fail "no inbox copy for the first pupil"
kill -TERM "$first_pid"
wait "$first_pid" 2>/dev/null || true
[ -f "$first_copy" ] || fail "the test needs the first pupil's copy left behind"
flock -n "$first_lock" true || fail "the first pupil's lock outlived the client"

# The second pupil: starts at once, and reads their own inbox.
(as "$second" "$bin/PeruminaClient") >"$work/second.log" 2>&1 &
pids+=($!)
second_pid=$!
held_lock "$second" "$second_pid" >/dev/null || fail "the second pupil's client did not start"
second_mail=$(as "$second" "$testbin/inbox_helper" 佐藤花子) || fail "the second pupil's inbox was blocked"
[ "$(sed -n 1p <<<"$second_mail")" = "taro 遠足のこと" ] || fail "the second pupil was shown: $second_mail"
[ "$(sed -n 1p <<<"$first_mail")" = "sensei 宿題について" ] || fail "the first pupil was shown: $first_mail"
second_copy=$(sed -n 2p <<<"$second_mail")
[ "$second_copy" != "$first_copy" ] || fail "both pupils share one inbox copy"
grep -q "宿題について" <(iconv -f CP932 -t UTF-8 "$second_copy") && fail "the second pupil's copy holds the first's mail"
kill -TERM "$second_pid"
wait "$second_pid" 2>/dev/null || true

# The second pupil again, on an account with no home folder and no session: the client makes a folder
# of the account's own in the temporary folder, holds its single-start lock there and reads the inbox.
mkdir -m 1777 "$work/tmp"
homeless() {
  exec setpriv --reuid="$second" --regid="$group" --init-groups env -i PATH="$PATH" HOME=/nonexistent \
    TMPDIR="$work/tmp" PERUMINA_ROOT="$site" QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$@"
}
own=$work/tmp/perumina-$(id -u "$second")
(homeless "$bin/PeruminaClient") >"$work/homeless.log" 2>&1 &
pids+=($!)
homeless_pid=$!
held_lock_in "$own" "$homeless_pid" >/dev/null || fail "no single-start lock without home and session"
[ "$(stat -c '%a %U' "$own")" = "700 $second" ] || fail "the account's temporary folder is not its own: $(stat -c '%a %U' "$own")"
homeless_mail=$(homeless "$testbin/inbox_helper" 佐藤花子) || fail "no inbox without home and session"
[ "$(sed -n 1p <<<"$homeless_mail")" = "taro 遠足のこと" ] || fail "without home the pupil was shown: $homeless_mail"
[[ "$(sed -n 2p <<<"$homeless_mail")" == "$own"/* ]] || fail "the inbox copy is not in the account's folder"
kill -TERM "$homeless_pid"
wait "$homeless_pid" 2>/dev/null || true
echo "two accounts on one computer: passed"
