#!/usr/bin/env bash
# End-to-end: the real Kivet.exe's calendar flyout as a user meets it, clicked with the mouse
# through Wine's own taskbar (which sends the icon's callbacks rather than posting them) in a
# virtual desktop filling the 800x600 screen, with keys and the wheel from xdotool.
#   calendar_clicks_e2e.sh BUILD_DIR
# Prints one line per check and "N passed, N failed"; exit 0 when nothing failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/../../scripts/kivet-desktop.sh"
source "$here/../support/checks.sh"

kivet="$build/Kivet.exe"
work="$build/calendar-clicks-e2e"
check_log="$work/log"
rm -rf "$work"
mkdir -p "$work"
pids=()
# The icon is the only one in the notification area, at the desktop's bottom-right corner.
icon_x=790
icon_y=590

finish() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    kivet_desktop_stop
    report_checks
    exit $?
}
trap finish EXIT
trap 'exit 130' INT TERM

driver() { wine "$build/tests/e2e/kivet-driver.exe" "$@"; }

# The flyout lives inside the desktop's one X window, so Windows' own view is asked.
flyout_now() { # flyout_now yes|no
    local shown
    shown=$(driver shown PellowDune.Kivet.Calendar 2>/dev/null | tr -d '\r')
    [ "$([ -n "$shown" ] && echo yes || echo no)" = "$1" ]
}

flyout_is() { # flyout_is yes|no: within five seconds
    within 5 flyout_now "$1"
}

# On screen and holding the keyboard.
flyout_has_keys() {
    within 5 eval '[ "$(driver shown PellowDune.Kivet.Calendar | tr -d "\r" | cut -d" " -f5)" = 1 ]'
}

# Gone, and still gone a second and a half later: no select opened it again.
stays_closed() {
    flyout_is no && sleep 1.5 && flyout_now no
}

click_icon() {
    xdotool mousemove $icon_x $icon_y click 1
}

click_desktop() {
    xdotool mousemove 300 200 click 1
}

# The centre of the flyout, for the wheel.
over_flyout() {
    local left top right bottom rest
    read -r left top right bottom rest < <(driver shown PellowDune.Kivet.Calendar | tr -d '\r')
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2))
}

selected_week_is() { # selected_week_is YYYY-Www
    xdotool key ctrl+c
    local actual
    actual=$(driver clipboard | tr -d '\r')
    echo "selected week '$actual', want '$1'"
    [ "$actual" = "$1" ]
}

# The ISO week of today moved by MONTHS months, the day clamped to that month's length.
week_months_on() { # week_months_on MONTHS
    python3 -c "
import calendar, datetime, sys
today = datetime.date.today()
index = today.year * 12 + today.month - 1 + int(sys.argv[1])
year, month = divmod(index, 12)
day = min(today.day, calendar.monthrange(year, month + 1)[1])
iso = datetime.date(year, month + 1, day).isocalendar()
print('%04d-W%02d' % (iso[0], iso[1]))" "$1"
}

unset DISPLAY
kivet_desktop_start "$build" calendar-clicks-e2e || exit 1
wine "$kivet" >/dev/null 2>&1 &
pids+=($!)
check "Kivet starts and creates its main window" driver wait-window 30
sleep 2 # the taskbar shows the icon

click_icon
check "a click on the icon opens the flyout" flyout_is yes
check "the flyout has the keyboard" flyout_has_keys
click_desktop
check "a click on the desktop closes it" flyout_is no
click_icon
check "one click on the icon opens it again" flyout_is yes

click_icon
check "a click on the icon while it is open closes it for good" stays_closed
click_icon
check "the next click opens it" flyout_is yes
xdotool mousemove $icon_x $icon_y mousedown 1 sleep 0.8 mouseup 1
check "a long press on the icon closes it for good" stays_closed

click_icon
flyout_is yes
xdotool key Escape
check "Escape closes it" flyout_is no
click_icon
check "after Escape one click opens it, with the keyboard" flyout_has_keys
xdotool key --delay 150 Right Right
check "the arrow keys move the selection" selected_week_is "$(date -d '+2 days' +%G-W%V)"

xdotool key Home
over_flyout
xdotool click 5
check "a wheel notch toward the user moves one month on" selected_week_is "$(week_months_on 1)"
xdotool click 4 click 4
check "two notches away from the user move two months back" \
    selected_week_is "$(week_months_on -1)"
xdotool key Escape
flyout_is no

driver close-class PellowDune.Kivet.Window
check "Kivet closes" driver wait-gone 15
