# Sourced by the shell tests: `check` runs one check and prints a line for it; `report_checks`
# prints the closing "N passed, N failed" and is true when nothing failed.
# The sourcing script sets check_log, the file that takes each check's output.

checks_passed=0
checks_failed=0

check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@" >>"$check_log" 2>&1; then
        echo "ok   $what"
        checks_passed=$((checks_passed + 1))
    else
        echo "FAIL $what (see $check_log), which ends:"
        tail -n 3 "$check_log" | sed 's/^/     /'
        checks_failed=$((checks_failed + 1))
    fi
}

fail_check() { # fail_check DESCRIPTION: a check that failed before it could run
    echo "FAIL $1"
    checks_failed=$((checks_failed + 1))
}

# Runs COMMAND every 0.2 s until it succeeds, for at most SECONDS; false when it never did.
within() { # within SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.2
    done
}

report_checks() {
    echo "$checks_passed passed, $checks_failed failed"
    [ "$checks_failed" -eq 0 ]
}

# The EXIT trap of a scenario that runs Kivet on a display of its own (wine-env.sh's): ends
# Kivet (kivet_pid, when set), the scenario's wineserver and display, then reports the checks
# and exits with their verdict.
finish_kivet_scenario() {
    if [ -n "${kivet_pid:-}" ]; then
        kill "$kivet_pid" 2>/dev/null
    fi
    kivet_stop_wineserver
    kivet_stop_display
    report_checks
    exit $?
}

# The screen around the open menu at (menu_x, menu_y), WIDTH pixels wide at most, its black
# surroundings trimmed and framed in the desktop's blue.
menu_shot() { # menu_shot FILE [WIDTH]
    import -window root -depth 8 png:- |
        convert - -crop ${2:-520}x320+$((menu_x - 8))+$((menu_y - 8)) +repage -trim +repage \
            -bordercolor black -border 1 -fill '#3a6ea5' -draw 'color 0,0 floodfill' \
            -bordercolor '#3a6ea5' -border 11 "$1"
}

# One window as it shows on the screen, framed in the desktop's blue BORDER pixels wide.
window_shot() { # window_shot X-WINDOW FILE [BORDER]
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -depth 8 png:- |
        convert - -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
            -bordercolor '#3a6ea5' -border ${3:-12} "$2"
}

# Kivet's mapped X windows: the popup menu and each open submenu add one.
kivet_windows() {
    xdotool search --onlyvisible --classname '^kivet\.exe$' 2>/dev/null | wc -l
}
