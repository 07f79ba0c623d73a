#!/usr/bin/env bash
# End-to-end: the real Kivet.exe under Wine in a virtual desktop with a taskbar, acted on from
# outside as Windows and a user would, observed through screenshots of the notification area.
#   e2e.sh BUILD_DIR lifecycle   start (with arguments), stay, a second start, WM_CLOSE
#   e2e.sh BUILD_DIR redraws     the clock moved (libfaketime), then WM_TIMECHANGE,
#                                WM_SETTINGCHANGE, resume, a restarted taskbar and a midnight:
#                                each time the icon shows the new week
#   e2e.sh BUILD_DIR resources   version block and manifest read back through the platform
#   e2e.sh BUILD_DIR theme       "Match the taskbar": the text colours of a light taskbar, of a
#                                dark one, and after a switch and WM_SETTINGCHANGE; then a
#                                custom text colour on a background, and a policy's over it
#   e2e.sh BUILD_DIR promotion   Windows 11's NotifyIconSettings: Kivet's own entry shown once
# Prints one line per check and "N passed, N failed"; exit 0 when nothing failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
scenario=$2
source "$here/../../scripts/kivet-desktop.sh"
source "$here/../support/checks.sh"

kivet="$build/Kivet.exe"
driver="$build/tests/e2e/kivet-driver.exe"
preview="$build/tools/kivet-preview.exe"
work="$build/e2e-work/$scenario"
check_log="$work/log"
rm -rf "$work"
mkdir -p "$work"
pids=()
icon_settings='HKCU\Control Panel\NotifyIconSettings'

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

driver() {
    wine "$driver" "$@"
}

# The icon for a date as kivet-preview draws it with the default settings (or the colour
# scheme given, or a text colour and a background as RRGGBB), as a PAM file.
expected_icon() { # expected_icon YYYY-MM-DD [SCHEME] [TEXT BACKGROUND]
    local scheme=${2:-0}
    local colours=()
    [ -n "${3:-}" ] && colours=(--text-colour "$3" --background "$4")
    local name="icon-$1-scheme$scheme${3:+-$3-on-$4}"
    local pam="$work/$name.pam"
    if [ ! -f "$pam" ]; then
        wine "$preview" --out "$(winepath -w "$work/$name.png")" --date "$1" \
            --scheme "$scheme" "${colours[@]}" >/dev/null &&
            convert "$work/$name.png" -depth 8 "pam:$pam"
    fi
    echo "$pam"
}

# The icon of that date's week is on show (in SCHEME, or in TEXT on BACKGROUND).
shows_date() { # shows_date YYYY-MM-DD SHOT-NAME [SCHEME] [TEXT BACKGROUND]
    kivet_desktop_shot "$work/$2.ppm"
    python3 "$here/icon_match.py" "$work/$2.ppm" \
        "$(expected_icon "$1" "${3:-0}" "${4:-}" "${5:-}")"
}

shows_no_date() {
    kivet_desktop_shot "$work/$2.ppm"
    python3 "$here/icon_match.py" "$work/$2.ppm" "$(expected_icon "$1")" --absent
}

# Waits up to SECONDS for the screen to show the icon of DATE's week (as shows_date).
comes_to_show() { # comes_to_show DATE SECONDS NAME [SCHEME] [TEXT BACKGROUND]
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        shows_date "$1" "$3" "${4:-0}" "${5:-}" "${6:-}" >/dev/null && return 0
        sleep 0.5
    done
    shows_date "$1" "$3" "${4:-0}" "${5:-}" "${6:-}"
}

# Waits up to SECONDS for that icon to leave the screen.
comes_to_hide() { # comes_to_hide DATE SECONDS NAME
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        shows_no_date "$1" "$3" >/dev/null && return 0
        sleep 0.5
    done
    shows_no_date "$1" "$3"
}

running() {
    kill -0 "$1" 2>/dev/null
}

exits_with() { # exits_with PID CODE SECONDS
    local deadline=$((SECONDS + $3))
    while running "$1" && [ $SECONDS -lt $deadline ]; do
        sleep 0.1
    done
    running "$1" && return 1
    wait "$1"
    local status=$?
    echo "exit code $status"
    [ "$status" -eq "$2" ]
}

start_session() {
    unset DISPLAY
    kivet_desktop_start "$build" e2e || exit 1
    # Default settings, and a window that keeps the desktop open between two Kivets.
    wine reg delete 'HKCU\Software\Pellow Dune\Kivet' /f >/dev/null 2>&1
    wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Kivet /f >/dev/null 2>&1
    wine reg delete "$icon_settings" /f >/dev/null 2>&1
    driver hold 600 >/dev/null 2>&1 &
    pids+=($!)
}

lifecycle() {
    start_session
    local today week other
    today=$(date +%F)
    week=$(date +%-V)
    other=$(date -d "$today + 7 days" +%F)
    wine "$kivet" --help "/an argument" 42 >/dev/null 2>&1 &
    local first=$!
    pids+=("$first")
    check "starts and creates its window (arguments ignored)" driver wait-window 30
    check "shows the icon of this week ($week)" comes_to_show "$today" 10 started
    sleep 2
    check "stays running" running "$first"
    check "the icon is not that of next week" shows_no_date "$other" other-week
    check "without NotifyIconSettings (Windows 10) no key is made" bash -c "! wine reg query '$icon_settings'"

    local before=$SECONDS
    timeout 30 wine "$kivet" >/dev/null 2>&1
    local status=$?
    check "a second start ends with exit code 0 (got $status)" test "$status" -eq 0
    check "a second start ends at once ($((SECONDS - before)) s)" test $((SECONDS - before)) -le 10
    check "the first one still runs" running "$first"
    check "and still shows its icon" shows_date "$today" after-second

    driver post 0x10 0 0 >/dev/null
    check "WM_CLOSE ends it with exit code 0" exits_with "$first" 0 20
    check "the window is gone" driver wait-gone 5
    check "the icon is gone" comes_to_hide "$today" 5 closed
}

# Moves the clock of processes started with fake_clock to local time "$1" in $TZ.
set_clock() {
    local target
    target=$(date -d "$1" +%s)
    local offset=$((target - $(date +%s)))
    if [ "$offset" -ge 0 ]; then
        offset="+$offset"
    fi
    echo "$offset" >"$work/faketime"
    # The library reads the file at most once a second; 1.2 s was once not enough for Kivet to
    # see the new clock on a loaded machine, so a whole second more of margin.
    sleep 2.2
}

redraws() {
    start_session
    export TZ=Europe/Berlin
    set_clock "2026-04-01 12:00:00"
    LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
        FAKETIME_TIMESTAMP_FILE="$work/faketime" FAKETIME_CACHE_DURATION=1 \
        FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 \
        wine "$kivet" >/dev/null 2>&1 &
    local kivet_pid=$!
    pids+=("$kivet_pid")
    check "starts under the moved clock" driver wait-window 30
    check "shows week 14 on 1 April 2026" comes_to_show 2026-04-01 10 w14

    set_clock "2026-04-08 12:00:00"
    check "WM_TIMECHANGE is answered 0" test "$(driver send 0x1E 0 0 | tr -d '\r')" = 0
    check "after WM_TIMECHANGE it shows week 15" comes_to_show 2026-04-08 15 w15

    set_clock "2026-04-15 12:00:00"
    check "WM_SETTINGCHANGE is answered 0" test "$(driver send 0x1A 0x14 0 | tr -d '\r')" = 0
    check "after WM_SETTINGCHANGE it shows week 16" comes_to_show 2026-04-15 15 w16

    set_clock "2026-04-22 12:00:00"
    check "resume is answered 1" test "$(driver send 0x218 18 0 | tr -d '\r')" = 1
    check "after resume it shows week 17" comes_to_show 2026-04-22 15 w17

    set_clock "2026-04-29 12:00:00"
    check "a restarted taskbar has no icon" driver tray-delete
    check "the tray is empty" comes_to_hide 2026-04-22 5 restarted
    check "TaskbarCreated broadcast" driver taskbar-created
    check "after TaskbarCreated the icon is back, with week 18" comes_to_show 2026-04-29 15 w18

    # Sunday 3 May, ten seconds before midnight; the timer fires at 00:00:30 of Monday.
    set_clock "2026-05-03 23:59:50"
    driver send 0x1E 0 0 >/dev/null
    local armed=$SECONDS
    sleep 15
    check "at 00:00:05 it still shows week 18" shows_date 2026-05-03 before-midnight
    check "after 00:00:30 it shows week 19" comes_to_show 2026-05-04 45 w19
    echo "     the new week appeared $((SECONDS - armed)) s after 23:59:5x"

    driver post 0x10 0 0 >/dev/null
    check "WM_CLOSE ends it with exit code 0" exits_with "$kivet_pid" 0 20
}

resources() {
    # The scenarios' own prefix and wineserver: stopping them at the end must not touch the
    # session that runs the unit tests.
    unset DISPLAY
    kivet_desktop_start "$build" e2e || exit 1
    driver resources "$(winepath -w "$kivet")" | tr -d '\r' >"$work/resources.txt"
    check "version block and manifest read back as built" \
        bash -c "python3 '$here/check_resources.py' <'$work/resources.txt'"
    cat "$work/log"
}

# The taskbar's light or dark mode, as Windows 10 1903 and later keep it.
set_taskbar_mode() { # set_taskbar_mode 1|0 (light|dark)
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' \
        /v SystemUsesLightTheme /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

theme() {
    start_session
    local today
    today=$(date +%F)
    wine reg add 'HKCU\Software\Pellow Dune\Kivet' /v FollowTaskbarTheme /t REG_DWORD /d 1 \
        /f >/dev/null 2>&1
    set_taskbar_mode 0
    wine "$kivet" >/dev/null 2>&1 &
    local kivet_pid=$!
    pids+=("$kivet_pid")
    check "starts and creates its window" driver wait-window 30
    check "on a dark taskbar it draws white text" comes_to_show "$today" 10 dark 1

    set_taskbar_mode 1
    check "WM_SETTINGCHANGE is answered 0" test "$(driver send 0x1A 0 0 | tr -d '\r')" = 0
    check "switched to light, it draws black text" comes_to_show "$today" 15 light 0

    set_taskbar_mode 0
    driver send 0x1A 0 0 >/dev/null
    check "switched back to dark, white text again" comes_to_show "$today" 15 dark-again 1

    driver post 0x10 0 0 >/dev/null
    check "WM_CLOSE ends it with exit code 0" exits_with "$kivet_pid" 0 20

    # Amber text (FFC000) on deep blue (103A7A), as the user's COLORREFs, over following the
    # taskbar; then a machine policy's white text (16777215) over the user's amber.
    local user='HKCU\Software\Pellow Dune\Kivet'
    local policy='HKLM\Software\Policies\Pellow Dune\Kivet'
    wine reg add "$user" /v TextColour /t REG_DWORD /d 0x0000C0FF /f >/dev/null 2>&1
    wine reg add "$user" /v BackgroundColour /t REG_DWORD /d 0x007A3A10 /f >/dev/null 2>&1
    for text in FFC000 FFFFFF; do
        [ "$text" = FFFFFF ] && wine reg add "$policy" /v TextColour /t REG_DWORD /d 16777215 /f
        wine "$kivet" >/dev/null 2>&1 &
        kivet_pid=$!
        pids+=("$kivet_pid")
        check "text $text on a 103A7A background shows in the taskbar" \
            comes_to_show "$today" 30 "custom-$text" 0 "$text" 103A7A
        driver post 0x10 0 0 >/dev/null
        check "and WM_CLOSE ends it" exits_with "$kivet_pid" 0 20
    done
    wine reg delete "$policy" /f >/dev/null 2>&1
    wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' \
        /v SystemUsesLightTheme /f >/dev/null 2>&1
}

is_promoted() { # is_promoted ENTRY 0x0|0x1
    wine reg query "$icon_settings\\$1" /v IsPromoted | tr -d '\r' | grep -q "IsPromoted *REG_DWORD *$2\$"
}

# An entry as Windows 11 writes it, hidden: the path under Program Files by the folder's id.
add_entry() { # add_entry ID PATH-IN-PROGRAM-FILES (one process: the retries last ten seconds)
    printf 'REGEDIT4\n\n[%s\\%s]\n"ExecutablePath"="{6D809377-6AF0-444B-8957-A3773F02200E}\\\\%s"\n"IsPromoted"=dword:00000000\n' \
        "${icon_settings/HKCU/HKEY_CURRENT_USER}" "$1" "${2//\\/\\\\}" >"$work/entry.reg"
    wine regedit /s "Z:${work//\//\\}\\entry.reg" >/dev/null 2>&1
}

# Kivet where the machine's installer puts it, started twice.
promotion() {
    start_session
    local folder pid run
    folder="$(winepath -u 'C:\Program Files')/Kivet"
    mkdir -p "$folder" && cp "$kivet" "$folder/Kivet.exe"
    add_entry 2002 'Other\Other.exe'
    for run in "Windows 11" restarted; do
        wine 'C:\Program Files\Kivet\Kivet.exe' >/dev/null 2>&1 &
        pid=$!
        pids+=("$pid")
        check "$run: starts" driver wait-window 30
        if [ "$run" = "Windows 11" ]; then # Windows makes the entry after the icon is added
            add_entry 1001 'KIVET\kivet.exe'
            check "Kivet's own entry is promoted within its retries" within 15 is_promoted 1001 0x1
            check "another program's entry stays hidden" is_promoted 2002 0x0
            wine reg add "$icon_settings\\1001" /v IsPromoted /t REG_DWORD /d 0 /f >/dev/null 2>&1
        fi
        check "$run: shows its icon" comes_to_show "$(date +%F)" 30 "$run"
        if [ "$run" = restarted ]; then # the icon is added: its search, if any, is over
            check "the user's later choice to hide it stays" is_promoted 1001 0x0
        fi
        driver post 0x10 0 0 >/dev/null
        check "$run: WM_CLOSE ends it" exits_with "$pid" 0 20
    done
    rm -rf "$folder"
}

case "$scenario" in
lifecycle | redraws | resources | theme | promotion) "$scenario" ;;
*) echo "unknown scenario $scenario" >&2; exit 2 ;;
esac
