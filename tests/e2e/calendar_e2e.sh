#!/usr/bin/env bash
# End-to-end: the real Kivet.exe's calendar flyout under Wine, on a plain X display of its own.
#   calendar_e2e.sh BUILD_DIR
# The shell's left click is posted to the main window; keys go to the flyout with xdotool; the
# clipboard is read back, and its events heard as a screen reader hears them, with kivet-driver.
# Screenshots of the flyout in the light and dark palettes land in BUILD_DIR/calendar-e2e/.
# Prints one line per check and "N passed, N failed"; exit 0 when nothing failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/../../scripts/wine-env.sh"
source "$here/../support/checks.sh"

kivet="$build/Kivet.exe"
work="$build/calendar-e2e"
check_log="$work/log"
theme_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
# The icon's callback: the event in the low word, the icon id (1) above; 0x400 is NIN_SELECT.
callback=0x8001
select_event=0x10400
kivet_pid=""

trap finish_kivet_scenario EXIT
trap 'exit 130' INT TERM

driver() { wine "$build/tests/e2e/kivet-driver.exe" "$@"; }

flyout_window() {
    xdotool search --onlyvisible --name '^Kivet calendar$' 2>/dev/null | head -n 1
}

# Waits up to ten seconds for the flyout to be on screen (yes) or gone (no).
flyout_is() { # flyout_is yes|no
    within 10 flyout_now "$1"
}

flyout_now() { # flyout_now yes|no
    [ "$([ -n "$(flyout_window)" ] && echo yes || echo no)" = "$1" ]
}

# Without a window manager Wine does not hand the X keyboard focus to the window it activates,
# so the flyout's X window is given it here (as menu_e2e.sh does for the input window).
open_flyout() {
    flyout_is no && driver post $callback 0 $select_event && flyout_is yes &&
        xdotool windowfocus --sync "$(flyout_window)"
}

clipboard_is() { # clipboard_is EXPECTED
    local actual
    actual=$(driver clipboard | tr -d '\r')
    echo "clipboard '$actual', want '$1'"
    [ "$actual" = "$1" ]
}

heard_all() { # heard_all LINE...: each line came from `driver hear-calendar`
    local line
    for line in "$@"; do
        tr -d '\r' <"$work/heard" | grep -qx "$line" || { echo "not heard: $line" && return 1; }
    done
}

flyout_shot() { # flyout_shot FILE
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(flyout_window)")"
    import -window root -depth 8 png:- | convert - -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
}

mkdir -p "$work"
rm -f "$work/log" "$work"/*.png
unset DISPLAY
kivet_wine_env "$work"
kivet_ensure_prefix
kivet_ensure_display || exit 1
kivet_start_wineserver
wine reg delete "$theme_key" /v AppsUseLightTheme /f >/dev/null 2>&1

wine "$kivet" >/dev/null 2>&1 &
kivet_pid=$!
check "Kivet starts and creates its main window" driver wait-window 30

check "a left click on the icon opens the flyout" open_flyout
xdotool key --delay 150 Down Down Right ctrl+c
check "Down, Down, Right and Ctrl+C copy the week of today + 15 days" \
    clipboard_is "$(date -d '+15 days' +%G-W%V)"
xdotool key --delay 150 1 Return ctrl+c
check "typing 1 and Enter selects week 1 of that ISO year" \
    clipboard_is "$(date -d '+15 days' +%G)-W01"
xdotool key --delay 150 Home 9 9 Return ctrl+c
check "Home goes back to today; week 99 changes nothing" clipboard_is "$(date +%G-W%V)"
sleep 0.3
flyout_shot "$work/calendar-light.png"

# A screen reader in another process hears the selection move and a typed digit. Tomorrow's
# child id: its day plus the weekday (Monday 0) of its month's first, the grid's first Monday.
driver hear-calendar 4 >"$work/heard" &
within 10 grep -q listening "$work/heard"
xdotool key --delay 150 Right 5 BackSpace
wait $!
tomorrow=$(date -d tomorrow +%F)
child=$(($(date -d "$tomorrow" +%-d) + $(date -d "${tomorrow%-*}-01" +%u) - 1))
check "a screen reader hears Right as focus and selection of day $child, and a typed digit" \
    heard_all "focus $child" "selection $child" "value 0"
xdotool key Escape
check "Escape closes the flyout" flyout_is no

check "the flyout opens again" open_flyout
driver post $callback 0 $select_event
check "a second click on the icon closes it" flyout_is no

wine reg add "$theme_key" /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null 2>&1
check "the flyout opens in the dark palette" open_flyout
xdotool key --delay 150 Right Right
sleep 0.3
flyout_shot "$work/calendar-dark.png"
xdotool key Escape
wine reg delete "$theme_key" /v AppsUseLightTheme /f >/dev/null 2>&1

driver close-class PellowDune.Kivet.Window
check "Kivet closes" driver wait-gone 15
kivet_pid=""
check "both screenshots were taken" test -s "$work/calendar-light.png" -a -s "$work/calendar-dark.png"
