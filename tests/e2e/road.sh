#!/usr/bin/env bash
# The road of one mail, walked with the real programs on a real X server (Xvfb), typed and pressed
# on the keyboard as a person would, on one temporary site:
#   two pupils register (each registration ends the client), A logs in and sends B a mail, B logs in
#   and opens the reader, the administrator sees the mail in the console's log, and a board starts
#   from the client's menu and from the console.
# What a window shows inside cannot be read from outside, so every step is checked through the files
# the programs write and through the windows and processes that X and /proc show.
#
# Usage: road.sh BIN_DIR [SCREENSHOT_DIR]
#   BIN_DIR         the folder of the built programs (PeruminaSetup, PeruminaClient, ...)
#   SCREENSHOT_DIR  where to put a picture of the screen at each step (needs ImageMagick's import)
# Exit code 77 means skipped (Xvfb, xauth or xdotool missing).
set -euo pipefail

readonly SKIP=77
bin=$(cd "${1:?usage: road.sh BIN_DIR [SCREENSHOT_DIR]}" && pwd)
shots=${2:-}

for tool in Xvfb xauth xdotool iconv; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed; the end-to-end road needs Xvfb, xauth and xdotool" \
      "(apt-get install xvfb xauth xdotool)."
    exit $SKIP
  fi
done
for program in PeruminaSetup PeruminaClient PeruminaAdmin InboxSweep DayBoardC DayBoardS; do
  [ -x "$bin/$program" ] || { echo "FAIL: $bin/$program is not built" >&2; exit 1; }
done

# The programs must show their windows on this road's X server, also when the tests around it run
# without a display.
unset QT_QPA_PLATFORM

work=$(mktemp -d "${TMPDIR:-/tmp}/perumina-road.XXXXXX")
site=$work/site
logs=$work/logs
mkdir -p "$logs"
mkdir -m 700 "$work/runtime"
readonly SERVER=ROADSERVER
readonly CLIENT_CAPTION='グループウェア　（ぺる・み・な）'
readonly ADMIN_CAPTION='ぺる・み・な（管理用）'
share=$site/unc/$SERVER/ぺるみな
data=$share/管理データ
xvfb_pid=
started=0

# ---------------------------------------------------------------------------------------------
# Reporting, waiting, cleaning up

step() { printf '== %s\n' "$*"; }

show_logs() {
  local f
  for f in "$logs"/*; do
    [ -s "$f" ] || continue
    printf -- '--- %s\n' "${f##*/}" >&2
    tail -n 40 "$f" >&2
  done
}

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  shot failure || true
  show_logs
  exit 1
}

now_ms() { date +%s%3N; }

# wait_for SECONDS WHAT COMMAND...: runs COMMAND until it succeeds, failing after SECONDS.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local deadline=$(($(now_ms) + limit * 1000))
  until "$@"; do
    (($(now_ms) < deadline)) || fail "waited ${limit} s in vain for $what"
    sleep 0.05
  done
}

# Every process that runs on this test's site: the programs started here and the ones they started
# themselves (boards, the sweeper), which live on detached from us.
site_pids() {
  local p
  for p in /proc/[0-9]*; do
    if tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "PERUMINA_ROOT=$site"; then
      echo "${p#/proc/}"
    fi
  done
}

none_left() { [ -z "$(site_pids)" ]; }

cleanup() {
  local rc=$?
  trap - EXIT
  if [ "$started" = 1 ]; then
    local pids
    pids=$(site_pids)
    if [ -n "$pids" ]; then
      # shellcheck disable=SC2086
      kill $pids 2>/dev/null || true
      local deadline=$(($(now_ms) + 5000))
      while ! none_left && (($(now_ms) < deadline)); do sleep 0.05; done
      pids=$(site_pids)
      # shellcheck disable=SC2086
      [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
    fi
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [ -n "${PERUMINA_E2E_KEEP:-}" ]; then
    echo "kept: $work"
  else
    rm -rf "$work"
  fi
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

shot_number=0
[ -z "$shots" ] || rm -f "$shots"/*.png
# shot NAME: a picture of the whole screen, when a folder for them was given and import exists.
shot() {
  [ -n "$shots" ] && [ -n "${DISPLAY:-}" ] && command -v import >/dev/null || return 0
  shot_number=$((shot_number + 1))
  mkdir -p "$shots"
  import -window root "$shots/$(printf '%02d' "$shot_number")-$1.png" 2>/dev/null || true
}

# ---------------------------------------------------------------------------------------------
# Programs, windows and keys

# start_program NAME: starts a program of BIN_DIR on the site; its pid goes to $pid.
start_program() {
  PERUMINA_ROOT=$site ASAN_OPTIONS=detect_leaks=0 XDG_RUNTIME_DIR=$work/runtime "$bin/$1" >>"$logs/$1.log" 2>&1 &
  pid=$!
}

running() { [ -d "/proc/$1" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null; }

# await_end PID WHAT: waits until the program ends by itself and checks that it ended well.
await_end() {
  wait_for 20 "$2 to end" eval "! running $1"
  local rc=0
  wait "$1" || rc=$?
  [ "$rc" = 0 ] || fail "$2 ended with exit code $rc"
}

regex_quote() { printf '%s' "$1" | sed 's/[][\\.*^$(){}?+|/]/\\&/g'; }

# windows_of PID CAPTION: the visible windows of the process with exactly that caption.
windows_of() {
  xdotool search --all --onlyvisible --pid "$1" --name "^$(regex_quote "$2")\$" 2>/dev/null || true
}

# find_window PID CAPTION [EXCEPT]: the first such window other than EXCEPT goes to $window; a
# program that ended meanwhile fails the test at once.
find_window() {
  local w
  running "$1" || fail "the program (pid $1) ended while a window \"$2\" was awaited"
  for w in $(windows_of "$1" "$2"); do
    if [ "$w" != "${3:-}" ]; then
      window=$w
      return 0
    fi
  done
  return 1
}

# await_window PID CAPTION WHAT [EXCEPT]: waits for a window; one screen of a program replaces
# another with the same caption, so EXCEPT names the screen that has to go.
await_window() {
  wait_for 20 "$3" find_window "$1" "$2" "${4:-}"
  if [ -n "${4:-}" ]; then
    wait_for 10 "the previous screen to go" window_gone "$1" "$2" "$4"
  fi
}

window_gone() { ! windows_of "$1" "$2" | grep -qx "$3"; }

# Keys go where a person's would: to the focused control of the window in front.
focus() { timeout 10 xdotool windowfocus --sync "$1" || fail "window $1 did not take the focus"; }
keys() { timeout 20 xdotool key --delay 30 "$@" || fail "the keys $* could not be pressed"; }
type_text() { timeout 20 xdotool type --delay 30 -- "$1" || fail "\"$1\" could not be typed"; }

# answer_message PID TITLE: a message box of the program comes up; its OK is pressed with Return.
answer_message() {
  await_window "$1" "$2" "a message box of $2"
  local box=$window
  focus "$box"
  keys Return
  wait_for 10 "the message box to close" window_gone "$1" "$2" "$box"
}

# ---------------------------------------------------------------------------------------------
# Files

# expect_file PATH TEXT WHAT: the file holds exactly TEXT (printf escapes such as \r\n) in code
# page 932.
expect_file() {
  [ -f "$1" ] || fail "$3: $1 is missing"
  printf '%b' "$2" | iconv -f UTF-8 -t CP932 >"$work/expected"
  if ! cmp -s "$work/expected" "$1"; then
    echo "expected:" >&2
    od -c "$work/expected" | head -20 >&2
    echo "found:" >&2
    od -c "$1" | head -20 >&2
    fail "$3: $1 is not as expected"
  fi
}

# ---------------------------------------------------------------------------------------------
# The people of the road

# Typed text stays within the keyboard map: xdotool types any other character by rebinding a spare
# key for a moment, and a program that reads the map a moment later loses or doubles the character.
# Japanese in the files is the business of the screen tests, which set text directly.
readonly A_USER=hanako A_NAME='Yamada Hanako' A_PASS=hana123
readonly B_USER=jiro B_NAME='Suzuki Jiro' B_PASS=jiro456
readonly MAIL_TITLE='Ensoku no oshirase' MAIL_LINE1='Ashita wa ensoku desu.' MAIL_LINE2='Obento wo motte kite ne!'

# register USER FULLNAME PASSWORD: one start of the client that registers one pupil; the
# registration ends the program.
register() {
  step "registration of $1 ($2)"
  start_program PeruminaClient
  local client=$pid
  await_window "$client" "$CLIENT_CAPTION" "the welcome screen"
  local welcome=$window
  shot "welcome-$1"
  # "いいえ　　登録済みです" has the focus when the screen opens (Enter logs in); Shift+Tab moves it
  # back to "はい　　新規登録します", which Enter presses.
  focus "$welcome"
  keys shift+Tab Return
  await_window "$client" "$CLIENT_CAPTION" "the registration screen" "$welcome"
  local registration=$window
  focus "$registration"
  # The tab of the registered people is in front; the tab bar has the focus, and the tab to its
  # left is the one to register with.
  keys Left Tab
  type_text "$1"
  keys Tab
  type_text "$2"
  keys Tab
  type_text "$3"
  shot "registration-$1"
  keys Return
  answer_message "$client" PeruminaClient
  await_end "$client" "the client after registering $1"
}

# login USER PASSWORD: starts the client and logs in; the client's pid goes to $client and the
# main menu's window to $menu. Message boxes that come up on the way (the reader's notice about an
# empty inbox) are answered.
login() {
  step "login of $1"
  start_program PeruminaClient
  client=$pid
  await_window "$client" "$CLIENT_CAPTION" "the welcome screen"
  local welcome=$window
  # The focus starts on "いいえ　　登録済みです", so Enter logs in.
  focus "$welcome"
  keys Return
  await_window "$client" "$CLIENT_CAPTION" "the login screen" "$welcome"
  local form=$window
  focus "$form"
  type_text "$1"
  keys Tab
  type_text "$2"
  shot "login-$1"
  keys Return
  wait_for 20 "the main menu of $1" menu_or_message "$form"
  menu=$window
  shot "menu-$1"
}

# await_board NAME: the board program NAME of BIN_DIR, started by another program on this site,
# comes up: it asks to wait with a message box, then shows its window. Its pid goes to $board and
# its window to $board_window.
await_board() {
  wait_for 20 "$1 to start" find_board "$1"
  answer_message "$board" "$1"
  await_window "$board" "$2" "the window of $1"
  board_window=$window
}

find_board() {
  local p
  for p in $(site_pids); do
    if [ "$(readlink "/proc/$p/exe" 2>/dev/null)" = "$bin/$1" ]; then
      board=$p
      return 0
    fi
  done
  return 1
}

# close_board NAME TABS: the board's close button is TABS presses of Tab away from the control
# that has the focus when the window opens; the board asks to wait once more and ends.
close_board() {
  local name=$1 tabs=$2
  focus "$board_window"
  local i
  for ((i = 0; i < tabs; i++)); do keys Tab; done
  keys space
  answer_message "$board" "$name"
  wait_for 20 "$name to end" eval "! running $board"
}

# check_delivery: the mail stands once in the log, with the recipient, and at the top of B's inbox,
# without; both with the same date and time, the body's two lines inside one pair of quotes.
check_delivery() {
  local log=$data/管理用/メッセージ一覧.txt stamp
  [ -f "$log" ] || fail "no message log after sending"
  stamp=$(iconv -f CP932 -t UTF-8 "$log" | sed -n '1s/^"\([^"]*\)","\([^"]*\)".*/\1 \2/p')
  local day=${stamp% *} time=${stamp#* }
  [[ $day =~ ^[0-9]{4}/[0-9]{2}/[0-9]{2}$ && $time =~ ^[0-9]{1,2}:[0-9]{2}:[0-9]{2}$ ]] ||
    fail "the message log does not begin with a date and a time: $stamp"
  [[ $day == "$sent_on" || $day == "$(date +%Y/%m/%d)" ]] || fail "the mail is dated $day"
  local body="$MAIL_LINE1\r\n$MAIL_LINE2"
  expect_file "$log" "\"$day\",\"$time\",\"$A_USER\",\"$B_NAME\",\"$MAIL_TITLE\",\"$body\"\r\n" \
    "the message log"
  expect_file "$data/$B_NAME/受信箱.txt" "\"$day\",\"$time\",\"$A_USER\",\"$MAIL_TITLE\",\"$body\"\r\n\r\n" \
    "B's inbox"
  cmp -s "$share/受信箱.txt" "$data/$A_NAME/受信箱.txt" || fail "A's own inbox changed"
}

menu_or_message() {
  if find_window "$client" PeruminaClient; then
    step "a message came up during the login; answered with Enter"
    shot message-at-login
    local box=$window
    focus "$box"
    keys Return
    wait_for 10 "the message box to close" window_gone "$client" PeruminaClient "$box"
    return 1
  fi
  find_window "$client" "$CLIENT_CAPTION" "$1"
}

# ---------------------------------------------------------------------------------------------
# The road

step "X server"
# A display number is free when no server holds its lock file, its socket file or its abstract
# socket; the abstract socket namespace may be shared with other machines' containers, and a
# client that reached another server there would type into someone else's windows. So a server
# that could not open all its sockets is given up for the next number.
display_free() {
  [ ! -e "/tmp/.X$1-lock" ] && [ ! -e "/tmp/.X11-unix/X$1" ] &&
    ! grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}
xvfb_ready() { [ -s "$work/display" ] || ! running "$xvfb_pid"; }
# Only clients that hold this run's cookie are let in.
export XAUTHORITY=$work/Xauthority
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
first=$((50 + $$ % 100))
for ((n = first; n < first + 20; n++)); do
  display_free "$n" || continue
  : >"$work/display"
  xauth -q add ":$n" . "$cookie" || fail "xauth could not write $XAUTHORITY"
  Xvfb ":$n" -auth "$XAUTHORITY" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$logs/Xvfb.log" &
  xvfb_pid=$!
  wait_for 10 "Xvfb to start on :$n" xvfb_ready
  if running "$xvfb_pid" && ! grep -q 'failed\|already running' "$logs/Xvfb.log"; then
    break
  fi
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
done
[ -n "$xvfb_pid" ] || fail "no free display for Xvfb"
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
# The programs must draw on this server, also when ctest runs with the offscreen platform.
unset QT_QPA_PLATFORM
started=1
echo "display $DISPLAY"
# The server may announce its number a moment before it takes clients.
wait_for 10 "the X server to take clients" eval "xdotool getmouselocation >/dev/null 2>&1"

step "site"
# Board data for the school year (from April) that holds today.
month=$(date +%-m)
school_year=$(date +%Y)
((month >= 4)) || school_year=$((school_year - 1))
"$bin/PeruminaSetup" --root "$site" --server "$SERVER" --admin admin --admin-password admin \
  --school-year "$school_year" >"$logs/PeruminaSetup.log" 2>&1 || fail "PeruminaSetup failed"
[ -d "$data" ] || fail "the site has no data folder $data"
readonly BOARD_FILES=(日付取得.txt 行事予定.txt 給食予定.txt 年月取得.txt 月別行事.txt)
mkdir -p "$work/boards-before"
for f in "${BOARD_FILES[@]}"; do
  cp "$data/$f" "$work/boards-before/" || fail "the site has no board data $f"
done

register "$A_USER" "$A_NAME" "$A_PASS"
register "$B_USER" "$B_NAME" "$B_PASS"

step "registry files and folders after two registrations"
expect_file "$data/登録者一覧.txt" "\"$A_NAME\"\r\n\"$B_NAME\"\r\n" "the list of registered people"
expect_file "$data/認証情報.txt" "\"$A_USER$A_PASS\"\r\n\"$B_USER$B_PASS\"\r\n" "the credentials"
expect_file "$data/管理情報.txt" \
  "\"$A_USER,$A_NAME,$A_PASS\"\r\n\"$B_USER,$B_NAME,$B_PASS\"\r\n" "the administration records"
expect_file "$data/ユーザー名.txt" "\"$A_USER\"\r\n\"$B_USER\"\r\n" "the user names"
for name in "$A_NAME" "$B_NAME"; do
  [ -d "$data/管理用/$name" ] || fail "no administration copy folder for $name"
  cmp -s "$share/受信箱.txt" "$data/$name/受信箱.txt" || fail "$name has no fresh inbox"
done

login "$A_USER" "$A_PASS"
step "A writes B a mail"
# "送る" is chosen when the menu opens, and Enter presses 次へ.
focus "$menu"
keys Return
await_window "$client" "$CLIENT_CAPTION" "the mail screen" "$menu"
compose=$window
focus "$compose"
# The list of recipients has the focus; B, registered last, stands at its end. Tab then walks the
# recipient and the sender to the title, and on to the body.
keys End Tab Tab Tab
type_text "$MAIL_TITLE"
keys Tab
type_text "$MAIL_LINE1"
keys shift+Return
type_text "$MAIL_LINE2"
shot compose
sent_on=$(date +%Y/%m/%d)
keys Return
answer_message "$client" PeruminaClient
check_delivery

step "A goes back to the menu and opens today's schedule"
# From the body, Tab walks 送信, 全消去, 描く, 見る, 読む, 終了 to ようこそへ戻る.
focus "$compose"
keys Tab Tab Tab Tab Tab Tab Tab space
await_window "$client" "$CLIENT_CAPTION" "the main menu again" "$compose"
[ "$window" = "$menu" ] || fail "ようこそへ戻る led to another screen than the main menu"
# "今日の予定を確認する" lies two choices below "送る".
focus "$menu"
keys Down Down Return
await_board DayBoardC "$CLIENT_CAPTION"
shot board-from-menu
find_window "$client" "$CLIENT_CAPTION" || fail "the main menu went away when the board started"
[ "$window" = "$menu" ] || fail "another client screen than the menu is shown after starting a board"
step "the classroom board closes with ようこそへ戻る"
close_board DayBoardC 7
step "A leaves from the main menu with 終了"
# From the selected choice, Tab walks 次へ, 戻る, 終了.
focus "$menu"
keys Tab Tab Tab space
await_end "$client" "the client of $A_USER"

login "$B_USER" "$B_PASS"
step "the login copied B's inbox to this computer"
# The copy lies in the person's own runtime folder, one folder per site.
inbox_copy=$(printf '%s' "$work"/runtime/perumina-*/)受信箱.txt
cmp -s "$data/$B_NAME/受信箱.txt" "$inbox_copy" ||
  fail "the local copy of the inbox is not B's inbox"
step "B opens the reader"
# "開く" stands right of "送る".
focus "$menu"
keys Right Return
await_window "$client" "$CLIENT_CAPTION" "the mail reader" "$menu"
reader=$window
shot reader
step "B leaves the reader with 終了"
# Going back from the first field: 返信, ようこそへ戻る, then 終了.
focus "$reader"
keys shift+Tab shift+Tab shift+Tab space
await_end "$client" "the client of $B_USER"
wait_for 10 "the sweeper to delete the local copy of the inbox" test ! -e "$inbox_copy"

step "administration program"
start_program PeruminaAdmin
admin=$pid
await_window "$admin" "$ADMIN_CAPTION" "the administrator login"
admin_login=$window
focus "$admin_login"
type_text admin
keys Tab
type_text admin
shot admin-login
keys Return
await_window "$admin" "$ADMIN_CAPTION" "the administrator console" "$admin_login"
console=$window
shot console
step "the administrator opens today's schedule from the console"
# The focus starts on 戻る; Tab walks 終了, the mail log, the users, the folders, the pictures and
# then "今日の予定を確認・変更する".
focus "$console"
keys Tab Tab Tab Tab Tab Tab space
await_board DayBoardS 今日の日程
shot board-from-console
step "the administrator's board closes with 閉じる"
close_board DayBoardS 8
step "the console ends with 終了"
focus "$console"
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
await_end "$admin" "the administration program"

step "board data after looking at it"
# Boards that only showed a day save nothing: the files are as the set-up wrote them.
for f in "${BOARD_FILES[@]}"; do
  cmp -s "$work/boards-before/$f" "$data/$f" || fail "$f changed although no board wrote to it"
done

wait_for 10 "every program of the site to end" none_left
step "sanitizer reports"
# The boards and the sweeper write into the log of the program that started them.
if grep -l -E 'ERROR: AddressSanitizer|runtime error:' "$logs"/*.log; then
  fail "a program reported a fault of its own"
fi
step "passed"
