#!/usr/bin/env bash
# msi_lifecycle.sh BUILD_DIR VERSION
# The installers after a first install, under Wine: the machine's start-up choice through
# installs over this version, a major upgrade to a next version (this MSI's tables given a new
# ProductCode and a higher version) and the final uninstall; and each refusal, after which
# nothing is installed. Changes the prefix's Windows version: CTest's kivet_release_prefix lock.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/checks.sh"
build=$(cd "$1" && pwd)
version=$2
source "$here/../support/msi.sh"
check_log="$work/lifecycle-log"
: >"$check_log"
trap 'windows_version win10 >/dev/null 2>&1; kivet_stop_wineserver; kivet_stop_display
    report_checks; exit $?' EXIT
msi_prefix || exit 1

next_version=$(echo "$version" | awk -F . '{ print $1 "." $2 "." $3 + 1 }')
next_msi="$work/Kivet-$next_version-win64-machine.msi"
new_code() { tr -d '\n' </proc/sys/kernel/random/uuid | tr a-f A-F; }
cp "$machine_msi" "$next_msi"
# The Upgrade table's versions are keys: its two rows, written anew for the next version.
upgrade_row="INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMin\`, \`VersionMax\`, \`Attributes\`,
    \`ActionProperty\`) VALUES ('$(msi_property "$machine_msi" UpgradeCode)'"
# msibuild takes -s (a new package code) only on its own.
msibuild "$next_msi" -s "Installation Database" "Pellow Dune" "x64;1033" "{$(new_code)}"
check "the next version's MSI, $next_version, made from this one's tables" msibuild "$next_msi" \
    -q "UPDATE \`Property\` SET \`Value\` = '{$(new_code)}' WHERE \`Property\` = 'ProductCode'" \
    -q "UPDATE \`Property\` SET \`Value\` = '$next_version' WHERE \`Property\` = 'ProductVersion'" \
    -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'" \
    -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_DOWNGRADE_DETECTED'" \
    -q "$upgrade_row, '', '$next_version', 1, 'WIX_UPGRADE_DETECTED')" \
    -q "$upgrade_row, '$next_version', '', 2, 'WIX_DOWNGRADE_DETECTED')"

windows() { winepath -w "$1"; }
program_files="$WINEPREFIX/drive_c/Program Files/Kivet"
user_installed="$(unix_folder LOCALAPPDATA)/Programs/Kivet"
# start_choice_is RUN CHOICE: the Run value there or not, and the remembered choice
start_choice_is() {
    echo "Run value: $(reg_value "$machine_run_key" Kivet); choice: $(reg_value "HKLM\\$installer_key" StartForAllUsers)"
    if [ "$1" = yes ]; then reg_has "$machine_run_key" Kivet; else reg_lacks "$machine_run_key" Kivet; fi &&
        [ "$(reg_value "HKLM\\$installer_key" StartForAllUsers)" = "$2" ]
}
for package in "$machine_msi" "$next_msi" "$msi"; do
    wine msiexec /x "$(windows "$package")" /qn >>"$check_log" 2>&1
done

# A repair (msiexec /f) takes no properties: naming one is an install over the same version.
# Each step leaves its package's product the one registered, of the two versions.
# what                msiexec package      property             Run choice
steps="\
a first install       /i     machine_msi  STARTFORALLUSERS=0   no  0
an install over it    /i     machine_msi  STARTFORALLUSERS=1   yes 1
a repair              /fomus machine_msi  -                    yes 1
a major upgrade       /i     next_msi     -                    yes 1
an install over it    /i     next_msi     STARTFORALLUSERS=0   no  0
a repair              /fomus next_msi     -                    no  0
an install over it    /i     next_msi     STARTFORALLUSERS=1   yes 1"
while read -r -a step; do
    count=${#step[@]}
    what="${step[*]:0:count-5}" action=${step[count-5]} package=${step[count-4]}
    property=${step[count-3]} run=${step[count-2]} choice=${step[count-1]}
    [ "$package" = next_msi ] && other=machine_msi || other=next_msi
    [ "$property" = - ] && set -- || set -- "$property"
    wine msiexec "$action" "$(windows "${!package}")" /qn "$@" >>"$check_log" 2>&1
    check "$what, ${property/#-/not naming STARTFORALLUSERS}: Run value $run, choice $choice" \
        eval 'start_choice_is $run $choice && registered "${!package}" && ! registered "${!other}"'
done <<<"$steps"
check "the final uninstall" wine msiexec /x "$(windows "$next_msi")" /qn
check "leaves no Program Files\\Kivet, no Run value, no remembered choice" eval \
    'absent "$program_files" && reg_lacks "$machine_run_key" Kivet && reg_lacks "HKLM\\$installer_key"'

# The refusals, each leaving nothing installed, and the removal that no refusal stops.
# windows msiexec package      property              outcome
steps="\
win10     /i     machine_msi  -                     installs
win10     /i     msi          -                     refused
win81     /x     machine_msi  -                     removed
win81     /i     machine_msi  -                     refused
win81     /i     msi          -                     refused
win10     /i     machine_msi  STARTFORALLUSERS=yes  refused"
outcome_is() { # outcome_is OUTCOME STATUS PACKAGE
    case $1 in
    installs) [ "$2" -eq 0 ] && registered "$3" ;;
    removed) [ "$2" -eq 0 ] && ! registered "$3" && absent "$program_files" ;;
    refused) [ "$2" -ne 0 ] && ! registered "$3" && absent "$user_installed" ;;
    esac
}
windows=win10
while read -r version_wanted action package property outcome; do
    [ "$version_wanted" = "$windows" ] || windows_version "$version_wanted" >>"$check_log" 2>&1
    windows=$version_wanted
    [ "$property" = - ] && set -- || set -- "$property"
    wine msiexec "$action" "$(windows "${!package}")" /qn "$@" >>"$check_log" 2>&1
    status=$?
    check "$outcome: msiexec $action $(basename "${!package}")${1:+ $1} on $windows (exit $status)" \
        outcome_is "$outcome" "$status" "${!package}"
done <<<"$steps"
