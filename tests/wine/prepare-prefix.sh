#!/usr/bin/env bash
# prepare-prefix.sh win32|win64: the template prefix that every scenario of
# this run copies. Made once per run because a fresh prefix takes 12 to 20 s.
set -euo pipefail

arch=$1
: "${WINE_TEST_TEMPLATES:?set by ctest: the folder of the template prefixes}"
case $arch in
  win32) loader=wine ;;
  win64) loader=$(command -v wine64 || echo /usr/lib/wine/wine64) ;;
  *) echo "prepare-prefix.sh: unknown architecture '$arch'" >&2; exit 2 ;;
esac

# Where the machine runs no 32-bit programs, every Wine test skips with the
# reason this leaves beside the templates; anything else wrong fails here.
# The two prefixes are made side by side: neither takes away the reason
# the other left, or a scenario could start in between and find neither.
unrunnable=$WINE_TEST_TEMPLATES/unrunnable
mkdir -p "$WINE_TEST_TEMPLATES"
check=0
reason=$(bash "$(dirname "$0")/loader-check.sh" 2>&1) || check=$?
if ((check == 77)); then echo "$reason" >"$unrunnable"; else rm -f "$unrunnable"; fi
if ((check != 0)); then
  echo "$reason" >&2
  exit "$check"
fi

dest=$WINE_TEST_TEMPLATES/$arch
work=$(mktemp -d "${TMPDIR:-/tmp}/wine-template-$arch.XXXXXX")
trap 'rm -rf "$work" "$dest.new"' EXIT  # a half-made template never stays
rm -rf "$dest" "$dest.new"

export WINEPREFIX=$dest.new
export WINEDEBUG=-all
export TMPDIR=$work  # Wine's server directory goes here
unset DISPLAY        # nothing of this shows on anyone's screen

run() {
  if ! timeout 150 "$@" >>"$work/wine.log" 2>&1; then
    echo "prepare-prefix.sh: '$*' failed:" >&2
    cat "$work/wine.log" >&2
    exit 1
  fi
}

started=$SECONDS
# Neither the .NET nor the HTML engine is wanted, nor their download prompts.
WINEARCH=$arch WINEDLLOVERRIDES='mscoree,mshtml=' run "$loader" wineboot --init
# Without a window manager, destroying a managed window takes about 2 s.
run wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
# A crash ends the program instead of waiting on a dialog.
run wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
# The dialog faces Windows uses for Chinese, Japanese and Korean, which Wine
# does not have: the CJK face of scripts/deps stands in for them, as those
# faces do on a Windows of any code page.
for face in 'MS UI Gothic' 'SimSun' 'Gulim' 'PMingLiU'; do
  run wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f
done
# Debian's Wine looks for its own faces (Marlett, Tahoma, MS Sans Serif and
# the bitmap system fonts) in /usr/share/fonts, where fonts-wine does not put
# them: without them the caption buttons are drawn as letters. The Windows
# font folder is searched first, so they are linked there.
wine_fonts=/usr/share/wine/fonts
[[ -f $wine_fonts/marlett.ttf ]] || { echo "prepare-prefix.sh: no $wine_fonts/marlett.ttf (scripts/deps installs fonts-wine)" >&2; exit 1; }
ln -s "$wine_fonts"/* "$WINEPREFIX/drive_c/windows/Fonts/"
run wineserver -w
rm -f "$WINEPREFIX/wineserver"  # names this run's server directory
mv "$WINEPREFIX" "$dest"
echo "template prefix $dest ($arch) made in $((SECONDS - started)) s"
