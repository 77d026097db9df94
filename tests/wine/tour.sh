#!/usr/bin/env bash
# tour.sh demo-tour: each stage of an install as a person sees it, from drive
# D: as from a CD: the welcome, the copy under way, the restart question, and
# the error dialog of a disk that lacks its driver. Keeps a picture of each in
# $WINE_TEST_ARTIFACTS/demo-tour/, which scripts/demo shows and README uses;
# a change of the dialogs that breaks this walk fails here, not in the demo.
source "$(dirname "$0")/lib.sh"

readonly MESSAGE_BOX=0 IDOK=1  # the toolkit's box that names the missing file
readonly PICTURES=(welcome copy restart error)
readme_pictures=$(dirname "$WINE_TEST_DIALOG_IDS")/../../docs/screenshots

# picture <name> <x> <y> <w> <h>: that part of the last screenshot, with a margin.
picture() {
  save_crop "$(last_shot)" "$out/$1.png" "$2" "$3" "$4" "$5" 40
}

# png_size <file>: "<width>x<height>" from the PNG header, or nothing.
png_size() {
  local b=()
  [[ -f $1 ]] || return 0
  read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
  ((${#b[@]} == 8)) || return 0
  printf '%dx%d' $(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3])) \
    $(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))
}

# The pictures README shows must be of the dialogs as they are now: a dialog
# that changed its size since they were made shows in a picture of another size.
expect_readme_pictures_current() {
  local name ours theirs stale=()
  for name in "${PICTURES[@]}"; do
    ours=$(png_size "$out/$name.png")
    theirs=$(png_size "$readme_pictures/$name.png")
    [[ $ours == "$theirs" ]] || stale+=("$name.png ($theirs, now $ours)")
  done
  ((${#stale[@]} == 0)) ||
    fail "docs/screenshots is out of date: ${stale[*]}; run scripts/demo --readme"
  say "docs/screenshots: the four pictures have the sizes of the dialogs now"
}

[[ $1 == demo-tour ]] || { echo "tour.sh: unknown scenario '$1'" >&2; exit 2; }
scenario_begin "$1"
out=$WINE_TEST_ARTIFACTS/demo-tour
rm -rf "$out"
mkdir -p "$out"
truncate -s 64M "$DISK/mlxidecd.SYS"  # large enough that the copy is caught under way
stamp_disk  # the disk's manifest lists the driver as it is now
ln -s "$DISK" "$WINEPREFIX/dosdevices/d:"
session_begin

start_program "$DISK" 'D:\setup.exe' /log "$LOG_WIN"
await "$DLG_WELCOME"
picture welcome $(window_place)
hold_copy "$DLG_WELCOME" "$IDC_CONTINUE"
robot wait "$DLG_BILLBOARD"
screenshot copy
read -r x y w h < <(window_place)
read -r gx gy gw gh < <(window_place gauge)
picture copy "$x" "$y" "$w" $((gy + gh - y))
release_copy
await "$DLG_RESTART"
picture restart $(window_place)
robot press "$DLG_RESTART" "$IDC_CONTINUE"
wait_setup
expect_exit_code 0
expect_driver_installed

rm "$DISK/mlxidecd.SYS"
start_program "$DISK" 'D:\setup.exe' /log "$LOG_WIN"
answer "$DLG_WELCOME" "$IDC_CONTINUE"
await "$MESSAGE_BOX"  # the failure's one window
picture error $(window_place)
robot press "$MESSAGE_BOX" "$IDOK"
wait_setup
expect_exit_code 0
expect_outcome 'Outcome: FAILED \(.+\)'

rm -f "$WINE_TEST_ARTIFACTS/$SCENARIO"-*.png
SHOTS=()
say "pictures: ${PICTURES[*]/%/.png} in $out"
[[ ${TOUR_SKIP_README_CHECK:-} == 1 ]] || expect_readme_pictures_current
say "PASS $1"
