#!/usr/bin/env bash
# msi_lifecycle.sh BUILD_DIR VERSION: the installers after a first install, under Wine. The
# machine's start-up choice through installs over it, repairs, a major upgrade to a next version
# (this MSI's tables with a new ProductCode and a higher version), also from an install that
# remembered no choice, and the final uninstall; each
# refusal, after which nothing is installed. Sets the prefix's Windows version: CTest's
# kivet_release_prefix lock.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/checks.sh"
build=$(cd "$1" && pwd)
version=$2
source "$here/../support/msi.sh"
check_log="$work/lifecycle-log"
: >"$check_log"
trap 'windows_version win10; kivet_stop_wineserver; kivet_stop_display; report_checks; exit $?' EXIT
msi_prefix || exit 1

next_version=${version%.*}.$((${version##*.} + 1))
next_msi="$work/Kivet-$next_version-win64-machine.msi"
new_code() { tr -d '\n' </proc/sys/kernel/random/uuid | tr a-f A-F; }
cp "$machine_msi" "$next_msi"
# msibuild takes -s (a new package code) only alone; the Upgrade table's versions are keys.
msibuild "$next_msi" -s "Installation Database" "Pellow Dune" "x64;1033" "{$(new_code)}"
upgrade_row="INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Attributes, ActionProperty)
    VALUES ('$(msi_property "$machine_msi" UpgradeCode)'"
check "the next version's MSI, $next_version, made from this one's tables" msibuild "$next_msi" \
    -q "UPDATE Property SET Value = '{$(new_code)}' WHERE Property = 'ProductCode'" \
    -q "UPDATE Property SET Value = '$next_version' WHERE Property = 'ProductVersion'" \
    -q "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'" \
    -q "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_DOWNGRADE_DETECTED'" \
    -q "$upgrade_row, '', '$next_version', 1, 'WIX_UPGRADE_DETECTED')" \
    -q "$upgrade_row, '$next_version', '', 2, 'WIX_DOWNGRADE_DETECTED')"

program_files="$WINEPREFIX/drive_c/Program Files/Kivet"
user_installed="$(unix_folder LOCALAPPDATA)/Programs/Kivet"
other_version() { [ "$1" = "$next_msi" ] && echo "$machine_msi" || echo "$next_msi"; }
outcome_is() { # outcome_is OUTCOME STATUS PACKAGE RUN CHOICE ("-": no remembered choice)
    case $1 in
    installs) [ "$2" -eq 0 ] && registered "$3" && ! registered "$(other_version "$3")" ;;
    removed) [ "$2" -eq 0 ] && ! registered "$3" && absent "$program_files" ;;
    refused) [ "$2" -ne 0 ] && ! registered "$3" && absent "$user_installed" ;;
    esac || return 1
    if [ "$4" = yes ]; then reg_has "$machine_run_key" Kivet; else reg_lacks "$machine_run_key" Kivet; fi &&
        [ "$(reg_value "HKLM\\$installer_key" StartForAllUsers)" = "${5#-}" ]
}
for package in "$machine_msi" "$next_msi" "$msi"; do wine msiexec /x "$(winepath -w "$package")" /qn; done >>"$check_log" 2>&1

# A repair is REINSTALL=ALL (Wine's msiexec /f fails); naming STARTFORALLUSERS over the same
# version makes one too. "forget" deletes the remembered choice: an install as 0.2.1 left it.
# windows msiexec package      property              outcome  Run choice
steps="\
win10     /i     machine_msi  STARTFORALLUSERS=1    installs yes 1
win10     forget machine_msi  -                     installs yes -
win10     /i     next_msi     -                     installs yes 1
win10     /x     next_msi     -                     removed  no  -
win10     /i     machine_msi  STARTFORALLUSERS=0    installs no  0
win10     /i     machine_msi  STARTFORALLUSERS=1    installs yes 1
win10     /i     machine_msi  REINSTALL=ALL         installs yes 1
win10     /i     next_msi     -                     installs yes 1
win10     /i     next_msi     STARTFORALLUSERS=0    installs no  0
win10     /i     next_msi     REINSTALL=ALL         installs no  0
win10     /i     next_msi     STARTFORALLUSERS=1    installs yes 1
win10     /i     msi          -                     refused  yes 1
win81     /x     next_msi     -                     removed  no  -
win81     /i     machine_msi  -                     refused  no  -
win81     /i     msi          -                     refused  no  -
win10     /i     machine_msi  STARTFORALLUSERS=yes  refused  no  -"
windows=win10
while read -r wanted action package property outcome run choice; do
    [ "$wanted" = "$windows" ] || windows_version "$wanted"
    windows=$wanted
    [ "$property" = - ] && set -- || set -- "$property"
    if [ "$action" = forget ]; then
        wine reg delete "HKLM\\$installer_key" /v StartForAllUsers /f
    else
        wine msiexec "$action" "$(winepath -w "${!package}")" /qn "$@"
    fi >>"$check_log" 2>&1
    status=$?
    check "$outcome: msiexec $action ${!package##*/}${1:+ $1} on $windows (exit $status); Run\
 value: $run, choice: $choice" outcome_is "$outcome" "$status" "${!package}" "$run" "$choice"
done <<<"$steps"
