# Sourced by the installer tests, after checks.sh: the Wine prefix they share (the build
# folder's release-check/msi, taken under CTest's kivet_release_prefix lock), and what they ask
# of it. The sourcing script sets build (the build folder) and version first.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"

msi="$build/Kivet-$version-win64.msi"
machine_msi="$build/Kivet-$version-win64-machine.msi"
work="$build/release-check/msi"
check_log="$work/log"
mkdir -p "$work"
machine_run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
installer_key='Software\Pellow Dune\Kivet\Installer'

msi_prefix() { # a prefix and wineserver of the tests' own, on a display of their own
    kivet_wine_env "$work"
    kivet_ensure_prefix
    kivet_ensure_display || return 1
    kivet_start_wineserver
}
unix_folder() { # the Unix path of a Windows environment folder, e.g. LOCALAPPDATA
    winepath -u "$(wine cmd.exe /c echo "%$1%" | tr -d '\r')"
}
reg_has() { # reg_has KEY [VALUE]
    if [ $# -eq 2 ]; then
        wine reg query "$1" /v "$2"
    else
        wine reg query "$1"
    fi
}
reg_lacks() {
    ! reg_has "$@"
}
reg_value() { # reg_value KEY VALUE: the value's data, or nothing
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
present() { # present PATH...
    local path
    for path; do [ -e "$path" ] || return 1; done
}
absent() { # absent PATH...
    local path
    for path; do [ ! -e "$path" ] || return 1; done
}
msi_property() { # msi_property MSI NAME
    msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' -v name="$2" '$1 == name { print $2 }'
}
windows_version() { wine winecfg -v "$1" >>"$check_log" 2>&1; } # win81, win10, ...
registered() { # registered MSI: its ProductCode has an uninstall entry of its version
    local entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\'
    entry+=$(msi_property "$1" ProductCode)
    [ "$(reg_value "$entry" DisplayVersion)" = "$(msi_property "$1" ProductVersion)" ]
}
