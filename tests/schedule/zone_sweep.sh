#!/usr/bin/env bash
# zone_sweep.sh BUILD_DIR PROBE.exe: the midnight schedule in every zone that Wine maps.
set -uo pipefail
here=$(dirname "$0")
source "$here/../../scripts/wine-env.sh"
kivet_wine_env "$1"
kivet_ensure_prefix
kivet_ensure_display || exit 1
kivet_start_wineserver 30
python3 "$here/zone_sweep.py" "$2"
status=$?
kivet_stop_display
exit $status
