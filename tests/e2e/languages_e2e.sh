#!/usr/bin/env bash
# End-to-end: the real Kivet.exe in German, Swedish, Russian and Greek under Wine, on a plain X
# display.
#   languages_e2e.sh BUILD_DIR
# For each language Kivet starts with that display language in a prefix made afresh under that
# locale, so that dates come in the language's own formats; its menu is opened as from the
# keyboard (the icon's context-menu event), an item is chosen by its access key (in Russian and
# Greek by the arrow keys: this Xvfb takes no Cyrillic or Greek keyboard layout, and a letter that
# xdotool maps onto a spare keycode for a moment reaches Wine as no key at all), the input
# window's title is read back, and the flyout is opened. Screenshots of the menu with its
# "Text colours" submenu and of the flyout land in BUILD_DIR/languages-e2e/ (menu-LL.png,
# calendar-LL.png). Prints one line per check and "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/../../scripts/wine-env.sh"
source "$here/../support/checks.sh"

kivet="$build/Kivet.exe"
work="$build/languages-e2e"
check_log="$work/log"
# The icon's callback: the event in the low word, the icon id (1) above. WM_CONTEXTMENU (0x7B)
# is what the shell sends for Shift+F10 or the menu key on the focused icon; 0x400 NIN_SELECT.
callback=0x8001
context_menu_event=0x1007B
select_event=0x10400
menu_x=400
menu_y=300
kivet_pid=""

trap finish_kivet_scenario EXIT
trap 'exit 130' INT TERM

driver() { wine "$build/tests/e2e/kivet-driver.exe" "$@"; }

visible_window() { # visible_window TITLE: prints the X id of the first mapped one
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && echo "$id"
}

more_kivet_windows_than() { # more_kivet_windows_than COUNT
    [ "$(kivet_windows)" -gt "$1" ]
}

kivet_windows_at_most() { # kivet_windows_at_most COUNT
    [ "$(kivet_windows)" -le "$1" ]
}

# Opens the menu as the keyboard does and waits until it takes keys.
open_menu_from_keyboard() {
    local idle
    idle=$(kivet_windows)
    xdotool mousemove "$menu_x" "$menu_y"
    driver post $callback $(((menu_y << 16) | menu_x)) $context_menu_event >/dev/null &&
        within 15 more_kivet_windows_than "$idle" && sleep 0.6
}

no_visible_window() { # no_visible_window TITLE
    ! visible_window "$1" >/dev/null
}

title_is() { # title_is X-WINDOW EXPECTED
    local actual
    actual=$(xdotool getwindowname "$1")
    echo "title '$actual', want '$2'"
    [ "$actual" = "$2" ]
}

# One language: LOCALE, the short name for the pictures, the keys that open "Text colours" and
# "Additional line…" (X keysyms), the input window's title and the flyout's window text.
run_language() { # run_language LOCALE NAME COLOURS-KEY LINE-KEY INPUT-TITLE FLYOUT-TITLE
    local locale=$1 name=$2 input flyout
    # Every Wine program of the run, the driver too, in the language's locale: Wine rewrites the
    # user's formats in the prefix whenever a program starts in another locale, and Kivet's
    # dates would follow the last one.
    export LOCPATH=$locales LANG=$locale LC_ALL=$locale
    # Wine takes the display language from the locale variables.
    wine "$kivet" >/dev/null 2>&1 &
    kivet_pid=$!
    check "$name: Kivet starts" driver wait-window 30

    check "$name: the menu opens from the keyboard" open_menu_from_keyboard
    xdotool key --delay 150 $3
    sleep 1
    menu_shot "$work/menu-$name.png" 640
    xdotool key Escape Escape
    within 10 kivet_windows_at_most 1

    check "$name: the menu opens again" open_menu_from_keyboard
    xdotool key --delay 150 $4
    input=$(within 10 visible_window "$5")
    check "$name: '$4' opens the input window, titled '$5'" title_is "$input" "$5"
    if [ -n "$input" ]; then
        xdotool windowfocus --sync "$input" key Escape
    fi
    check "$name: Escape closes it" within 10 no_visible_window "$5"

    driver post $callback 0 $select_event >/dev/null
    flyout=$(within 10 visible_window "$6")
    check "$name: the flyout opens, titled '$6'" title_is "$flyout" "$6"
    if [ -n "$flyout" ]; then
        xdotool windowfocus --sync "$flyout"
        sleep 0.5
        window_shot "$flyout" "$work/calendar-$name.png" 0
        xdotool key Escape
    fi

    driver close-class PellowDune.Kivet.Window
    check "$name: Kivet closes" driver wait-gone 15
    wait "$kivet_pid"
    kivet_pid=""
    check "$name: both screenshots were taken" \
        test -s "$work/menu-$name.png" -a -s "$work/calendar-$name.png"
}

# A prefix made afresh under the language's locale, compiled here when the system lacks it: Wine
# keeps the user's formats (short dates, first day of the week) in the prefix, and it names its X
# windows in the C library's locale, which a Cyrillic or Greek title needs.
locales="$work/locales"
fresh_prefix() { # fresh_prefix LOCALE (ll_CC.UTF-8)
    mkdir -p "$locales"
    [ -d "$locales/$1" ] || localedef -i "${1%%.*}" -f UTF-8 "$locales/$1" >/dev/null 2>&1
    kivet_stop_wineserver
    rm -rf "$WINEPREFIX"
    LOCPATH=$locales LANG=$1 LC_ALL=$1 kivet_ensure_prefix
    LOCPATH=$locales LANG=$1 LC_ALL=$1 kivet_start_wineserver
}

mkdir -p "$work"
rm -f "$work/log" "$work"/*.png
unset DISPLAY
export LC_ALL=C.UTF-8 # xdotool reads Cyrillic and Greek window titles in a UTF-8 locale
kivet_wine_env "$work"
kivet_ensure_display || exit 1

fresh_prefix de_DE.UTF-8
run_language de_DE.UTF-8 de t z "Kivet-Zusatzzeile" "Kivet-Kalender"
fresh_prefix sv_SE.UTF-8
run_language sv_SE.UTF-8 sv t e "Extra rad i Kivet" "Kivet-kalender"
fresh_prefix ru_RU.UTF-8
run_language ru_RU.UTF-8 ru "Down Down Down Down Right" "Down Return" \
    "Дополнительная строка Kivet" "Календарь Kivet"
fresh_prefix el_GR.UTF-8
run_language el_GR.UTF-8 el "Down Down Down Down Right" "Down Return" \
    "Πρόσθετη γραμμή του Kivet" "Ημερολόγιο Kivet"
