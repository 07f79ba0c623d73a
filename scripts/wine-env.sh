# Sourced by the scripts that run Windows programs: one Wine prefix per build folder,
# a persistent wineserver, and an X display when none is set.
# Usage: kivet_wine_env BUILD_DIR; kivet_ensure_prefix; kivet_ensure_display; ...

kivet_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

kivet_wine_env() {
    local build
    mkdir -p "$1"
    build=$(cd "$1" && pwd) || return 1
    export WINEPREFIX="$build/wine-prefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # Making a prefix must never wait on a Mono or Gecko installer dialog.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    kivet_build="$build"
}

kivet_install_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" weight
    mkdir -p "$fonts"
    for weight in 400 700; do
        local name="lekton-latin-$weight-normal"
        cp "$kivet_root/node_modules/@fontsource/lekton/files/$name.woff2" "$fonts/"
        woff2_decompress "$fonts/$name.woff2" >/dev/null
        rm -f "$fonts/$name.woff2"
    done
}

# Makes the prefix once, under a lock, so parallel test runs share it.
kivet_ensure_prefix() {
    mkdir -p "$kivet_build"
    (
        flock 9
        # A wineboot that failed on a loaded machine leaves a prefix without its system
        # folder, which every later program of the run would fail on: try once more.
        local attempt
        for attempt in 1 2; do
            [ -f "$WINEPREFIX/.kivet-ready" ] && break
            rm -rf "$WINEPREFIX"
            wineboot -i >/dev/null 2>&1
            wineserver -w
            if [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
                kivet_install_fonts
                touch "$WINEPREFIX/.kivet-ready"
            fi
        done
        if [ ! -f "$WINEPREFIX/.kivet-settings-1" ]; then
            # Report the Windows that Kivet is made for. A crashing test program must end
            # (with a backtrace on stderr), not wait on the crash dialog until its timeout.
            wine winecfg /v win10 >/dev/null 2>&1
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
                >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.kivet-settings-1"
        fi
    ) 9>"$kivet_build/wine-prefix.lock"
}

# Keeps one wineserver alive, so every program starts in milliseconds. With a number it
# lingers that many seconds after the last Wine process; without, until killed.
kivet_start_wineserver() {
    wineserver -p${1:-} >/dev/null 2>&1 || true
    # Start Wine's own background processes (services, devices, explorer) here, with their
    # output closed: started by a test program instead, they would inherit its output pipe and
    # keep it open, and whoever reads the pipe would wait for them.
    wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
}

kivet_stop_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
}

kivet_xvfb_pid=""

# Starts Xvfb on a free display when DISPLAY is empty; kivet_stop_display ends it. Xvfb picks
# the number itself and reports it once it takes connections: scenarios that start their
# displays at the same moment never end up sharing one.
kivet_ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local reported tries number
    reported=$(mktemp) || return 1
    Xvfb -displayfd 3 -screen 0 "${KIVET_SCREEN:-1280x1024x24}" -nolisten tcp \
        3>"$reported" >/dev/null 2>&1 &
    kivet_xvfb_pid=$!
    for tries in $(seq 1 300); do
        number=$(head -n 1 "$reported")
        if [ -n "$number" ]; then
            rm -f "$reported"
            export DISPLAY=":$number"
            return 0
        fi
        kill -0 "$kivet_xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$reported"
    kivet_stop_display
    echo "wine-env: could not start Xvfb" >&2
    return 1
}

kivet_stop_display() {
    if [ -n "$kivet_xvfb_pid" ]; then
        kill "$kivet_xvfb_pid" 2>/dev/null || true
        wait "$kivet_xvfb_pid" 2>/dev/null || true
        kivet_xvfb_pid=""
    fi
}
