#!/usr/bin/env bash
# Start-up time and memory of Zendra beside two other Go programs for Linux (qgo, kigo).
#   bench/startup/measure-startup.sh [ZENDRA_BINARY] [RUNS]
# defaults: build/dev/app/zendra, 3 runs. Under a private Xvfb display, each run of each program
# gets a fresh HOME and fresh XDG folders; the time from exec to the first visible window of the
# program and its VmRSS two seconds later are recorded. The programs take turns (Zendra, qgo,
# kigo, then again), so a busy moment of the machine hits all of them alike. Zendra runs from its
# build folder, as `make run` starts it, and opens its shipped collection (Zendra.dgo beside it).
# Also noted: the processor time the program had used when its window appeared, which a busy
# machine disturbs less than the wall time. Prints the medians and the raw runs; the JSON lines,
# logs and screenshots stay in OUT_DIR (default build/startup); STARTUP_PROGRAMS (e.g.
# "zendra qgo") leaves the others out. Run as root, it first installs
# what bench/startup/packages.txt lists (only for this comparison; the build does not need them).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
zendra=$(realpath "${1:-$root/build/dev/app/zendra}")
runs=${2:-3}
out_dir=${OUT_DIR:-$root/build/startup}

if [[ ! -x $zendra ]]; then
  echo "no Zendra program at $zendra (build it first: cmake --preset dev && cmake --build --preset dev)" >&2
  exit 1
fi
for tool in Xvfb xdotool python3; do
  command -v "$tool" > /dev/null || { echo "$tool is missing (see scripts/packages.txt)" >&2; exit 1; }
done

# The comparison programs.
mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2> /dev/null || true)
  [[ $status == installed ]] || missing+=("$pkg")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  if [[ $(id -u) -eq 0 ]]; then
    echo "Installing for the comparison: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
  else
    echo "Not root: measuring without ${missing[*]} (install with: apt-get install -y ${missing[*]})" >&2
  fi
fi

programs=(zendra)
[[ -x /usr/games/qgo ]] && programs+=(qgo)
[[ -x /usr/games/kigo ]] && command -v dbus-run-session > /dev/null && programs+=(kigo)
# STARTUP_PROGRAMS="zendra qgo" measures only those of the three.
if [[ -n ${STARTUP_PROGRAMS:-} ]]; then
  chosen=()
  for program in "${programs[@]}"; do
    [[ " $STARTUP_PROGRAMS " == *" $program "* ]] && chosen+=("$program")
  done
  programs=("${chosen[@]}")
fi

# A private X display on the first free number from 90.
display=90
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
work=$(mktemp -d)
cleanup() {
  kill "$xvfb_pid" 2> /dev/null || true
  wait "$xvfb_pid" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do
  xdotool getdisplaygeometry > /dev/null 2>&1 && break
  sleep 0.05
done
xdotool getdisplaygeometry > /dev/null 2>&1 || { echo "Xvfb :$display did not start" >&2; exit 1; }
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# A player's PATH on Debian holds /usr/games: kigo finds its engine (gnugo) there.
[[ :$PATH: == *:/usr/games:* ]] || export PATH="$PATH:/usr/games"

mkdir -p "$out_dir"
results=$out_dir/startup-runs.jsonl
: > "$results"
echo "display :$display, $runs runs of: ${programs[*]}; load average $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
  for program in "${programs[@]}"; do
    dir=$work/$program-$run
    mkdir -p "$dir"
    case $program in
      zendra) cmd=(--cwd "$(dirname "$(dirname "$zendra")")" -- "$zendra") ;;
      qgo) cmd=(-- /usr/games/qgo) ;;
      kigo) cmd=(-- dbus-run-session -- /usr/games/kigo) ;;
    esac
    STARTUP_SCREENSHOT=$out_dir/$program-$run.png \
      python3 "$here/startup_probe.py" run "$program" "$dir" "${cmd[@]}" | tee -a "$results"
    cp "$dir/output.log" "$out_dir/$program-$run.log" 2> /dev/null || true
  done
done
echo
python3 "$here/startup_probe.py" summary "$results"
echo "(runs and screenshots in $out_dir; load average now $(cut -d' ' -f1-3 /proc/loadavg))"
