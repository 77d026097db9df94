# Sourced by every Wine scenario and by scripts/demo: a run's own prefix,
# disk, display and Wine session; running setup.exe and the robot; reading
# back what setup did. Everything a run starts is ended by scenario_end, on
# failure too.
set -euo pipefail

: "${WINE_TEST_TEMPLATES:?set by ctest: the folder of the template prefixes}"
: "${WINE_TEST_DISK:?set by ctest: the disk folder of the win32 build}"
: "${WINE_TEST_ROBOT:?set by ctest: robot.exe}"
: "${WINE_TEST_LAUNCH:?set by ctest: launch.exe, which reads whole exit codes}"
: "${WINE_TEST_ARTIFACTS:?set by ctest: where screenshots and failure logs go}"
: "${WINE_TEST_DIALOG_IDS:?set by ctest: dialog_ids.h}"

readonly SERVICE_KEY='HKLM\System\CurrentControlSet\Services\mlxidecd'
readonly UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Merlox IDE CD-ROM Drive'
readonly PRODUCT_DIR_WIN='C:\Program Files\Merlox IDE CD-ROM Drive'
readonly DISK_FILES=(setup.exe uninstall.exe setup.inf mlxidecd.SYS MSSHLSTF.dll MSCOMSTF.dll
  MSINSSTF.dll MSUILSTF.dll MSDETSTF.dll mscuistf.dll)
SETUP_TIMEOUT=${SETUP_TIMEOUT:-60}  # seconds; a quiet install takes one or two
readonly LOG_WIN='C:\setup.log'
readonly SKIP=77            # ctest's SKIP_RETURN_CODE
# The log's last line after an install that leaves the restart for later.
readonly OUTCOME_INSTALLED='Outcome: SUCCESS( \(restart pending\))?'

# Dialog numbers and button identifiers, from the header the dialog library
# is built from: DLG_WELCOME, IDC_CONTINUE, ...
while read -r _ name value _; do
  printf -v "$name" '%s' "$value"
done < <(grep -E '^#define (DLG|IDC)_[A-Z0-9_]+ [0-9]+' "$WINE_TEST_DIALOG_IDS")

SCENARIO=""
SCEN=""           # the scenario's temp dir, removed at the end
DISK=""           # the scenario's copy of the disk
DRIVERS=""        # C:\windows\system32\drivers on the host side
LOG=""            # C:\setup.log on the host side
XVFB_PID=""
SETUP_PID=""
SETUP_RC=""
MOUNTS=()
SHOTS=()

say() { printf '%s\n' "$*"; }

fail() {
  printf 'FAIL [%s]: %s\n' "$SCENARIO" "$*" >&2
  exit 1
}

skip() {
  printf 'SKIP [%s]: %s\n' "$SCENARIO" "$*" >&2
  exit "$SKIP"
}

# The template prefix found that this machine runs no 32-bit programs.
if [[ -f $WINE_TEST_TEMPLATES/unrunnable ]]; then
  SCENARIO=${1:-wine}
  skip "$(tail -n 1 "$WINE_TEST_TEMPLATES/unrunnable")"
fi

# wait_for <what> <seconds> <command...>: polls the command until it succeeds.
# A command may leave what it saw last in WAIT_SEEN for the failure message.
WAIT_SEEN=""
wait_for() {
  local what=$1 seconds=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  WAIT_SEEN=""
  until "$@"; do
    ((SECONDS < deadline)) || fail "timed out after ${seconds}s waiting for $what${WAIT_SEEN:+; last seen: $WAIT_SEEN}"
    sleep 0.05
  done
}

# The host path as Wine's Z: drive names it.
windows_path() {
  local path
  path=$(readlink -f "$1")
  printf 'Z:%s' "${path//\//\\}"
}

# ---- setting up and ending a scenario ----

# scenario_begin <name> [disk folder name]: a temp dir holding a fresh copy
# of the template prefix and of the disk; nothing runs yet.
scenario_begin() {
  SCENARIO=$1
  local folder=${2:-disk}
  local arch=${WINE_TEST_ARCH:-win32}
  local template=$WINE_TEST_TEMPLATES/$arch

  local missing=() file
  for file in "${DISK_FILES[@]}"; do
    [[ -f $WINE_TEST_DISK/$file ]] || missing+=("$file")
  done
  ((${#missing[@]} == 0)) ||
    fail "the disk $WINE_TEST_DISK lacks ${missing[*]}; build the win32 preset first"
  [[ -f $template/system.reg ]] || fail "no template prefix in $template (the wine.prefix.$arch fixture makes it)"

  SCEN=$(mktemp -d "${TMPDIR:-/tmp}/wine-$SCENARIO.XXXXXX")
  trap scenario_end EXIT
  say "scenario $SCENARIO in $SCEN"
  mkdir -p "$SCEN/tmp" "$WINE_TEST_ARTIFACTS"
  rm -f "$WINE_TEST_ARTIFACTS/$SCENARIO"-*.png
  rm -rf "$WINE_TEST_ARTIFACTS/$SCENARIO-failure"

  cp -a "$template" "$SCEN/prefix"
  # Names the template's server directory; each copy makes its own.
  rm -f "$SCEN/prefix/wineserver"
  # The disk's files only: the build also keeps its own files in that folder.
  DISK=$SCEN/$folder
  mkdir -p "$DISK"
  for file in "${DISK_FILES[@]}"; do cp -p "$WINE_TEST_DISK/$file" "$DISK/"; done

  export WINEPREFIX=$SCEN/prefix
  export TMPDIR=$SCEN/tmp     # Wine's server directory goes here
  export WINEDEBUG=-all
  export ROBOT_SPENT
  ROBOT_SPENT=$(windows_path "$SCEN")\\robot-spent.txt
  unset WINEARCH WINEDLLOVERRIDES
  DRIVERS=$WINEPREFIX/drive_c/windows/system32/drivers
  LOG=$WINEPREFIX/drive_c/setup.log
}

# After any changes to the prefix a scenario makes before Wine starts.
session_begin() {
  start_display
  persistent_session
  snapshot_drivers
}

# The server stays up between the Wine commands of the scenario, so that
# they all run in one session (each new session is a boot).
persistent_session() {
  wineserver -p >>"$SCEN/wineserver.log" 2>&1 || fail "wineserver -p failed: $(cat "$SCEN/wineserver.log")"
}

start_display() {
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$SCEN/display" >"$SCEN/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_for "Xvfb to start" 20 display_ready
  export DISPLAY=":$(head -n 1 "$SCEN/display")"
  say "display $DISPLAY"
}

display_ready() {
  [[ -s $SCEN/display ]] && return
  kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb exited: $(cat "$SCEN/xvfb.log")"
  return 1
}

# Ends the session: every Wine process of the prefix goes, the registry is saved.
session_end() {
  wineserver -k >>"$SCEN/wineserver.log" 2>&1 || true  # no server left is fine
  timeout 30 wineserver -w || fail "the Wine session did not end within 30s"
}

scenario_end() {
  local rc=$?
  set +e
  trap - EXIT
  if ((rc != 0 && rc != SKIP)) && [[ -n $SCEN ]]; then
    keep_diagnostics
  fi
  if [[ -n ${WINEPREFIX:-} && -d $WINEPREFIX ]]; then
    wineserver -k >>"$SCEN/wineserver.log" 2>&1
    timeout 30 wineserver -w || say "warning: the Wine session of $WINEPREFIX did not end" >&2
  fi
  if [[ -n $SETUP_PID ]]; then
    kill "$SETUP_PID" 2>/dev/null
    wait "$SETUP_PID" 2>/dev/null
  fi
  if [[ -n $XVFB_PID ]]; then
    kill "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null
  fi
  local mount
  for mount in "${MOUNTS[@]}"; do
    umount "$mount" || { say "cannot unmount $mount; left $SCEN in place" >&2; exit 1; }
  done
  [[ -d $DRIVERS ]] && chmod u+w "$DRIVERS"
  [[ -n $SCEN ]] && rm -rf "$SCEN"
  ((${#SHOTS[@]} == 0)) || say "screenshots: ${SHOTS[*]}"
  exit "$rc"
}

# What a failed scenario leaves for a look afterwards.
keep_diagnostics() {
  local dir=$WINE_TEST_ARTIFACTS/$SCENARIO-failure file
  mkdir -p "$dir"
  for file in setup.out setup.err robot.log xvfb.log drivers.before wineserver.log reg.out reg.err; do
    [[ -f $SCEN/$file ]] && cp "$SCEN/$file" "$dir/"
  done
  [[ -n $LOG && -f $LOG ]] && cp "$LOG" "$dir/setup.log"
  if [[ -n $XVFB_PID ]] && kill -0 "$XVFB_PID" 2>/dev/null; then
    xwd -root -display "$DISPLAY" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$dir/screen.png" 2>/dev/null ||
      say "no screenshot of the failure: xwd or netpbm failed" >&2
  fi
  if [[ -n $LOG && -f $LOG ]]; then
    say "--- setup log ($LOG_WIN) ---" >&2
    cat "$LOG" >&2
  fi
  if [[ -s $SCEN/robot.log ]]; then
    say "--- robot ---" >&2
    cat "$SCEN/robot.log" >&2
  fi
  say "diagnostics kept in $dir" >&2
}

# use_locale <locale> <charmap>: the Unix locale for Wine, e.g. ja_JP UTF-8
# for code page 932. Without a generated glibc locale Wine would read
# non-ASCII file names as ASCII; this one is generated for the scenario alone.
use_locale() {
  local name=$1.$2
  mkdir -p "$SCEN/locale"
  localedef -i "$1" -f "$2" "$SCEN/locale/$name" >"$SCEN/localedef.log" 2>&1 ||
    fail "localedef -i $1 -f $2 failed: $(cat "$SCEN/localedef.log")"
  export LOCPATH=$SCEN/locale
  unset LC_ALL LC_CTYPE
  # bash itself looks for the locale without LOCPATH and warns; Wine finds it.
  { export LANG=$name; } 2>/dev/null
}

# ---- faults prepared on the prefix before the session starts ----

# Puts a tmpfs in place of the drivers directory, holding what it held.
drivers_on_tmpfs() {
  local size_kb=$1
  local mount=$SCEN/drivers-mount
  mkdir -p "$mount"
  mount -t tmpfs -o "size=${size_kb}k,mode=755" tmpfs "$mount" 2>"$SCEN/mount.err" ||
    skip "cannot mount a tmpfs here ($(cat "$SCEN/mount.err")); this fault needs root with mount rights"
  MOUNTS+=("$mount")
  cp -a "$DRIVERS/." "$mount/"
  rm -rf "$DRIVERS"
  ln -s "$mount" "$DRIVERS"
}

make_drivers_read_only() {
  if ((EUID != 0)); then
    chmod 555 "$DRIVERS"  # enough for anyone but root
    return
  fi
  # Root writes through chmod 555 and through Wine's read-only attribute.
  drivers_on_tmpfs $(($(du -sk "$DRIVERS" | cut -f1) + 1024))
  mount -o remount,ro "$SCEN/drivers-mount"
  if touch "$DRIVERS/.probe" 2>/dev/null; then
    fail "the drivers directory is still writable after the read-only remount"
  fi
}

# Leaves 16 KiB free in the drivers directory and makes the disk's driver
# file at least 1 MiB, so that the copy fails part way through.
make_drivers_full() {
  drivers_on_tmpfs $(($(du -sk "$DRIVERS" | cut -f1) + 1024))
  local filler=$SCEN/drivers-mount/filler.bin
  if dd if=/dev/zero of="$filler" bs=4k 2>"$SCEN/dd.err"; then
    fail "filling the tmpfs did not end in a full disk"
  fi
  grep -q 'No space left' "$SCEN/dd.err" || fail "filling the tmpfs: $(cat "$SCEN/dd.err")"
  truncate -s -16K "$filler"
  truncate -s '>1M' "$DISK/mlxidecd.SYS"
}

# ---- running setup.exe and the robot ----

# run_setup <args...>: setup.exe from the disk folder, as a user starts it;
# waits for it to end and leaves its whole exit code in SETUP_RC ("killed"
# when something ended it from outside, as Wine's restart does).
run_setup() {
  start_setup "$@"
  wait_setup
}

# A scenario that changes the files of an unsigned disk is a vendor's other
# disk: its manifest is made anew, as the vendor's build would, unless the
# scenario keeps the old one (KEEP_MANIFEST=1: a damaged or changed disk). A
# signed disk keeps its manifest: signing has covered it.
stamp_disk() {
  [[ ${KEEP_MANIFEST:-} == 1 ]] && return
  osslsigncode extract-signature -in "$DISK/setup.exe" -out "$SCEN/setup.sig" >/dev/null 2>&1 && return
  local stamper
  stamper=$(dirname "${BASH_SOURCE[0]}")/../../scripts/stamp-manifest
  if [[ -f $DISK/uninstall.exe ]]; then
    python3 "$stamper" "$DISK" uninstall.exe --leave setup.exe || fail "cannot write uninstall.exe's manifest anew"
  fi
  python3 "$stamper" "$DISK" setup.exe || fail "cannot write the disk's manifest anew"
}

start_setup() {
  stamp_disk
  start_program "$DISK" setup.exe "$@"
}

# start_program <folder> <program> <args...>: from that folder, through the
# launcher, which prints the program's whole exit code (a Unix shell sees
# only its low 8 bits).
start_program() {
  local folder=$1
  shift
  say "$*"
  (cd "$folder" && exec timeout $((SETUP_TIMEOUT + 15)) wine "$WINE_TEST_LAUNCH" \
    $((SETUP_TIMEOUT * 1000)) "$@") >"$SCEN/launch.out" 2>"$SCEN/setup.err" &
  SETUP_PID=$!
}

# The Unix process of the setup.exe (or the program named) that runs in this
# scenario's prefix: its program name (Wine gives the Windows path) is that
# program's, not the launcher's.
setup_process() {
  local name=${1:-setup.exe} pid program
  for pid in $(pgrep -f "${name//./\\.}"); do
    program=$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1)
    [[ ${program,,} == *"${name,,}" ]] || continue
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return
    fi
  done
}

wait_setup() {
  local rc=0 seen
  wait "$SETUP_PID" || rc=$?
  SETUP_PID=""
  seen=$(tr -d '\r' <"$SCEN/launch.out")
  if [[ $seen =~ exit\ code\ (-?[0-9]+) ]]; then
    SETUP_RC=${BASH_REMATCH[1]}
  elif [[ $seen == *timeout* || $rc == 124 ]]; then
    fail "the program did not end within ${SETUP_TIMEOUT}s (dialogs up: $(robot_list))"
  elif ((rc == 0)) && [[ -z $seen ]]; then
    SETUP_RC=killed
  else
    fail "the launcher failed (exit $rc): $seen"
  fi
  say "ended with exit code $SETUP_RC"
}

# run_robot <args...>: the robot's exit code, or 255 when something ended it
# before it finished (Wine's restart ends every program with exit code 0).
run_robot() {
  local rc=0
  timeout 60 wine "$WINE_TEST_ROBOT" "$@" >"$SCEN/robot.out" 2>"$SCEN/robot.err" || rc=$?
  {
    printf '> robot %s  (exit %d)\n' "$*" "$rc"
    cat "$SCEN/robot.out" "$SCEN/robot.err"
  } >>"$SCEN/robot.log"
  tr -d '\r' <"$SCEN/robot.out" | sed '/^robot: exit /d; s/^/  robot: /'
  tr -d '\r' <"$SCEN/robot.out" | grep -qx "robot: exit $rc" || return 255
  return "$rc"
}

# robot <args...>: fails the scenario with the robot's report unless it succeeds.
robot() {
  local rc=0
  run_robot "$@" || rc=$?
  ((rc != 255)) || fail "robot $* was ended before it finished (exit code $(tail -n 1 "$SCEN/robot.log"))"
  ((rc == 0)) || fail "robot $* (exit $rc): $(tr -d '\r' <"$SCEN/robot.out" | sed '/^robot: exit /d')"
}

# What the robot sees now, on one line, for failure messages.
robot_list() {
  timeout 30 wine "$WINE_TEST_ROBOT" list >"$SCEN/robot-list.out" 2>&1
  tr -d '\r' <"$SCEN/robot-list.out" | paste -sd ';'
}

# answer <dialog> <button>: waits for the dialog, keeps a screenshot, presses.
answer() {
  await "$1"
  robot press "$1" "$2"
}

# answer_key <dialog> enter|esc: the same through the keyboard.
answer_key() {
  await "$1"
  robot key "$1" "$2"
}

await() {
  robot wait "$1"
  screenshot "$1"
}

screenshot() {
  local name=$SCENARIO-$1 n=2
  while [[ -e $WINE_TEST_ARTIFACTS/$name.png ]]; do
    name=$SCENARIO-$1-$n
    n=$((n + 1))
  done
  local png=$WINE_TEST_ARTIFACTS/$name.png
  xwd -root -display "$DISPLAY" -silent | xwdtopnm 2>>"$SCEN/netpbm.log" | pnmtopng >"$png" \
    2>>"$SCEN/netpbm.log" || fail "screenshot of display $DISPLAY failed: $(cat "$SCEN/netpbm.log")"
  SHOTS+=("$png")
}

# ---- reading back what setup did ----

snapshot_drivers() {
  ls -A "$DRIVERS/" | sort >"$SCEN/drivers.before"
}

# The names now in the drivers directory that were not there at the start.
new_driver_files() {
  comm -13 "$SCEN/drivers.before" <(ls -A "$DRIVERS/" | sort)
}

# The disk's driver file in the drivers directory, and nothing else new there.
expect_driver_installed() {
  local added others installed
  added=$(new_driver_files)
  others=$(grep -vix 'mlxidecd.sys' <<<"$added" || true)
  installed=$(find "$DRIVERS/" -maxdepth 1 -iname mlxidecd.sys -printf '%f\n')
  [[ -z $others ]] ||
    fail "C:\\windows\\system32\\drivers: expected only mlxidecd.SYS to be added, saw also [${others//$'\n'/, }]"
  [[ -n $installed ]] || fail "C:\\windows\\system32\\drivers: expected mlxidecd.SYS, saw no such file"
  [[ $installed != *$'\n'* ]] || fail "C:\\windows\\system32\\drivers holds the driver twice: ${installed//$'\n'/, }"
  cmp -s "$DISK/mlxidecd.SYS" "$DRIVERS/$installed" ||
    fail "$installed in the drivers directory differs from the disk's mlxidecd.SYS"
  say "installed: C:\\windows\\system32\\drivers\\$installed ($(stat -c %s "$DRIVERS/$installed") bytes)"
}

# After a failure or a cancel nothing may appear, not even a temporary file.
expect_drivers_unchanged() {
  local added
  added=$(new_driver_files)
  [[ -z $added ]] ||
    fail "C:\\windows\\system32\\drivers: expected nothing added, saw [${added//$'\n'/, }]"
}

# entry_value <name>: a value of the uninstall entry; false when there is none.
entry_value() {
  wine reg query "$UNINSTALL_KEY" /v "$1" >"$SCEN/entry.out" 2>&1 || return 1
  tr -d '\r' <"$SCEN/entry.out" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

declare -A SERVICE=()

# Fills SERVICE with the values of the service's key; false when there is no key.
read_service() {
  SERVICE=()
  local rc=0
  wine reg query "$SERVICE_KEY" >"$SCEN/reg.out" 2>"$SCEN/reg.err" || rc=$?
  if ((rc != 0)); then
    grep -q 'Unable to find' "$SCEN/reg.out" "$SCEN/reg.err" && return 1
    fail "reg query $SERVICE_KEY failed (exit $rc): $(cat "$SCEN/reg.out" "$SCEN/reg.err")"
  fi
  local line name type data
  while IFS= read -r line; do
    line=${line%$'\r'}
    [[ $line =~ ^\ {4}([^ ]+)\ {4}(REG_[A-Z_]+)(\ {4}(.*))?$ ]] || continue
    name=${BASH_REMATCH[1]} type=${BASH_REMATCH[2]} data=${BASH_REMATCH[4]}
    [[ $type == REG_DWORD ]] && data=$((data))
    SERVICE[$name]=$data
  done <"$SCEN/reg.out"
}

# expect_service [name=value...]: the service as setup registers it, with the
# given values instead where they are named.
expect_service() {
  declare -A want=(
    [Type]=1 [Start]=1 [ErrorControl]=1 [Group]='SCSI miniport'
    [ImagePath]='\SystemRoot\SYSTEM32\DRIVERS\mlxidecd.SYS'
  )
  local pair
  for pair in "$@"; do want[${pair%%=*}]=${pair#*=}; done
  read_service || fail "expected the service key $SERVICE_KEY, saw none"
  local name wrong=()
  for name in Type Start ErrorControl Group ImagePath; do
    [[ ${SERVICE[$name]-} == "${want[$name]}" ]] ||
      wrong+=("$name: expected '${want[$name]}', saw '${SERVICE[$name]-<missing>}'")
  done
  ((${#wrong[@]} == 0)) || fail "service mlxidecd: $(IFS=';'; echo "${wrong[*]}")"
  say "service mlxidecd: Type=${SERVICE[Type]} Start=${SERVICE[Start]} ErrorControl=${SERVICE[ErrorControl]} Group='${SERVICE[Group]}' ImagePath='${SERVICE[ImagePath]}'"
}

expect_no_service() {
  if read_service; then
    fail "expected no service mlxidecd, saw: $(tr -d '\r' <"$SCEN/reg.out" | sed 1,2d)"
  fi
}

# expect_exit_code <code>...: the last run ended with one of these codes.
expect_exit_code() {
  local code
  for code in "$@"; do
    [[ $SETUP_RC == "$code" ]] && return
  done
  fail "expected exit code $*, saw $SETUP_RC (stderr: $(tail -c 2000 "$SCEN/setup.err"))"
}

# The log's last line without its time stamp.
log_outcome() {
  [[ -f $LOG ]] || fail "setup wrote no log at $LOG_WIN"
  tr -d '\r' <"$LOG" | sed '/^[[:space:]]*$/d' | tail -n 1 |
    sed 's/^[0-9]\{4\}-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9] //'
}

# expect_outcome <extended regex for the whole line>
expect_outcome() {
  local seen
  seen=$(log_outcome)
  [[ $seen =~ ^$1$ ]] || fail "log's last line: expected '$1', saw '$seen'"
  say "log: $seen"
}

# expect_dialog_logged <dialog> <times>
expect_dialog_logged() {
  [[ -f $LOG ]] || fail "setup wrote no log at $LOG_WIN"
  local seen
  seen=$(grep -cE "Dialog: $1([^0-9]|$)" "$LOG" || true)
  ((seen == $2)) || fail "log: expected dialog $1 $2 time(s), saw it $seen time(s)"
}

# expect_error_logged <Windows error code>
expect_error_logged() {
  local errors
  errors=$(grep -E '^[0-9: -]+ Error: ' "$LOG" | tr -d '\r' || true)
  [[ $errors == *"(error $1:"* || $errors == *"(error $1)"* ]] ||
    fail "log: expected an error line with error $1, saw: ${errors:-no error line}"
  say "log: $(grep -F "(error $1" <<<"$errors" | head -n 1)"
}

# expect_service_state <state>: the driver service's state as the service manager reports it now.
expect_service_state() {
  robot service mlxidecd "$1" 0
}

expect_code_page() {
  robot codepage
  grep -q "ANSI code page $1" "$SCEN/robot.out" ||
    fail "Wine's ANSI code page: expected $1, saw: $(tr -d '\r' <"$SCEN/robot.out")"
}

# ---- what a person sees ----

# contrast <png> <x> <y> <w> <h>: the contrast ratio of the text in that part
# of the screenshot against its background: the most frequent colour is the
# background, the text the colour (of 3 pixels or more) that differs most
# from it, measured as readable text is (relative luminance, sRGB).
contrast() {
  pngtopnm "$1" 2>>"$SCEN/netpbm.log" | pnmcut -left "$2" -top "$3" -width "$4" -height "$5" \
    2>>"$SCEN/netpbm.log" | ppmhist -noheader 2>>"$SCEN/netpbm.log" | awk '
    function lin(c) { c /= 255; return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
    function lum(r, g, b) { return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b) }
    NR == 1 { background = lum($1, $2, $3); next }
    $5 >= 3 {
      l = lum($1, $2, $3)
      ratio = l > background ? (l + 0.05) / (background + 0.05) : (background + 0.05) / (l + 0.05)
      if (ratio > best) best = ratio
    }
    END { printf "%.2f\n", best }'
}

# expect_contrast <png> <x> <y> <w> <h> <what>: at least 4.5:1.
expect_contrast() {
  local ratio
  ratio=$(contrast "$1" "$2" "$3" "$4" "$5")
  awk -v r="$ratio" 'BEGIN { exit !(r >= 4.5) }' ||
    fail "$6: text contrast $ratio:1 at $2,$3 ${4}x$5 of $(basename "$1"), below 4.5:1"
  say "contrast $ratio:1: $6"
}

# low_contrast <png>: the first text control the robot last printed (a dialog it
# found) that reads below 4.5:1 in the screenshot, as "<id> <x> <y> <w> <h> <text>";
# nothing when all read; "none" when the dialog has no text to measure.
low_contrast() {
  local line x y w h count=0
  while IFS= read -r line; do
    [[ $line =~ control\ ([0-9-]+)\ Static\ \"(.+)\"\ at\ ([0-9-]+),([0-9-]+)\ ([0-9]+)x([0-9]+)$ ]] || continue
    x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]} w=${BASH_REMATCH[5]} h=${BASH_REMATCH[6]}
    ((w > 0 && h > 0)) || continue
    count=$((count + 1))
    if ! awk -v r="$(contrast "$1" "$x" "$y" "$w" "$h")" 'BEGIN { exit !(r >= 4.5) }'; then
      printf '%s %s %s %s %s %s\n' "${BASH_REMATCH[1]}" "$x" "$y" "$w" "$h" "${BASH_REMATCH[2]:0:40}"
      return
    fi
  done < <(tr -d '\r' <"$SCEN/robot.out")
  ((count > 0)) || echo none
}

# expect_readable <png>: every text control the robot last printed reads at
# 4.5:1 or more. A machine under load may show the dialog before it has
# painted its texts: a dialog with a text that does not read is measured again
# on a second screenshot a moment later, and that one counts.
expect_readable() {
  local low id x y w h text
  low=$(low_contrast "$1")
  [[ $low == none ]] && fail "no text of the dialog to measure in: $(tr -d '\r' <"$SCEN/robot.out")"
  [[ -z $low ]] && { say "every text of the dialog reads at 4.5:1 or more"; return; }
  sleep 1
  screenshot repaint
  low=$(low_contrast "$(last_shot)")
  [[ -z $low ]] && { say "every text of the dialog reads at 4.5:1 or more (second look)"; return; }
  read -r id x y w h text <<<"$low"
  expect_contrast "$(last_shot)" "$x" "$y" "$w" "$h" "text $id \"$text\""
}

# The last screenshot taken.
last_shot() { printf '%s' "${SHOTS[-1]}"; }

# control_text <id>: the text of that control of the dialog the robot last found.
control_text() {
  tr -d '\r' <"$SCEN/robot.out" | sed -n "s/^ *control $1 [A-Za-z]* \"\\(.*\\)\" .*/\\1/p" | head -n 1
}

# expect_control <id> <pattern> <what>: its text matches the extended regex.
expect_control() {
  local text
  text=$(control_text "$1")
  [[ $text =~ $2 ]] || fail "$3: expected control $1 to match '$2', saw '$text'"
}

# hold_copy [<dialog> <button>]: once the gauge shows the copy under way,
# holds setup's thread there until release_copy; GAUGE is the robot's line
# about the gauge. With a dialog and a button, presses that button to start
# the copy once the robot watches: a copy from the page cache can be over
# before a robot started after the press looks.
HELD_THREAD=""
GAUGE=""
hold_copy() {
  local watcher rc=0
  timeout 60 wine "$WINE_TEST_ROBOT" gauge 5 >"$SCEN/gauge.out" 2>&1 &
  watcher=$!
  if (($# == 2)); then
    sleep 0.3  # the watcher's start
    robot press "$1" "$2"
  fi
  wait "$watcher" || rc=$?
  tr -d '\r' <"$SCEN/gauge.out" | sed 's/^/  robot: /' | tee -a "$SCEN/robot.log"
  ((rc == 0)) || fail "robot gauge 5 (exit $rc): $(tr -d '\r' <"$SCEN/gauge.out" | grep -v '^robot: exit')"
  HELD_THREAD=$(tr -d '\r' <"$SCEN/gauge.out" | sed -n 's/^held thread //p')
  GAUGE=$(tr -d '\r' <"$SCEN/gauge.out" | grep '^gauge ')
}

release_copy() {
  robot release "$HELD_THREAD"
  HELD_THREAD=""
}

# window_place [dialog|gauge]: "x y w h" of the whole window the robot last
# reported (the dialog it found, or the gauge it held).
window_place() {
  local line
  if [[ ${1:-dialog} == gauge ]]; then line=$GAUGE; else
    line=$(tr -d '\r' <"$SCEN/robot.out" | grep -a -m 1 -E '^found (unnumbered )?dialog')
  fi
  [[ $line =~ window\ at\ (-?[0-9]+),(-?[0-9]+)\ ([0-9]+)x([0-9]+) ]] || fail "no window place in: $line"
  printf '%s %s %s %s\n' "${BASH_REMATCH[@]:1:4}"
}

# save_crop <png> <out> <x> <y> <w> <h> [margin]: that part of the screenshot,
# with a margin around it, kept within the screen.
save_crop() {
  local png=$1 out=$2 margin=${7:-0} x y r b
  x=$(($3 - margin)) y=$(($4 - margin)) r=$(($3 + $5 + margin)) b=$(($4 + $6 + margin))
  ((x < 0)) && x=0
  ((y < 0)) && y=0
  ((r > 1024)) && r=1024
  ((b > 768)) && b=768
  { pngtopnm "$png" | pnmcut -left "$x" -top "$y" -width $((r - x)) -height $((b - y)) |
    pnmtopng -compression 9 >"$out"; } 2>>"$SCEN/netpbm.log" ||
    fail "cannot crop $png: $(cat "$SCEN/netpbm.log")"
}
