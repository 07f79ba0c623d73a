#!/usr/bin/env bash
# msi_install.sh BUILD_DIR VERSION
# The installer for real, under Wine, in a prefix of its own: msiexec /i /qn puts Kivet.exe,
# its texts and the Start-menu shortcut into the user's profile and registers the product for
# this user only; the installed exe starts, and ends on WM_CLOSE with exit code 0; msiexec /x
# /qn takes away what it installed and leaves the user's settings and "Run" entry alone.
# Then the per-machine installer: Program Files, and with STARTFORALLUSERS=1 the machine's Run
# value; uninstalling takes all of it away.
# Prints one line per check and "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/checks.sh"
build=$(cd "$1" && pwd)
version=$2
source "$here/../support/msi.sh"

driver="$build/tests/e2e/kivet-driver.exe"
product_code="{0732FD62-6512-4B72-8B64-0508D73935A1}"
# How Windows Installer spells that code in its registry keys.
packed_code=26DF2370215627B4B84650807D93531A
settings_key='HKCU\Software\Pellow Dune\Kivet'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

kivet_pid=""
trap finish_kivet_scenario EXIT
trap 'exit 130' INT TERM

: >"$work/log"
machine_product_code="{A1BFBA3C-AA21-498E-BCC7-86EF5BE10120}"
machine_packed_code=C3ABFB1A12AAE894CB7C68FEB51E1002
for needed in "$msi" "$machine_msi" "$driver"; do
    if [ ! -f "$needed" ]; then
        fail_check "missing $needed"
        exit 1
    fi
done

msi_prefix || exit 1

same_file() { cmp "$1" "$2"; }
shortcut_points_at() { # shortcut_points_at PATTERN: the shortcut's target matches it
    # A shell link keeps its target's path as UTF-16 and/or ANSI text.
    { strings -a "$shortcut"; strings -a -el "$shortcut"; } | grep -i "$1"
}
starts() { # starts EXE: runs it until its main window exists
    wine "$1" &
    kivet_pid=$!
    wine "$driver" wait-window 60
}
closes() { # Kivet ends on WM_CLOSE with exit code 0
    wine "$driver" post 0x0010 0 0 || return 1 # WM_CLOSE
    local status
    wait "$kivet_pid"
    status=$?
    kivet_pid=""
    echo "Kivet.exe exit code $status"
    [ "$status" -eq 0 ]
}
runs_and_closes() { starts "$installed/Kivet.exe" && closes; }
menus_open() { # menus_open COUNT: Kivet has that many menu windows mapped
    [ "$(xdotool search --onlyvisible --classname '^kivet\.exe$' 2>/dev/null | wc -l)" -eq "$1" ]
}
# The icon's context-menu event opens the menu at its anchor (400, 300), as the keyboard does; the
# access key "S" of "Start with Windows" then opens its submenu, pressed again while a busy menu
# misses it.
opens_start_submenu() {
    xdotool mousemove 400 300
    wine "$driver" post 0x8001 $(((300 << 16) | 400)) 0x1007B || return 1
    within 15 menus_open 1 && within 10 presses_into_submenu
}
presses_into_submenu() {
    xdotool key s
    menus_open 2
}
start_submenu_looks() { # start_submenu_looks LOOK-OF-YES LOOK-OF-NO
    local look
    look=$(wine "$driver" menu-look 2 | tr -d '\r')
    echo "$look"
    [ "$look" = "$1"$'\n'"$2" ]
}

installed="$(unix_folder LOCALAPPDATA)/Programs/Kivet"
shortcut="$(unix_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Kivet.lnk"

# A run that failed half-way must not leave this one a product already installed.
wine msiexec /x "$product_code" /qn >>"$work/log" 2>&1
check "nothing of Kivet in the fresh prefix" absent "$installed"

check "msiexec /i /qn succeeds" wine msiexec /i "$(winepath -w "$msi")" /qn
check "Kivet.exe installed under LocalAppData\\Programs\\Kivet, same bytes as built" \
    same_file "$installed/Kivet.exe" "$build/Kivet.exe"
check "README.txt and LICENSE.txt installed beside it" \
    present "$installed/README.txt" "$installed/LICENSE.txt"
check "Start-menu shortcut in the user's Programs" present "$shortcut"
check "the shortcut points at the installed exe" \
    shortcut_points_at 'AppData\\Local\\Programs\\Kivet\\Kivet\.exe$'
check "registered for this user only (HKCU Installer\\Products)" \
    reg_has "HKCU\\Software\\Microsoft\\Installer\\Products\\$packed_code"
check "not registered for the machine" \
    reg_lacks "HKLM\\Software\\Classes\\Installer\\Products\\$packed_code"
check "nothing installed under Program Files" absent "$WINEPREFIX/drive_c/Program Files/Kivet"

check "the installed exe starts and ends on WM_CLOSE with exit code 0" runs_and_closes

# What the program itself writes belongs to the user, not to the installer.
wine reg add "$settings_key" /v LeadingZero /t REG_DWORD /d 1 /f >>"$work/log" 2>&1
wine reg add "$run_key" /v Kivet /d "\"C:\\Somewhere\\Kivet.exe\"" /f >>"$work/log" 2>&1

check "msiexec /x /qn succeeds" wine msiexec /x "$(winepath -w "$msi")" /qn
check "Kivet.exe removed" absent "$installed/Kivet.exe"
check "README.txt and LICENSE.txt removed" absent "$installed/README.txt" "$installed/LICENSE.txt"
check "the Kivet folder removed" absent "$installed"
check "the shortcut removed" absent "$shortcut"
check "the installer's registry values removed" reg_lacks "$settings_key\\Installer"
check "the product registration removed" \
    reg_lacks "HKCU\\Software\\Microsoft\\Installer\\Products\\$packed_code"
check "the user's settings stay" reg_has "$settings_key" LeadingZero
check "the user's Run entry stays" reg_has "$run_key" Kivet
wine reg delete "$run_key" /v Kivet /f >>"$work/log" 2>&1
wine reg delete "$settings_key" /f >>"$work/log" 2>&1

# The per-machine installer, as an administrator deploys it. Windows gives it the all-users
# Start menu; Wine 8 puts its shortcut into the installing user's.
machine_msi_windows=$(winepath -w "$machine_msi")
program_files="$WINEPREFIX/drive_c/Program Files/Kivet"
machine_run_value() { wine reg query "$machine_run_key" /v Kivet | tr -d '\r' | grep -F "$1"; }
wine msiexec /x "$machine_product_code" /qn >>"$work/log" 2>&1

check "msiexec /i /qn STARTFORALLUSERS=1 succeeds" \
    wine msiexec /i "$machine_msi_windows" /qn STARTFORALLUSERS=1
check "Kivet.exe and its texts installed under Program Files\\Kivet" eval 'present \
    "$program_files/LICENSE.txt" && same_file "$program_files/Kivet.exe" "$build/Kivet.exe"'
check "the Start-menu shortcut points at Program Files" \
    shortcut_points_at 'Program Files\\Kivet\\Kivet\.exe$'
check "the machine's Run value holds the quoted exe path" \
    machine_run_value 'REG_SZ    "C:\Program Files\Kivet\Kivet.exe"'
check "registered for the machine" \
    reg_has "HKLM\\Software\\Classes\\Installer\\Products\\$machine_packed_code"
# The administrator's choice, as the user meets it in the installed Kivet's menu.
check "the installed Kivet starts from Program Files" starts "$program_files/Kivet.exe"
check "its menu opens the \"Start with Windows\" submenu" opens_start_submenu
check "which shows \"Yes\" checked, and \"Yes\" and \"No\" greyed" \
    within 10 start_submenu_looks "checked greyed" "unchecked greyed"
xdotool key Escape Escape
within 10 menus_open 0
check "Kivet ends on WM_CLOSE with exit code 0" closes
check "msiexec /x /qn succeeds" wine msiexec /x "$machine_msi_windows" /qn
check "Program Files\\Kivet, the shortcut and the machine's Run value removed" eval \
    'absent "$program_files" "$shortcut" && reg_lacks "$machine_run_key" Kivet'
check "without STARTFORALLUSERS: installed, no Run value" eval 'wine msiexec /i \
    "$machine_msi_windows" /qn && present "$program_files/Kivet.exe" &&
    reg_lacks "$machine_run_key" Kivet'
wine msiexec /x "$machine_msi_windows" /qn >>"$work/log" 2>&1
