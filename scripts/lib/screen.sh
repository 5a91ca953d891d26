# shellcheck shell=bash
# Watching and driving a Wine program on an X display with xdotool. Source it; needs common.sh.

# Prints the first visible, unnamed window of a program (a popup menu: Wine names those windows
# after nothing and classes them after the lower-case .exe name); fails when there is none.
menu_window() {
  local class w
  class=$(basename "$1" | tr '[:upper:]' '[:lower:]' | sed 's/[.]/[.]/g')
  for w in $(xdotool search --onlyvisible --classname "^$class\$" 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$w" 2>/dev/null)" ] && { printf '%s\n' "$w"; return 0; }
  done
  return 1
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
