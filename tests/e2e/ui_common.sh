# Shared by end-to-end scripts that drive windows (sourced after common.sh,
# which runs the whole script on one virtual display): the driver, starting
# a program in the background, screenshots and pixel probes.
drive="$windows/tests/driver/velmora-drive.exe"
shots="$top/build/screenshots"
mkdir -p "$shots"

drive() {  # drive COMMAND ARGS...: runs the driver, prints what it printed
  wine_text "$drive" "$@"
}

# start_program VAR PROGRAM [ARGS...]: starts a Windows program in the
# background on the script's display; its process id goes into VAR.
start_program() {
  local var=$1; shift
  "$wine" "$@" >/dev/null 2>&1 &
  printf -v "$var" '%s' $!
}

# wait_program PID [SECONDS]: waits for the program's exit (default 60 s)
# and returns its exit status; 124 when it did not end in time (it is then
# killed).
wait_program() {
  local pid=$1 limit=${2:-60} waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ $waited -ge $((limit * 10)) ]; then kill "$pid" 2>/dev/null; return 124; fi
    sleep 0.1; waited=$((waited + 1))
  done
  wait "$pid"
}

field_of() {  # field_of LINE KEY: the value of KEY=... in a driver line
  sed -n "s/.* $2=\([^ ]*\).*/\1/p" <<< " $1"
}
tree_line() {  # tree_line TREE NAME: the line of the control NAME
  grep -m1 "name=\"$2\" " <<< "$1"
}

screenshot() {  # screenshot NAME: the whole display as build/screenshots/NAME.png
  import -window root "$shots/$1.png"
}

# shot_on_failure NAME: the next failed check photographs the display as
# build/screenshots/NAME_failed.png, once (an older picture of that name is
# removed now); shot_on_failure alone stops it. The window a check was
# about usually still shows then, for the person reading the log.
shot_on_failure() {
  failure_shot=${1:-}
  [ -z "$failure_shot" ] || rm -f "$shots/${failure_shot}_failed.png"
}
check_failed_hook() {  # called by check (common.sh) after a failed check
  [ -n "${failure_shot:-}" ] || return 0
  screenshot "${failure_shot}_failed"
  echo "       screenshot: build/screenshots/${failure_shot}_failed.png" >&2
  failure_shot=
}

pixel_at() {  # pixel_at FILE X Y: prints "R,G,B" of that pixel
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# near ACTUAL EXPECTED [TOLERANCE]: two R,G,B colours differ by at most
# TOLERANCE (default 0) in each channel.
near() {
  local a b i tolerance=${3:-0} d
  IFS=, read -r -a a <<< "$1"; IFS=, read -r -a b <<< "$2"
  for i in 0 1 2; do
    d=$((a[i] - b[i])); [ $d -lt 0 ] && d=$((-d))
    [ $d -le "$tolerance" ] || { echo "       expected: $2 (±$tolerance)" >&2; echo "       actual:   $1" >&2; return 1; }
  done
}

# soon EXPECTED COMMAND...: COMMAND's output once it reads EXPECTED, or its
# last output after about ten seconds. A window answers a click a moment
# later on a loaded machine; asking again until the state arrives keeps a
# check about the state, not about the machine's speed.
soon() {
  local expected=$1 out tries=0; shift
  out=$("$@" 2>/dev/null)
  while [ "$out" != "$expected" ] && [ $tries -lt 40 ]; do
    sleep 0.25; tries=$((tries + 1))
    out=$("$@" 2>/dev/null)
  done
  printf '%s' "$out"
}
check_soon() {  # check_soon DESCRIPTION EXPECTED COMMAND...
  local what=$1 expected=$2; shift 2
  check "$what" same_text "$(soon "$expected" "$@")" "$expected"
}
soon_true() {  # soon_true COMMAND...: COMMAND succeeds within about ten seconds
  local tries=0
  until "$@" 2>/dev/null; do
    [ $tries -ge 40 ] && return 1
    sleep 0.25; tries=$((tries + 1))
  done
}
