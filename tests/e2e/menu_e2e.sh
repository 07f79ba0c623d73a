#!/usr/bin/env bash
# End-to-end: the real Kivet.exe's tray menu and input window under Wine, on a plain X display
# of its own (menus take keystrokes there; inside a Wine virtual desktop they did not).
#   menu_e2e.sh BUILD_DIR
# The shell's right-click is posted to the main window; the menu is then driven with xdotool
# keystrokes and the result read back with `wine reg query`. Screenshots of the open menu and
# of the input window land in BUILD_DIR/menu-e2e/. Prints one line per check and
# "N passed, N failed"; exit 0 when nothing failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
source "$here/../../scripts/wine-env.sh"
source "$here/../support/checks.sh"

kivet="$build/Kivet.exe"
helper="$build/tests/e2e/menu-helper.exe"
work="$build/menu-e2e"
check_log="$work/log"
settings='HKCU\Software\Pellow Dune\Kivet'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Where the menu opens; the screenshots are cut from here.
menu_x=400
menu_y=300
kivet_pid=""

trap finish_kivet_scenario EXIT
trap 'exit 130' INT TERM

# The data of one value, or nothing when it is absent.
value_of() { # value_of KEY NAME
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# Waits up to ten seconds for the value to read EXPECTED: a command that closes a window
# returns only once Wine has seen it withdrawn, which takes two seconds without a window
# manager, and saves after that.
has_value() { # has_value KEY NAME EXPECTED
    within 10 value_reads "$@"
}

value_reads() { # value_reads KEY NAME EXPECTED
    local actual
    actual=$(value_of "$1" "$2")
    echo "$2: '$actual', want '$3'"
    [ "$actual" = "$3" ]
}

has_no_value() { # has_no_value KEY NAME
    within 10 value_absent "$@"
}

value_absent() { # value_absent KEY NAME
    ! wine reg query "$1" /v "$2" >/dev/null 2>&1
}

# Waits up to ten seconds for no window to have this title.
window_gone() { # window_gone TITLE
    within 10 no_window_named "$1"
}

no_window_named() { # no_window_named TITLE
    ! xdotool search --name "^$1\$" >/dev/null 2>&1
}

# Opens the menu as a right-click on the icon would and waits until it is on screen, so that
# no keystroke goes anywhere else.
# Waits first for the last menu or window to be gone.
open_menu() {
    local deadline=$((SECONDS + 15))
    while [ "$(kivet_windows)" -gt "$idle_windows" ] && [ $SECONDS -lt $deadline ]; do
        sleep 0.1
    done
    xdotool mousemove "$menu_x" "$menu_y"
    wine "$helper" open-menu || return 1
    while [ "$(kivet_windows)" -le "$idle_windows" ]; do
        if [ $SECONDS -ge $deadline ]; then
            echo "the menu did not open" >>"$work/log"
            return 1
        fi
        sleep 0.1
    done
    # Shown is not yet taking keys: after 0.3 s a loaded machine once lost the first Down.
    sleep 0.6
}

# Opens the menu and types KEYS into it; X queues them, the menu takes them in order.
menu() { # menu KEYS...
    open_menu || return 1
    xdotool key --delay 150 "$@"
}

# Waits for a top-level window with exactly this title; prints its X id.
window_named() { # window_named TITLE SECONDS
    within "$2" first_window_named "$1"
}

first_window_named() { # first_window_named TITLE
    local id
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && echo "$id"
}

# Whether Kivet's process has a DLL of this name mapped, within ten seconds.
kivet_maps() { # kivet_maps DLL yes|no
    within 10 maps_now "$@"
}

maps_now() { # maps_now DLL yes|no
    local found=no
    grep -qi "/$1\$" "/proc/$kivet_pid/maps" && found=yes
    echo "$1 mapped: $found, want $2"
    [ "$found" = "$2" ]
}

# Gives the keyboard to a window as soon as it can take it: it may be found by its title
# before it is mapped, and focusing it then fails.
focus_window() { # focus_window X-WINDOW
    within 10 xdotool windowfocus --sync "$1" 2>/dev/null
}

exits_with() { # exits_with PID CODE SECONDS
    local deadline=$((SECONDS + $3))
    while kill -0 "$1" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && return 1
    wait "$1"
    local status=$?
    echo "exit code $status"
    [ "$status" -eq "$2" ]
}

mkdir -p "$work"
rm -f "$work/log" "$work"/*.png
unset DISPLAY
kivet_wine_env "$work"
kivet_ensure_prefix
kivet_ensure_display || exit 1
kivet_start_wineserver

wine reg delete "$settings" /f >/dev/null 2>&1
wine reg delete "$run_key" /v Kivet /f >/dev/null 2>&1
quoted_path="\"$(winepath -w "$kivet" | tr -d '\r')\""

wine "$kivet" >/dev/null 2>&1 &
kivet_pid=$!
check "Kivet starts and creates its main window" wine "$helper" wait-window 30
sleep 1
idle_windows=$(kivet_windows)

# Font: the fifth entry; its submenu opens on Calibri, which Return chooses.
menu Down Down Down Down Down Right Return
check "Font > Calibri saves the face" has_value "$settings" Font Calibri

# Font > Other…: the system font dialog, whose DLL is there only while it is open.
check "comdlg32.dll is not loaded before the font dialog opens" kivet_maps comdlg32.dll no
menu Down Down Down Down Down Right Down Down Return
font_dialog=$(window_named "Font" 10)
check "Font > Other… opens the font dialog" test -n "$font_dialog"
check "comdlg32.dll is loaded while it is open" kivet_maps comdlg32.dll yes
if [ -n "$font_dialog" ]; then
    focus_window "$font_dialog"
    xdotool key Escape
fi
check "Escape closes the font dialog" window_gone "Font"
check "comdlg32.dll is freed once it has closed" kivet_maps comdlg32.dll no
check "Cancel leaves the face as it was" has_value "$settings" Font Calibri
menu Down Down Down Down Down Right Down Down Return
font_dialog=$(window_named "Font" 10)
if [ -n "$font_dialog" ]; then
    focus_window "$font_dialog"
    xdotool key ctrl+a
    xdotool type --delay 100 Lekton
    xdotool key Return
fi
check "OK in the font dialog saves the face typed there" has_value "$settings" Font Lekton

menu Down Down Right Down Return
check "Additional line position > Below saves 2" has_value "$settings" AdditionalLinePosition 0x2

menu Down Down Down Right Return
check "Leading zero > On saves 1" has_value "$settings" LeadingZero 0x1

menu Down Down Down Down Right Down Return
check "Text colours > White text saves 1" has_value "$settings" ColourScheme 0x1

# The third colour item; the picture shows the submenu with the mark already on it.
menu Down Down Down Down Right Down Down Return
check "Text colours > Match the taskbar saves 1" has_value "$settings" FollowTaskbarTheme 0x1
check "and keeps the scheme chosen last" has_value "$settings" ColourScheme 0x1
menu Down Down Down Down Right Down Down
sleep 1
menu_shot "$work/menu.png"
xdotool key Escape Escape
menu Down Down Down Down Right Return
check "Text colours > Black text ends matching the taskbar" \
    has_value "$settings" FollowTaskbarTheme 0x0
check "and saves 0" has_value "$settings" ColourScheme 0x0

# Text colours > Custom text colour…: Windows' colour dialog, with comdlg32 loaded for it alone.
menu Down Down Down Down Right Down Down Down Return
colour_dialog=$(window_named "Color" 10)
check "Custom text colour… opens the colour dialog" test -n "$colour_dialog"
check "comdlg32.dll is loaded while the colour dialog is open" kivet_maps comdlg32.dll yes
[ -n "$colour_dialog" ] && focus_window "$colour_dialog" && xdotool key Escape
check "Escape closes the colour dialog" window_gone "Color"
check "and stores no text colour" has_no_value "$settings" TextColour

menu Down Down Down Down Down Down Right Return
check "Start with Windows > Yes writes the quoted path" has_value "$run_key" Kivet "$quoted_path"

menu Down Down Down Down Down Down Right Down Return
check "Start with Windows > No removes it" has_no_value "$run_key" Kivet

# Additional line: the input window opens with the text selected, so typing replaces it.
menu Down Return
input=$(window_named "Kivet additional line" 10)
check "Additional line… opens the input window" test -n "$input"
if [ -n "$input" ]; then
    xdotool windowfocus --sync "$input"
    xdotool type --delay 100 "KW 1"
    sleep 0.5
    window_shot "$input" "$work/input-window.png"
    xdotool key Return
fi
check "Return accepts the typed line and it is saved" has_value "$settings" AdditionalLine "KW 1"

menu Down Down Down Down Down Down Down Down Return
about=$(window_named "About Kivet" 10)
check "About Kivet… shows the About box" test -n "$about"
if [ -n "$about" ]; then
    xdotool windowfocus --sync "$about"
    xdotool key Return
fi
check "the About box closes with Return" window_gone "About Kivet"
check "Kivet still runs" kill -0 "$kivet_pid"

menu Down Down Down Down Down Down Down Down Down Return
check "Exit ends Kivet with exit code 0" exits_with "$kivet_pid" 0 30
kivet_pid=""
check "the main window is gone" wine "$helper" wait-gone 5

# A machine policy's colour over the user's own: the colour items are greyed, so choosing
# "Custom text colour…" opens nothing and the user's colour stays stored for later.
policy='HKLM\Software\Policies\Pellow Dune\Kivet'
wine reg add "$settings" /v TextColour /t REG_DWORD /d 255 /f >/dev/null 2>&1
wine reg add "$policy" /v TextColour /t REG_DWORD /d 65280 /f >/dev/null 2>&1
wine "$kivet" >/dev/null 2>&1 &
kivet_pid=$!
check "Kivet starts again under a colour policy" wine "$helper" wait-window 30
sleep 1
menu Down Down Down Down Right Down Down Down Return
check "the greyed Custom text colour… opens no dialog" eval '! window_named Color 3'
# Windows keeps a menu open on a greyed item's Return; Wine closes it.
xdotool key Escape Escape
check "the user's own colour stays stored" has_value "$settings" TextColour 0xff
wine reg delete "$policy" /f >/dev/null 2>&1
menu Down Down Down Down Down Down Down Down Down Return
check "Exit ends it again" exits_with "$kivet_pid" 0 30
kivet_pid=""
check "the menu screenshot was taken" test -s "$work/menu.png"
check "the input window screenshot was taken" test -s "$work/input-window.png"
