#!/usr/bin/env bash
# The window driver against its fixture: every command once, each effect
# read back through the driver (the fixture shows what it received in
# labLog), plus a screenshot and a pixel probe.
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
fixture="$windows/tests/driver/velmora-drive-fixture.exe"
require_files driver_test "$drive" "$fixture"
W="title=Velmora Drive Fixture"

log_is() {  # log_is EXPECTED: labLog shows EXPECTED within two seconds
  drive wait-control "$W" labLog --text "$1" --timeout 2000 >/dev/null
}

start_program fixture_pid "$fixture"
check "wait finds the window by title" drive wait "$W" --timeout 30000
check "wait finds it by class too" drive wait class=VelmoraDriveFixture

tree=$(drive tree "$W")
check "tree lists the controls by name" grep -q 'name="btnHello" class="Button"' <<< "$tree"
check "tree shows the combo box selection" grep -q 'name="comboLang".* sel=0:"English"' <<< "$tree"
check "tree shows a disabled control" grep -q 'name="btnDisabled".* enabled=0' <<< "$tree"
check "rect is in client coordinates" same_text "$(field_of "$(drive rect "$W" progBar)" rect)" "10,180,400,16"
check_soon "a control by class and position" "ready" drive text "$W" "class=Static#0"
check "a missing control is an error" bash -c '! "$0" "$@" 2>/dev/null' "$wine" "$drive" text "$W" btnNone

drive click "$W" btnHello; check "click" log_is "clicked btnHello"
drive click "$W" chkOption; check "click a check box" log_is "option 1"
check "state shows it checked" grep -q 'checked=1' <<< "$(drive state "$W" chkOption)"
drive type "$W" textName "Grüße Ж"; check "type (non-ASCII)" log_is "name Grüße Ж"
drive select "$W" comboLang "text=Русский"; check "select by text" log_is "language 2"
drive select "$W" lstItems 1; check "select by index" log_is "item 1"
check "select refuses an item that is not there" bash -c '! "$0" "$@" 2>/dev/null' "$wine" "$drive" select "$W" lstItems 7
check "tree-check ticks a child item" drive tree-check "$W" treeComp "Program/Samples" on
check "tree-items shows it checked" grep -q 'text="Samples" state=2' <<< "$(drive tree-items "$W" treeComp)"
check "tree-check unticks it" drive tree-check "$W" treeComp "Program/Samples" off
check_soon "progress" "pos=40 min=0 max=100" drive progress "$W" progBar
drive key "$W" escape; check "key escape" log_is "escape"
drive key "$W" enter; check "key enter presses the default button" log_is "clicked btnHello"
check "a disabled button is not clicked" bash -c '! "$0" "$@" 2>/dev/null' "$wine" "$drive" click "$W" btnDisabled

drive click "$W" btnAsk
box=$(drive msgbox --title "Fixture question" "&Yes")
check "msgbox reads the question" grep -q 'text="Proceed with the test?"' <<< "$box"
check "msgbox presses Yes" log_is "answer yes"
drive click "$W" btnAsk
drive msgbox id=7 >/dev/null; check "msgbox presses a button by id" log_is "answer no"

screenshot driver_fixture
bar=$(field_of "$(drive rect "$W" progBar)" screen)
IFS=, read -r bx by bw bh <<< "$bar"
filled=$(pixel_at "$shots/driver_fixture.png" $((bx + bw / 10)) $((by + bh / 2)))
empty=$(pixel_at "$shots/driver_fixture.png" $((bx + bw * 9 / 10)) $((by + bh / 2)))
check "the screenshot shows the bar filled at 10% and empty at 90%" test "$filled" != "$empty"

drive close "$W"
check "close ends the program" drive wait "$W" --gone --timeout 10000
wait_program "$fixture_pid" 20; check "the fixture exited with 0" test $? -eq 0

[ $failures -eq 0 ] || { echo "driver_test: $failures check(s) failed" >&2; exit 1; }
echo "driver_test: all checks passed"
