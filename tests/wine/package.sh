#!/usr/bin/env bash
# package.sh package-msi: the Windows Installer package of scripts/package as
# Group Policy runs it: msiexec /qn installs the driver through the disk's
# setup.exe and ends 3010 (the restart setup asks for), msiexec /x removes it
# through the disk's uninstaller, and both leave the machine as they say.
source "$(dirname "$0")/lib.sh"

: "${WINE_TEST_PACKAGES:?set by ctest: the packages of scripts/package}"
readonly PACKAGE_DIR_WIN='C:\Program Files\Merlox IDE CD-ROM Drive Package'
readonly MSI_WIN='C:\mlxidecd.msi'

# msiexec <args...>: through the launcher, for the whole exit code.
msiexec() {
  start_program "$WINEPREFIX/drive_c" msiexec "$@"
  wait_setup
}

# expect_msi_log <file> <pattern>: the package's verbose log has the line.
expect_msi_log() {
  grep -aqE "$2" "$WINEPREFIX/drive_c/$1" || fail "the package's log $1 has no line matching '$2'"
}

[[ $1 == package-msi ]] || { echo "package.sh: unknown scenario '$1'" >&2; exit 2; }
msi=("$WINE_TEST_PACKAGES"/mlxidecd-*.msi)
[[ -f ${msi[0]} ]] || fail "no package in $WINE_TEST_PACKAGES (scripts/package makes it)"
scenario_begin "$1"
cp "${msi[0]}" "$WINEPREFIX/drive_c/mlxidecd.msi"
session_begin

msiexec /i "$MSI_WIN" /qn /l*v 'C:\install.log'
expect_exit_code 3010
expect_msi_log install.log 'setup.exe ended with exit code 3010'
expect_driver_installed
expect_service
package_dir=$WINEPREFIX/drive_c/Program\ Files/Merlox\ IDE\ CD-ROM\ Drive\ Package
cmp -s "$package_dir/setup.exe" "$DISK/setup.exe" || fail "$PACKAGE_DIR_WIN holds no copy of the disk's setup.exe"

msiexec /x "$MSI_WIN" /qn /l*v 'C:\remove.log'
expect_exit_code 0 3010
expect_msi_log remove.log 'uninstall.exe ended with exit code (0|3010)'
expect_no_service
[[ -z $(find "$DRIVERS/" -maxdepth 1 -iname mlxidecd.sys) ]] || fail "the driver file is still there"
[[ ! -e $package_dir ]] || fail "$PACKAGE_DIR_WIN is still there after the removal"
say "PASS $1"
