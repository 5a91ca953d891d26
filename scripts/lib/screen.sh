# shellcheck shell=bash
# Watching and driving a Wine program on an X display with xdotool. Source it; needs common.sh.

# Prints the visible, unnamed windows of a program (its popup menus: Wine names those windows
# after nothing and classes them after the lower-case .exe name), one a line.
menu_windows() {
  local class w
  class=$(basename "$1" | tr '[:upper:]' '[:lower:]' | sed 's/[.]/[.]/g')
  for w in $(xdotool search --onlyvisible --classname "^$class\$" 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$w" 2>/dev/null)" ] && printf '%s\n' "$w"
  done
  return 0
}

# Prints the first of them; fails when there is none.
menu_window() { menu_windows "$1" | head -n 1 | grep .; }

# menus_box EXE MARGIN: the geometry (WxH+X+Y, for ImageMagick's -crop) of the smallest box that
# holds every menu window of the program, widened by MARGIN pixels on each side.
menus_box() {
  local w x0=100000 y0=100000 x1=0 y1=0 X Y WIDTH HEIGHT
  for w in $(menu_windows "$1"); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    x0=$((X < x0 ? X : x0))
    y0=$((Y < y0 ? Y : y0))
    x1=$((X + WIDTH > x1 ? X + WIDTH : x1))
    y1=$((Y + HEIGHT > y1 ? Y + HEIGHT : y1))
  done
  [ "$x1" -gt 0 ] || return 1
  x0=$((x0 > $2 ? x0 - $2 : 0))
  y0=$((y0 > $2 ? y0 - $2 : 0))
  printf '%dx%d+%d+%d\n' $((x1 - x0 + $2)) $((y1 - y0 + $2)) "$x0" "$y0"
}

# Prints the first visible window with exactly this title; fails when there is none.
titled_window() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 | grep .
}

# The same for a window that may be hidden.
named_window() {
  xdotool search --name "^$1\$" 2>/dev/null | head -n 1 | grep .
}

# wait_for SECONDS COMMAND [ARG...]: waits for the command to succeed; prints its output.
wait_for() {
  local timeout=$1 start out
  shift
  start=$(now)
  until out=$("$@"); do
    awk -v s="$start" -v t="$timeout" -v n="$(now)" 'BEGIN { exit !(n - s > t) }' && return 1
    sleep 0.05
  done
  printf '%s\n' "$out"
}

send_keys() { # send_keys WINDOW KEY...: keys go to the focused window; the pointer stays put
  local w=$1
  shift
  xdotool windowfocus --sync "$w" key --delay 30 "$@" >/dev/null 2>&1
}

pointer_at() { # pointer_at X Y: succeeds when the X pointer is there
  [ "$(xdotool getmouselocation 2>/dev/null | cut -d' ' -f1-2)" = "x:$1 y:$2" ]
}

window_hidden() { # succeeds once the window is unmapped or gone
  ! xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'
}
