#!/usr/bin/env bash
# End-to-end: the real Kivet.exe's answers to real clicks on its icon through Wine's taskbar in
# a virtual desktop, with Notepad as the user's window: one menu per right click, the keyboard
# back with Notepad afterwards, nothing opened over the input window, and the end of a session
# as the Restart Manager asks for it.
#   tray_input_e2e.sh BUILD_DIR
# Prints one line per check and "N passed, N failed"; exit 0 when nothing failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/../../scripts/kivet-desktop.sh"
source "$here/../support/checks.sh"
work="$build/tray-input-e2e"
check_log="$work/log"
mkdir -p "$work"
rm -f "$check_log"
kivet_pid=""
notepad_pid=""
trap 'kill $kivet_pid $notepad_pid 2>/dev/null; kivet_desktop_stop; report_checks; exit $?' EXIT
trap 'exit 130' INT TERM

driver() { wine "$build/tests/e2e/kivet-driver.exe" "$@" | tr -d '\r'; }
menu_open() { driver shown '#32768' >/dev/null; }
flyout_open() { driver shown PellowDune.Kivet.Calendar >/dev/null; }
input_window() { driver shown PellowDune.Kivet.InputDialog; }
no_input_window() { ! input_window >/dev/null; }
input_has_keys() { [ "$(input_window | cut -d' ' -f5)" = 1 ]; }
foreground_is() { # foreground_is CLASS
    local now
    now=$(driver foreground)
    echo "foreground '$now', want class '$1'"
    [ "${now%%|*}" = "$1" ]
}
# Nothing of the kind shows within two seconds.
none_within_2() { ! within 2 "$@"; }
answers_true() { [ "$(driver send "$@")" = 1 ]; }
right_click_icon() { xdotool mousemove 790 590 click 3; }
left_click_icon() { xdotool mousemove 790 590 click 1; }
icon_shown() { ! kivet_desktop_corner_matches "$work/corner-without-kivet.png"; }
# Keys reach no menu whose owner is the hidden window in Wine's virtual desktop: the mouse
# chooses. Rows of the menu's items and separators, 17 pixels each, separators 9.
choose_item() { # choose_item ROW (0 Additional line, 6 Refresh)
    local left top right bottom
    read -r left top right bottom _ < <(driver shown '#32768')
    local y=$((top + 11 + 17 * $1))
    [ "$1" -ge 4 ] && y=$((y + 9))
    [ "$1" -ge 6 ] && y=$((y + 9))
    xdotool mousemove $((left + 40)) $y click 1
}
notepad_in_front() {
    local left top right bottom
    read -r left top right bottom _ < <(driver shown Notepad)
    xdotool mousemove $(((left + right) / 2)) $((top + 12)) click 1
    within 5 foreground_is Notepad
}

unset DISPLAY
kivet_desktop_start "$build" tray-input-e2e || exit 1
wine notepad >/dev/null 2>&1 &
notepad_pid=$!
within 30 foreground_is Notepad >/dev/null
kivet_desktop_corner_shot "$work/corner-without-kivet.png"
wine "$build/Kivet.exe" >/dev/null 2>&1 &
kivet_pid=$!
check "Kivet starts and creates its main window" driver wait-window 30
check "its icon shows in the notification area" within 10 icon_shown
check "Notepad has the keyboard" notepad_in_front

right_click_icon
check "a right click on the icon opens the menu" within 5 menu_open
choose_item 6 # Refresh
check "once chosen, no second menu follows" none_within_2 menu_open
check "the keyboard is back with Notepad, not on Kivet's hidden window" foreground_is Notepad

right_click_icon
within 5 menu_open && choose_item 0
check "the menu's first item opens the input window" within 5 input_window
right_click_icon
check "a right click over the input window opens no menu" none_within_2 menu_open
left_click_icon
check "nor does a left click open the flyout" none_within_2 flyout_open
check "the input window stays, in front with the keyboard" input_has_keys
xdotool key Escape
check "Escape closes the input window" within 5 no_input_window
check "and the keyboard goes back to Notepad" within 5 foreground_is Notepad

check "WM_QUERYENDSESSION with ENDSESSION_CLOSEAPP is answered TRUE" answers_true 0x11 0 1
driver send 0x16 1 1 >/dev/null
check "WM_ENDSESSION ends Kivet" driver wait-gone 15
wait "$kivet_pid"
code=$?
kivet_pid=""
check "with exit code 0 (was $code)" test "$code" = 0
check "and its icon is gone from the notification area" \
    within 5 kivet_desktop_corner_matches "$work/corner-without-kivet.png"
