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
        echo "FAIL $what (see $check_log)"
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
