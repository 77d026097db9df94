# Shared by the probe scripts (wrappers/, support/): what a run needs, a
# prefix, the probe with our libraries beside it, a display, and the cleanup.
# Expects $probe, $disk and $probe_log (the toolkit log inside the prefix);
# sets scen, WINEPREFIX, exe and xvfb_pid.

SKIP=77
libraries=(MSSHLSTF.dll MSCOMSTF.dll MSINSSTF.dll MSUILSTF.dll MSDETSTF.dll mscuistf.dll)
xvfb_pid=""

# Skips (exit 77) when Wine or a part of the build is missing; else makes the
# scenario's folder and arranges its cleanup.
probe_begin() {
  command -v wine >/dev/null || { echo "SKIP: no wine" >&2; exit $SKIP; }
  if [[ -f ${WINE_TEST_TEMPLATES:-}/unrunnable ]]; then
    echo "SKIP: $(tail -n 1 "$WINE_TEST_TEMPLATES/unrunnable")" >&2
    exit $SKIP
  fi
  [[ -f $probe ]] || { echo "SKIP: no probe $probe (build the win32 preset)" >&2; exit $SKIP; }
  local lib
  for lib in "${libraries[@]}"; do
    [[ -f $disk/$lib ]] || { echo "SKIP: the disk $disk lacks $lib" >&2; exit $SKIP; }
  done
  scen=$(mktemp -d "${TMPDIR:-/tmp}/wine-$1.XXXXXX")
  trap probe_cleanup EXIT
}

# Ends the session and the display; on a failure shows the logs first.
probe_cleanup() {
  local rc=$?
  set +e
  if [[ -d $scen/prefix ]]; then
    WINEPREFIX=$scen/prefix wineserver -k >/dev/null 2>&1
    WINEPREFIX=$scen/prefix timeout 30 wineserver -w
  fi
  [[ -n $xvfb_pid ]] && { kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null; }
  if ((rc != 0 && rc != SKIP)); then
    echo "--- toolkit log ---"
    cat "$scen/prefix/drive_c/$probe_log" 2>/dev/null
    echo "--- wine stderr ---"
    tail -n 40 "$scen"/probe*.err 2>/dev/null
  fi
  rm -rf "$scen"
  exit "$rc"
}

# A copy of the suite's template prefix, or a fresh 32-bit one.
probe_prefix() {
  mkdir -p "$scen/tmp" "$scen/run"
  export TMPDIR=$scen/tmp WINEPREFIX=$scen/prefix WINEDEBUG=-all
  # No menu entries on the host for shortcuts, no prompts for add-ons.
  export WINEDLLOVERRIDES='winemenubuilder.exe=d;mscoree,mshtml='
  unset WINEARCH
  local template=${WINE_TEST_TEMPLATES:-}/win32
  if [[ -n ${WINE_TEST_TEMPLATES:-} && -f $template/system.reg ]]; then
    cp -a "$template" "$WINEPREFIX"
    rm -f "$WINEPREFIX/wineserver"
    echo "prefix: copy of $template"
  else
    local started=$SECONDS
    WINEARCH=win32 timeout 150 wineboot --init >"$scen/wineboot.log" 2>&1 ||
      { echo "FAIL wineboot --init: $(cat "$scen/wineboot.log")"; exit 1; }
    timeout 60 wineserver -w
    echo "prefix: fresh 32-bit, made in $((SECONDS - started)) s"
  fi
}

# The probe in its own folder with our libraries beside it: the disk stays clean.
probe_stage() {
  cp -p "$probe" "$scen/run/"
  local lib
  for lib in "${libraries[@]}"; do cp -p "$disk/$lib" "$scen/run/"; done
  exe=$scen/run/$(basename "$probe")
}

# A private Xvfb when there is one (display checks want more than one bit per pixel).
probe_display() {
  if command -v Xvfb >/dev/null; then
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scen/display" \
      >"$scen/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do [[ -s $scen/display ]] && break; sleep 0.05; done
    [[ -s $scen/display ]] || { echo "FAIL Xvfb did not start"; exit 1; }
    export DISPLAY=":$(head -n 1 "$scen/display")"
  else
    unset DISPLAY
  fi
}
