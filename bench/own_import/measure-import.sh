#!/bin/sh
# The import of the player's own problems: the program's path (the window's import job, through
# import_probe) beside `zendra-db build` on the same folder, and the memory of the program with
# the imported collection open beside the shipped one.
#
#   bench/own_import/measure-import.sh [BUILD_DIR] [SOURCE] [RUNS]
#
# BUILD_DIR defaults to build/dev, SOURCE to ../shared/corpus/goproblems, RUNS to 3 (0: only
# the memory). Each run imports into a fresh folder. The RSS is VmRSS of the real program under Xvfb, 3 s after its
# window is up, started with fresh XDG folders: once on the shipped data file, once with the
# imported collection open (the settings name it, as after a close with it open).
set -eu
# The memory is measured on a display of its own.
if [ -z "${DISPLAY:-}" ] && [ -z "${MEASURE_IMPORT_XVFB:-}" ]; then
  MEASURE_IMPORT_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
BUILD=${1:-build/dev}
SOURCE=${2:-../shared/corpus/goproblems}
RUNS=${3:-3}
PROBE=$BUILD/bench/own_import/import_probe
DB=$BUILD/tools/zendra-db/zendra-db
ZENDRA=$BUILD/app/zendra
for f in "$PROBE" "$DB" "$ZENDRA"; do
  [ -x "$f" ] || { echo "missing $f: build it first (cmake --build $BUILD)" >&2; exit 1; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
ms_now() { date +%s%3N; }

if [ "$RUNS" -gt 0 ]; then
echo "source: $SOURCE ($(find "$SOURCE" -name '*.sgf' | wc -l) .sgf files), $RUNS runs each"
: > "$WORK/db.txt"
: > "$WORK/probe.txt"
i=0
while [ $i -lt "$RUNS" ]; do
  i=$((i + 1))
  start=$(ms_now)
  "$DB" build "$SOURCE" -o "$WORK/db-$i.dgo" --remarks "$WORK/db-$i.txt" > /dev/null 2>&1 || true
  echo $(( $(ms_now) - start )) >> "$WORK/db.txt"
  line=$("$PROBE" "$WORK/user-$i" "$SOURCE" 2> /dev/null)
  echo "probe run $i: $line"
  echo "$line" | sed 's/.*total_ms=\([0-9]*\).*/\1/' >> "$WORK/probe.txt"
done
db=$(median < "$WORK/db.txt")
probe=$(median < "$WORK/probe.txt")
echo "zendra-db build: runs $(tr '\n' ' ' < "$WORK/db.txt")ms, median $db ms"
echo "program import:  runs $(tr '\n' ' ' < "$WORK/probe.txt")ms, median $probe ms"
awk -v a="$probe" -v b="$db" 'BEGIN { printf "ratio program / zendra-db: %.2f\n", a / b }'
fi

# ---- Memory: the shipped collection, then the imported one -----------------------------------
rss_of() {  # rss_of HOME_DIR: the program started there; prints VmRSS in kB
  home=$1
  env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 \
    QT_QPA_PLATFORM=xcb DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" "$ZENDRA" > "$home/log.txt" 2>&1 &
  pid=$!
  sleep 4
  if [ ! -e "/proc/$pid/status" ]; then
    cat "$home/log.txt" >&2
    echo "the program ended early" >&2
    exit 1
  fi
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill -TERM $pid
  wait $pid || true
  echo "$rss"
}
for which in shipped own; do
  home="$WORK/home-$which"
  mkdir -p "$home/run" "$home/.config/Tarnwick" "$home/.local/share/Tarnwick/Lattix"
  chmod 700 "$home/run"
  if [ $which = own ]; then
    line=$("$PROBE" "$home/.local/share/Tarnwick/Lattix" "$SOURCE" 2> /dev/null)
    folder=$(echo "$line" | sed 's/.*folder=//')
    printf '[Zendra]\nOwnCollection=%s\n' "$(basename "$folder")" > "$home/.config/Tarnwick/Lattix.conf"
  fi
  echo "RSS with the $which collection open: $(rss_of "$home") kB"
done
