#!/usr/bin/env bash
# signed_release.sh BUILD_DIR VERSION: build-release with a throwaway code-signing certificate,
# its key in a PKCS#12 file and then on a SoftHSM token, and a download address; the signatures
# and the winget manifest checked against what was built.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/checks.sh"
build=$(cd "$1" && pwd)
version=$2
work="$build/release-check/signed"
release="$work/release"
check_log="$work/log"
rm -rf "$work" && mkdir -p "$release" && : >"$check_log"
trap 'report_checks; exit $?' EXIT

echo "throwaway-$$" >"$work/password"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kivet test signer" \
    -addext keyUsage=digitalSignature -addext extendedKeyUsage=codeSigning \
    -keyout "$work/signer.key" -out "$work/signer.pem" >>"$check_log" 2>&1
openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" -out "$work/signer.pfx" \
    -passout "file:$work/password" >>"$check_log" 2>&1
# The same key on a token: SoftHSM's, in a folder of this test's own.
export SOFTHSM2_CONF="$work/softhsm2.conf"
mkdir -p "$work/tokens" && echo "directories.tokendir = $work/tokens" >"$SOFTHSM2_CONF"
module=/usr/lib/softhsm/libsofthsm2.so
echo "4711-$$" >"$work/pin"
openssl pkcs8 -topk8 -nocrypt -in "$work/signer.key" -outform DER -out "$work/signer.der"
softhsm2-util --init-token --free --label kivet-test --pin "$(cat "$work/pin")" \
    --so-pin "so-$$" >>"$check_log" 2>&1
pkcs11-tool --module "$module" --token-label kivet-test --login --pin "$(cat "$work/pin")" \
    --write-object "$work/signer.der" --type privkey --id 01 --label signer >>"$check_log" 2>&1

url=https://example.org/kivet/$version
build_release() { # build_release FOLDER VARIABLE=VALUE...: Kivet.exe packed in FOLDER by build-release
    mkdir -p "$1" && cp "$build/Kivet.exe" "$1/" &&
        env -u KIVET_TIMESTAMP_URL -u KIVET_SIGN_NO_TIMESTAMP "${@:2}" \
            "$here/../../packaging/build-release" "$1" "$version"
}
pfx=(KIVET_SIGN_PFX="$work/signer.pfx" KIVET_SIGN_PASSWORD_FILE="$work/password")
token=(KIVET_SIGN_PKCS11_MODULE="$module" KIVET_SIGN_KEY="pkcs11:token=kivet-test;object=signer"
    KIVET_SIGN_PIN_FILE="$work/pin" KIVET_SIGN_CERT="$work/signer.pem")
check "build-release with KIVET_SIGN_PFX, KIVET_RELEASE_URL and the winget URLs" build_release \
    "$release" "${pfx[@]}" KIVET_SIGN_NO_TIMESTAMP=1 KIVET_RELEASE_URL="$url" \
    KIVET_PUBLISHER_URL=https://example.org/ KIVET_LICENSE_URL=https://example.org/LICENSE
check "build-release with the key on a PKCS#11 token" build_release "$work/token" \
    "${token[@]}" KIVET_SIGN_NO_TIMESTAMP=1
check "without a time-stamp URL, no signed release" eval '! build_release "$work/unstamped" "${token[@]}"'

verified() { [ -f "$1" ] && osslsigncode verify -CAfile "$work/signer.pem" -in "$1"; }
for folder in "$release" "$work/token"; do
    rm -f "$work/Kivet.exe"
    unzip -q "$folder/Kivet-$version-win64.zip" Kivet.exe -d "$work" >>"$check_log" 2>&1
    for file in "$work/Kivet.exe" "$folder/Kivet-$version-win64.msi" \
        "$folder/Kivet-$version-win64-machine.msi"; do
        check "osslsigncode verify $(basename "$file") from $(basename "$folder")" verified "$file"
    done
done
msi="$release/Kivet-$version-win64.msi"
machine_msi="$release/Kivet-$version-win64-machine.msi"
cp "$work/Kivet.exe" "$work/changed.exe" && printf '\220' |
    dd of="$work/changed.exe" bs=1 seek=2048 conv=notrunc 2>>"$check_log"
check "osslsigncode verify refuses Kivet.exe with one byte changed after signing" \
    eval '[ -f "$work/changed.exe" ] && ! verified "$work/changed.exe"'

manifest="$release/winget/PellowDune.Kivet"
has_fields() { # has_fields FILE TYPE FIELD...: ManifestType TYPE, version 1.6.0 and each FIELD
    local field
    for field in "ManifestType: $2" "ManifestVersion: 1.6.0" PackageIdentifier PackageVersion \
        "${@:3}"; do grep -q "^$field" "$1" || return 1; done
}
check "winget version manifest" has_fields "$manifest.yaml" version DefaultLocale
check "winget installer manifest" has_fields "$manifest.installer.yaml" installer Installers \
    "MinimumOSVersion: 10.0.14393.0" \
    "ReleaseDate: $(date -u -d "@$(git -C "$here" log -1 --format=%ct)" +%F)"
check "winget default locale manifest" has_fields "$manifest.locale.en-US.yaml" defaultLocale \
    PackageLocale Publisher "PublisherUrl: https://example.org/$" PackageName License \
    "LicenseUrl: https://example.org/LICENSE$" ShortDescription
installers() { # one line per installer: its fields' values, in the order the manifest gives them
    awk '/^- / { if (line) print line; line = "" }
        /^ *-? +[A-Za-z0-9]+: / { sub(/^[- ]+[^:]+: /, ""); line = line (line ? " " : "") $0 }
        END { print line }' "$manifest.installer.yaml" | tr -d "'"
}
expected() { # expected SCOPE MSI
    echo "x64 wix $1 $url/$(basename "$2") $(sha256sum <"$2" | cut -c1-64 | tr a-f A-F)" \
        "$(msiinfo export "$2" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')" \
        "$(msiinfo export "$2" Property | tr -d '\r' | sed -n 's/^UpgradeCode\t//p')"
}
check "two installers, user and machine, with each signed MSI's URL, hash, Product- and UpgradeCode" \
    diff <(installers) <(expected user "$msi" && expected machine "$machine_msi")
check "no winget manifest without KIVET_RELEASE_URL" test ! -e "$build/winget"
check "KIVET_TIMESTAMP_URL: none of its servers answers, no release" eval '! build_release \
    "$work/unanswered" "${pfx[@]}" KIVET_TIMESTAMP_URL="http://127.0.0.1:9/ http://127.0.0.1:10/"'
