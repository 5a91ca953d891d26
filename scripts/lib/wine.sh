# shellcheck shell=bash
# Wine prefixes for tests and demos. Source it; needs common.sh.
#
#   wine_make_prefix DIR     a fresh 64-bit prefix, set up for running without a window manager
#   wine_copy_prefix SRC DST a full copy (nothing shared with SRC)
#   wine_end_prefix DIR      ends the prefix's Wine server and every program in it
#   wine_import_reg DIR FILE imports a .reg file with the 64-bit regedit: keys land where their
#                            paths say (HKLM\Software\Wow6432Node\... is the 32-bit view)
#   wine_hold_desktop DIR HOLDER X Y TITLE
#                            starts the cursor holder in the prefix ($WINE_HOLDER_PID) and waits
#                            for its window: the prefix's desktop is up (needs screen.sh)
#
# Every Wine command's output goes to a file or /dev/null, never to a pipe: a daemon that Wine
# starts on the way would inherit the pipe and keep its reader waiting.

WINE64_LOADER=/usr/lib/wine/wine64
WINE_MARLETT=/usr/share/wine/fonts/marlett.ttf

wine_make_prefix() {
  local dir=$1
  mkdir -p "$(dirname "$dir")"
  WINEPREFIX=$dir WINEARCH=win64 WINEDEBUG=-all wineboot -i >/dev/null 2>&1 ||
    die "wineboot failed for $dir"
  # Caption buttons are Marlett glyphs. Debian's Wine 8 misses its own fonts (fonts-wine) under
  # the data directory, so the prefix's Fonts folder gets Marlett; without it, the close button
  # shows an "r".
  if [ -f "$WINE_MARLETT" ]; then
    cp "$WINE_MARLETT" "$dir/drive_c/windows/Fonts/" || die "could not give $dir its fonts"
  fi
  # Without a window manager, Wine waits 2 s on every window close unless windows are unmanaged.
  WINEPREFIX=$dir WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1 || die "could not configure $dir"
  WINEPREFIX=$dir wineserver -w
}

wine_copy_prefix() { cp -a "$1" "$2"; }

wine_end_prefix() {
  [ -d "$1" ] || return 0
  WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
}

# Z: is the Unix root in every prefix.
# shellcheck disable=SC1003 # a backslash, quoted
wine_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

wine_import_reg() {
  # regedit reads a version 5 file as UTF-16, the format it writes; from a UTF-8 file, hex(2)
  # text would be stored garbled.
  local utf16
  utf16=$(mktemp --suffix=.reg)
  { printf '\xff\xfe'; sed 's/\r*$/\r/' "$2" | iconv -f UTF-8 -t UTF-16LE; } >"$utf16"
  WINEPREFIX=$1 WINEDEBUG=-all "$WINE64_LOADER" regedit /S "$(wine_path "$utf16")" >/dev/null 2>&1 ||
    die "could not import $2"
  rm -f "$utf16"
  # Let this Wine end: a desktop it started without a display would serve the next program.
  WINEPREFIX=$1 wineserver -w
}

# Now and then Wine 8's desktop process fails to start ("The explorer process failed to start"),
# and every window of that Wine session fails with it. The holder's window proves the desktop is
# up; without it, the prefix's Wine is ended and started once more.
WINE_HOLDER_PID=""
wine_hold_desktop() {
  local dir=$1 holder=$2 x=$3 y=$4 title=$5 attempt
  for attempt in 1 2 3; do
    WINEPREFIX=$dir wine "$holder" "$x" "$y" "$title" >/dev/null 2>&1 &
    WINE_HOLDER_PID=$!
    wait_for 10 named_window "$title" >/dev/null && return 0
    log "the desktop of $dir did not come up (attempt $attempt); starting its Wine again"
    wine_end_prefix "$dir"
    wait "$WINE_HOLDER_PID" 2>/dev/null || true
    WINE_HOLDER_PID=""
  done
  die "the desktop of $dir did not come up"
}
