#!/usr/bin/env bash
# The staff-room server as a school runs it: PeruminaSetup --role server makes the share and its Samba
# definition; a private smbd (127.0.0.1, its own port and folders) serves it; a pupil's account reaches
# it through smbclient, and the programs themselves write the same folder under a pupil's and a
# teacher's account with a tight umask.
# Usage: samba_share.sh BIN_DIR TEST_BIN_DIR. Needs root (it adds accounts and groups and starts smbd);
# skipped (77) where it cannot run. Removes everything it made, also on failure.
set -euo pipefail
bin=$1
testbin=$2
port=${PERUMINA_SMB_PORT:-14450}

skip() {
  echo "SKIP: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "needs root: it adds two accounts and two groups and starts smbd"
PATH=$PATH:/usr/sbin:/sbin
for tool in smbd smbclient smbpasswd useradd groupadd iconv runuser; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (Debian packages samba, smbclient)"
done
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  skip "port $port is taken (set PERUMINA_SMB_PORT)"
fi

started=$(date +%s%N)
tag=$$
pupils=pmt$tag staff=pms$tag pupil=pmp$tag teacher=pmk$tag
work=$(mktemp -d /tmp/perumina-smb.XXXXXX)
smbd_pid=
cleanup() {
  [ -n "$smbd_pid" ] && kill "$smbd_pid" 2>/dev/null && wait "$smbd_pid" 2>/dev/null || true
  for account in "$pupil" "$teacher"; do id "$account" >/dev/null 2>&1 && userdel "$account"; done
  for group in "$pupils" "$staff"; do getent group "$group" >/dev/null && groupdel "$group"; done
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/smbd.log" ] && tail -20 "$work/smbd.log" >&2
  exit 1
}
chmod 0711 "$work" # smbd acts as the pupil on the way to the share

groupadd "$pupils"
groupadd "$staff"
useradd -M -N -g "$pupils" -s /usr/sbin/nologin "$pupil"
useradd -M -N -g "$pupils" -G "$staff" -s /usr/sbin/nologin "$teacher"

export ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
site=$work/site
# Samba's own configuration, without the share: the set-up adds the include line and checks it all.
cat >"$work/smb.conf" <<EOF
[global]
   smb ports = $port
   interfaces = 127.0.0.1
   bind interfaces only = yes
   disable netbios = yes
   server role = standalone server
   dos charset = CP932
   private dir = $work/private
   lock directory = $work/lock
   state directory = $work/state
   cache directory = $work/cache
   pid directory = $work/pid
   ncalrpc dir = $work/ncalrpc
   passdb backend = tdbsam:$work/private/passdb.tdb
   log file = $work/smbd.log
   load printers = no
   printing = bsd
   printcap name = /dev/null
   disable spoolss = yes
EOF
mkdir -p "$work"/{private,lock,state,cache,pid,ncalrpc}
"$bin/PeruminaSetup" --root "$site" --server STAFFROOM --role server --group "$pupils" --staff-group "$staff" \
  --smb-conf "$work/smb.conf" --admin admin --admin-password secret >"$work/setup.log" 2>&1 ||
  { cat "$work/setup.log"; fail "set-up"; }
[ "$(grep -c "^   include = $site/perumina-smb.conf\$" "$work/smb.conf")" = 1 ] || fail "include line: $(cat "$work/smb.conf")"
share=$site/unc/STAFFROOM/ぺるみな
data=$share/管理データ

# The programs on the local path of the share: a pupil registers with umask 077, then a teacher's
# registration appends to the same files and makes folders beside the pupil's.
as() {
  local account=$1
  shift
  runuser -u "$account" -- env PERUMINA_ROOT="$site" sh -c 'umask 077; exec "$@"' sh "$@"
}
runuser -u "$pupil" -- test -x "$testbin/register_helper" || skip "$testbin is not readable by other accounts"
as "$pupil" "$testbin/register_helper" taro 山田太郎 taro123 || fail "pupil's registration"
as "$teacher" "$testbin/register_helper" sensei 田中先生 tanaka1 || fail "teacher's registration after the pupil's"
[ "$(stat -c '%a %G' "$data/山田太郎")" = "2770 $pupils" ] || fail "pupil's folder: $(stat -c '%a %G' "$data/山田太郎")"
[ "$(stat -c '%a' "$data/山田太郎/受信箱.txt")" = 660 ] || fail "pupil's inbox is not group-writable"

for account in "$pupil" "$teacher"; do
  printf 'pw%s\npw%s\n' "$account" "$account" | smbpasswd -c "$work/smb.conf" -a -s "$account" >/dev/null
done
smbd --foreground -s "$work/smb.conf" >>"$work/smbd.log" 2>&1 &
smbd_pid=$!
for n in $(seq 101); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  kill -0 "$smbd_pid" 2>/dev/null && [ "$n" -le 100 ] ||
    skip "smbd could not start here: $(tail -1 "$work/smbd.log")"
  sleep 0.1
done

smb() {
  local account=$1
  shift
  (cd "$work" && smbclient "//127.0.0.1/ぺるみな" -p "$port" -s "$work/smb.conf" -U "$account%pw$account" -c "$*" 2>&1)
}

# The Japanese names as the pupil sees them.
listing=$(smb "$pupil" 'cd 管理データ; ls') || fail "listing as the pupil: $listing"
for name in 登録者一覧.txt 管理情報.txt 山田太郎 田中先生 管理用; do
  grep -q " $name " <<<"$listing" || fail "listing lacks $name: $listing"
done
grep -q " 管理者情報.txt " <<<"$listing" && fail "the administrator file is listed over the share: $listing"

# A registry file read in code page 932 with CR LF, as the programs wrote it.
smb "$pupil" 'get 管理データ\登録者一覧.txt names.txt' >/dev/null || fail "reading the registry"
printf '"山田太郎"\r\n"田中先生"\r\n' | iconv -f UTF-8 -t CP932 >"$work/expected.txt"
cmp -s "$work/names.txt" "$work/expected.txt" || fail "registry bytes: $(od -c "$work/names.txt" | head -3)"

# Appending one record (smbclient has no append: the file, owned by root, is written whole, with the
# record after what it held).
{ cat "$work/names.txt"; printf '"山田次郎"\r\n' | iconv -f UTF-8 -t CP932; } >"$work/appended.txt"
out=$(smb "$pupil" 'put appended.txt 管理データ\登録者一覧.txt') || fail "appending as the pupil: $out"
cmp -s "$data/登録者一覧.txt" "$work/appended.txt" || fail "the appended record is not on the share: $out"

# A user folder and its inbox made over the share stay the group's.
out=$(smb "$pupil" 'mkdir 管理データ\山田次郎; put expected.txt 管理データ\山田次郎\受信箱.txt') ||
  fail "making a user folder as the pupil: $out"
[ "$(stat -c '%a %U %G' "$data/山田次郎")" = "2770 $pupil $pupils" ] ||
  fail "folder made over the share: $(stat -c '%a %U %G' "$data/山田次郎")"
[ "$(stat -c '%a %G' "$data/山田次郎/受信箱.txt")" = "660 $pupils" ] || fail "file made over the share"

# The administrator's file is vetoed over the share: nobody reads, renames, replaces or creates it there
# (the staff read it by its local path), and it stays as the set-up wrote it.
cp "$data/管理者情報.txt" "$work/admin-before.txt"
for account in "$pupil" "$teacher"; do
  out=$(smb "$account" 'get 管理データ\管理者情報.txt admin.txt') && fail "$account read the administrator file"
  [ ! -e "$work/admin.txt" ] || fail "a copy of the administrator file reached $account"
done
printf 'pupilpupil,,,,\r\n' >"$work/forged.txt"
out=$(smb "$pupil" 'rename 管理データ\管理者情報.txt 管理データ\old.txt') && fail "the pupil renamed it: $out"
out=$(smb "$pupil" 'put forged.txt 管理データ\管理者情報.txt') && fail "the pupil replaced it: $out"
cmp -s "$data/管理者情報.txt" "$work/admin-before.txt" || fail "the administrator file changed over the share"
[ "$(stat -c '%U %G %a' "$data/管理者情報.txt")" = "root $staff 640" ] || fail "administrator file owner or mode"

echo "samba share checks passed in $((($(date +%s%N) - started) / 1000000)) ms"
