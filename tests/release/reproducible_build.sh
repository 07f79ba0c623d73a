#!/usr/bin/env bash
# reproducible_build.sh SCRATCH_DIR
# Clones the repository's HEAD twice, at paths of different lengths, and builds the release in
# each clone from scratch, the second time under another time zone and umask. Kivet.exe and
# the zip must come out byte for byte the same. Prints both hashes of each.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$1
rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)

commit=$(git -C "$root" rev-parse HEAD)
version=$(sed -n 's/^#define KIVET_VERSION_TEXT "\(.*\)"$/\1/p' "$root/src/common/version.h")
echo "reproducible_build: commit $commit, version $version"

# The packaging takes its time stamps from the commit, not from the caller.
unset SOURCE_DATE_EPOCH

build_clone() {
    local clone=$1
    git clone -q --no-checkout "$root" "$clone"
    git -C "$clone" checkout -q --detach "$commit"
    cmake --preset windows -S "$clone" -B "$clone/build" -DBUILD_TESTING=OFF >"$clone.log" 2>&1
    cmake --build "$clone/build" -j "${JOBS:-2}" --target release >>"$clone.log" 2>&1
}

first="$scratch/a/kivet"
second="$scratch/bb/another-folder/kivet-two"
mkdir -p "$(dirname "$first")" "$(dirname "$second")"
if ! (umask 022 && TZ=UTC build_clone "$first"); then
    tail -n 30 "$first.log"
    exit 1
fi
if ! (umask 077 && TZ=Pacific/Kiritimati build_clone "$second"); then
    tail -n 30 "$second.log"
    exit 1
fi

status=0
for artifact in Kivet.exe "Kivet-$version-win64.zip"; do
    one=$(sha256sum <"$first/build/$artifact" | cut -d' ' -f1)
    two=$(sha256sum <"$second/build/$artifact" | cut -d' ' -f1)
    echo "$artifact"
    echo "  $one  $first/build/$artifact"
    echo "  $two  $second/build/$artifact"
    if [ "$one" != "$two" ]; then
        echo "  DIFFERENT: first differing bytes (offset, octal values):"
        cmp -l "$first/build/$artifact" "$second/build/$artifact" | head -n 8 | sed 's/^/    /'
        status=1
    fi
done
if [ $status -eq 0 ]; then
    rm -rf "$scratch"
    echo "reproducible_build: identical"
fi
exit $status
