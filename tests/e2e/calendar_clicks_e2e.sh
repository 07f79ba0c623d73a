#!/usr/bin/env bash
# End-to-end: the real Kivet.exe's calendar flyout clicked with the mouse through Wine's own
# taskbar, which sends the icon's callbacks (Windows may post them), in a virtual desktop on
# the whole 800x600 screen; keys and the wheel from xdotool.
#   calendar_clicks_e2e.sh BUILD_DIR
# Prints one line per check and "N passed, N failed"; exit 0 when nothing failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/../../scripts/kivet-desktop.sh"
source "$here/../support/checks.sh"
check_log="$build/calendar-clicks-e2e/log"
rm -f "$check_log"
kivet_pid=""
hold_pid=""
trap 'kill $kivet_pid $hold_pid 2>/dev/null; kivet_desktop_stop; report_checks; exit $?' EXIT
trap 'exit 130' INT TERM

driver() { wine "$build/tests/e2e/kivet-driver.exe" "$@"; }
# The flyout is no X window of its own here: its rectangle and foreground flag from Windows.
flyout() { driver shown PellowDune.Kivet.Calendar | tr -d '\r'; }
has_keys() { [ "$(flyout | cut -d' ' -f5)" = 1 ]; }
gone() { ! flyout >/dev/null; }
# Gone, and still gone a second and a half later: no select opened it again.
stays_closed() { within 5 gone && sleep 1.5 && gone; }
click_icon() { xdotool mousemove 790 590 click 1; } # the only icon, bottom right

selected_week_is() { # selected_week_is YYYY-Www
    xdotool key ctrl+c
    local actual
    actual=$(driver clipboard | tr -d '\r')
    echo "selected week '$actual', want '$1'"
    [ "$actual" = "$1" ]
}

# The ISO week of today moved by MONTHS months, the day clamped to that month's length.
week_months_on() { # week_months_on MONTHS
    python3 -c "import calendar, datetime, sys
t = datetime.date.today(); y, m = divmod(t.year * 12 + t.month - 1 + int(sys.argv[1]), 12)
d = datetime.date(y, m + 1, min(t.day, calendar.monthrange(y, m + 1)[1])).isocalendar()
print('%04d-W%02d' % (d[0], d[1]))" "$1"
}

icon_shown() { ! kivet_desktop_corner_matches "$work/corner-without-kivet.png"; }

unset DISPLAY
kivet_desktop_start "$build" calendar-clicks-e2e || exit 1
work="$build/calendar-clicks-e2e"
# The desktop and its taskbar up before Kivet, so that the icon's coming can be seen.
driver hold 300 >/dev/null 2>&1 &
hold_pid=$!
within 30 driver shown Static >/dev/null
kivet_desktop_corner_shot "$work/corner-without-kivet.png"
wine "$build/Kivet.exe" >/dev/null 2>&1 &
kivet_pid=$!
check "Kivet starts and creates its main window" driver wait-window 30
check "its icon shows in the notification area" within 15 icon_shown

click_icon
check "a click on the icon opens the flyout, with the keyboard" within 5 has_keys
xdotool mousemove 300 200 click 1
check "a click on the desktop closes it" within 5 gone
click_icon
check "one click on the icon opens it again" within 5 flyout
click_icon
check "a click on the icon while it is open closes it for good" stays_closed
click_icon
within 5 flyout >/dev/null
xdotool mousemove 790 590 mousedown 1 sleep 0.8 mouseup 1
check "so does a press longer than the double-click time" stays_closed

click_icon
within 5 flyout >/dev/null && xdotool key Escape
check "Escape closes it" within 5 gone
click_icon
check "after Escape one click opens it, with the keyboard" within 5 has_keys
xdotool key --delay 150 Right Right
check "the arrow keys move the selection" selected_week_is "$(date -d '+2 days' +%G-W%V)"
read -r left top right bottom _ < <(flyout)
xdotool key Home mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 5
check "a wheel notch toward the user moves one month on" selected_week_is "$(week_months_on 1)"

driver close-class PellowDune.Kivet.Window
check "Kivet closes" driver wait-gone 15
kivet_pid=""
