#!/usr/bin/env bash
# Tours the demo setup's wizard on a virtual display (run inside xvfb-run by
# scripts/demo.sh): starts SETUP under Wine, photographs each state of the
# wizard window into SHOTS (01-welcome.png, ...; index.html shows them in
# order with their names), moves on with the window driver velmora-drive.exe
# as the tour table says, and when the wizard installed, reports what the
# install made and what its uninstall left (scripts/demo_report.sh).
# Without the driver only the first state is photographed.
# Usage: scripts/demo_tour.sh SETUP.exe FLAVOUR SHOTS_FOLDER
# Exit status: 0 when the setup ended by the tour's own hand (Finish, or
# Cancel where the tour could go no further) or was stopped after the one
# picture that can be taken without the driver; 1 otherwise.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
setup=$1 flavour=$2 shots=$3
wine="$top/scripts/wine.sh"
drive_exe="$top/build/$flavour/tests/driver/velmora-drive.exe"
export VELMORA_IN_XVFB=1

# The tour: one row per state of the wizard, in page order. A row is the
# picture's name, then what moves the wizard on from there: driver actions
# joined by " ; " ("click CONTROL", "select CONTROL INDEX", "answer yes" for
# the message box in front, "wait-enabled CONTROL", "await CONTROL": up to
# 10 s for it to show, never failing). A name ending in "!" is photographed
# at once rather than when the window has come to rest (the installing page
# moves until it leaves). A new page of the demo project is one more row
# here.
tour=(
  "welcome|select comboLang 2"
  "welcome-russian|select comboLang 0 ; click btnNext"
  "licence|click radYes ; click btnNext"
  "information|click btnNext"
  "setup-type|click radCont5 ; click btnNext"
  "components|click btnNext"
  "location|click btnNext"
  "start-menu-folder|click btnNext"
  "tasks|click btnNext"
  "confirmation|click btnNext"
  "confirmation-question|answer yes ; await btnDetail"
  "installing!|wait-enabled btnNext ; await chkLaunch"
  # The tour clears launch and readme so that no program stays behind.
  "finish|click chkLaunch ; click chkReadme ; click btnNext"
)

# wizard_geometry: "WxH+X+Y" of the wizard's window (its title ends in
# "Velmora"), or nothing while it has none.
wizard_geometry() {
  xwininfo -root -tree 2>/dev/null |
    awk '/"[^"]*Velmora": \(/ { split($(NF-1), size, /[+-]/); print size[1] $NF; exit }'
}

wait_for_wizard() {  # up to 60 s; fails when the setup ended first
  local i
  for i in $(seq 1 120); do
    [ -n "$(wizard_geometry)" ] && return 0
    kill -0 "$setup_pid" 2>/dev/null || return 1
    sleep 0.5
  done
  return 1
}

shot_names=()
# take_shot NAME: the screen cut to the wizard's window (so a message box
# over it shows too), once two captures a second apart agree: the page has
# finished painting. Gives up on agreement after 20 s and keeps the last;
# a NAME ending in "!" is taken at once.
take_shot() {
  local name=${1%!} file geometry previous="" current i tries=20
  [ "$name" != "$1" ] && tries=1
  file=$(printf '%02d-%s.png' $((${#shot_names[@]} + 1)) "$name")
  for i in $(seq 1 $tries); do
    geometry=$(wizard_geometry)
    [ -n "$geometry" ] || return 1
    import -window root -crop "$geometry" +repage "$shots/$file" 2>/dev/null || return 1
    current="$geometry $(md5sum < "$shots/$file")"
    [ "$current" = "$previous" ] && break
    previous=$current
    sleep 1
  done
  shot_names+=("$file")
  echo "  picture $file"
}

wizard_window="class=ccForm"
driver() { "$wine" "$drive_exe" "$@" >/dev/null 2>&1; }
drive() {  # drive ACTION ARGS...: one tour action through the driver; fails when it cannot
  local action=$1; shift
  case "$action" in
    click|select) driver "$action" "$wizard_window" "$@" ;;
    answer) driver msgbox "&$1" ;;
    # A short install may be over before the page that shows it is seen.
    await) driver wait-control "$wizard_window" "$1" --timeout 10000 || true ;;
    wait-enabled)  # up to a minute, for the end of the installation
      local i
      for i in $(seq 1 120); do
        "$wine" "$drive_exe" state "$wizard_window" "$1" 2>/dev/null | grep -q 'enabled=1' && return 0
        sleep 0.5
      done
      return 1 ;;
    *) return 1 ;;
  esac
}

# run_actions "A ARGS ; B ARGS" [NEXT_ROW]: stops at the first that fails;
# then lets the window come to rest, unless the next picture is one taken
# at once.
run_actions() {
  local action
  local -a words
  while IFS= read -r action; do
    read -r -a words <<< "$action"
    [ ${#words[@]} -eq 0 ] && continue
    drive "${words[@]}" || { echo "  the driver could not '$action'"; return 1; }
  done < <(sed 's/ ; /\n/g' <<< "$1")
  [[ ${2%%|*} == *! ]] || sleep 1
}

write_index() {
  {
    echo '<!DOCTYPE html><html><head><meta charset="utf-8"><title>Velmora demo: the wizard, page by page</title>'
    echo '<style>body{font-family:sans-serif;margin:2em}figure{margin:0 0 2em}figcaption{font-weight:bold;margin-bottom:.3em}</style></head><body>'
    echo '<h1>The demo setup, page by page</h1>'
    local f
    for f in "${shot_names[@]}"; do
      printf '<figure><figcaption>%s</figcaption><img src="%s" alt="%s"></figure>\n' "${f%.png}" "$f" "${f%.png}"
    done
    echo '</body></html>'
  } > "$shots/index.html"
}

rm -rf "$shots"; mkdir -p "$shots"
"$wine" "$setup" >/dev/null 2>&1 &
setup_pid=$!

status=1 stopped=0
if ! wait_for_wizard; then
  echo "  the setup showed no wizard window (it ended or took over a minute)"
  kill "$setup_pid" 2>/dev/null
elif [ ! -f "$drive_exe" ]; then
  take_shot "${tour[0]%%|*}"
  echo "  no window driver in this build: one picture, then the setup is stopped"
  kill "$setup_pid" 2>/dev/null && status=0 && stopped=1
else
  finished=0
  for i in "${!tour[@]}"; do
    row=${tour[$i]}
    take_shot "${row%%|*}" || break
    run_actions "${row#*|}" "${tour[$((i + 1))]:-}" || break
    kill -0 "$setup_pid" 2>/dev/null || { finished=1; break; }
  done
  if [ $finished = 0 ] && kill -0 "$setup_pid" 2>/dev/null; then
    echo "  the tour ends here: closing the wizard through btnCancel"
    drive click btnCancel
    sleep 1
    kill -0 "$setup_pid" 2>/dev/null && drive answer yes
  fi
fi
for _ in $(seq 1 20); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.5; done
if kill -0 "$setup_pid" 2>/dev/null; then
  echo "  the setup did not end; stopping it"
  kill "$setup_pid" 2>/dev/null
else
  wait "$setup_pid"; setup_status=$?
  if [ $stopped = 1 ]; then echo "  setup stopped"; else echo "  setup exited with status $setup_status"; fi
  [ -f "$drive_exe" ] && [ "$setup_status" = 0 ] && status=0
fi
write_index
echo "  ${#shot_names[@]} picture(s) and index.html in $shots"

"$top/scripts/demo_report.sh" "$setup" "$flavour" || status=1
exit $status
