# Sourced by the scripts that show Kivet in a Wine virtual desktop with a taskbar:
# `wine explorer /desktop=shell,800x600` made the default for every program of one prefix, on
# an 800x600 Xvfb screen that the desktop fills, so a screenshot of the root window is the
# desktop and its bottom-right corner is the notification area.
# Usage: kivet_desktop_start BUILD_DIR NAME; ... kivet_desktop_shot FILE; kivet_desktop_stop
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

kivet_desktop_start() {
    mkdir -p "$1/$2"
    kivet_wine_env "$1/$2"
    export KIVET_SCREEN=800x600x24
    kivet_ensure_prefix
    kivet_ensure_display || return 1
    kivet_start_wineserver
    if [ ! -f "$WINEPREFIX/.kivet-desktop" ]; then
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 800x600 /f >/dev/null 2>&1
        touch "$WINEPREFIX/.kivet-desktop"
    fi
}

# The whole screen, 8 bits a channel; the format follows the file's extension.
kivet_desktop_shot() {
    import -window root -depth 8 "$1"
}

# The taskbar's right end with the notification area, enlarged 8 times without smoothing.
kivet_desktop_corner_shot() {
    import -window root -depth 8 -crop 96x32+704+568 +repage -filter point -resize 800% "$1"
}

# Whether the notification area looks as in FILE, a corner shot taken earlier.
kivet_desktop_corner_matches() { # kivet_desktop_corner_matches FILE
    kivet_desktop_corner_shot "${1%.png}-now.png"
    [ "$(compare -metric AE "$1" "${1%.png}-now.png" null: 2>&1)" = 0 ]
}

kivet_desktop_stop() {
    kivet_stop_wineserver
    # Let Wine's processes end before their display goes, or each complains about it.
    timeout 10 wineserver -w >/dev/null 2>&1
    kivet_stop_display
}
