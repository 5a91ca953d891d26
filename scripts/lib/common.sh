# shellcheck shell=bash
# Shared helpers of the scripts. Source it; it defines functions only.

log() { printf '[%s] %s\n' "${0##*/}" "$*" >&2; }
die() { log "error: $*"; exit 1; }

# The repository's root, whichever directory a script is started from.
repo_root() { cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd; }

# Seconds since the epoch, with fractions.
now() { date +%s.%N; }
elapsed_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# The path of a program built by the win32 preset, wherever its target put it.
find_built() {
  local build=$1 name=$2 path
  for path in "$build/$name" "$build/src/$name" "$build/tests/e2e/$name"; do
    [ -f "$path" ] && { printf '%s\n' "$path"; return 0; }
  done
  path=$(find "$build" -name "$name" -type f -print -quit 2>/dev/null)
  [ -n "$path" ] || die "$name is not built in $build"
  printf '%s\n' "$path"
}
