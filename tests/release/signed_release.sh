#!/usr/bin/env bash
# signed_release.sh BUILD_DIR VERSION: build-release with a throwaway code-signing certificate
# and a download address; the signatures and the winget manifest checked against what was built.
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
cp "$build/Kivet.exe" "$release/"
url=https://example.org/kivet/$version
check "build-release with KIVET_SIGN_PFX and KIVET_RELEASE_URL" env -u KIVET_TIMESTAMP_URL \
    KIVET_SIGN_PFX="$work/signer.pfx" KIVET_SIGN_PASSWORD_FILE="$work/password" \
    KIVET_RELEASE_URL="$url" "$here/../../packaging/build-release" "$release" "$version"

msi="$release/Kivet-$version-win64.msi"
machine_msi="$release/Kivet-$version-win64-machine.msi"
unzip -q "$release/Kivet-$version-win64.zip" Kivet.exe -d "$work" >>"$check_log" 2>&1
cp "$work/Kivet.exe" "$work/changed.exe" && printf '\220' |
    dd of="$work/changed.exe" bs=1 seek=2048 conv=notrunc 2>>"$check_log"
verified() { [ -f "$1" ] && osslsigncode verify -CAfile "$work/signer.pem" -in "$1"; }
for file in "$work/Kivet.exe" "$msi" "$machine_msi"; do
    check "osslsigncode verify $(basename "$file")" verified "$file"
done
check "osslsigncode verify refuses Kivet.exe with one byte changed after signing" \
    eval '[ -f "$work/changed.exe" ] && ! verified "$work/changed.exe"'

manifest="$release/winget/PellowDune.Kivet"
has_fields() { # has_fields FILE TYPE FIELD...: ManifestType TYPE, version 1.6.0 and each FIELD
    local field
    for field in "ManifestType: $2" "ManifestVersion: 1.6.0" PackageIdentifier PackageVersion \
        "${@:3}"; do grep -q "^$field" "$1" || return 1; done
}
check "winget version manifest" has_fields "$manifest.yaml" version DefaultLocale
check "winget installer manifest" has_fields "$manifest.installer.yaml" installer Installers
check "winget default locale manifest" has_fields "$manifest.locale.en-US.yaml" defaultLocale \
    PackageLocale Publisher PackageName License ShortDescription
installers() { # one line per installer: its fields' values, in the order the manifest gives them
    awk '/^- / { if (line) print line; line = "" }
        /^ *-? +[A-Za-z0-9]+: / { sub(/^[- ]+[^:]+: /, ""); line = line (line ? " " : "") $0 }
        END { print line }' "$manifest.installer.yaml" | tr -d "'"
}
expected() { # expected SCOPE MSI
    echo "x64 wix $1 $url/$(basename "$2") $(sha256sum <"$2" | cut -c1-64 | tr a-f A-F)" \
        "$(msiinfo export "$2" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')"
}
check "two installers, user and machine, with each signed MSI's URL, hash and product code" \
    diff <(installers) <(expected user "$msi" && expected machine "$machine_msi")
check "no winget manifest without KIVET_RELEASE_URL" test ! -e "$build/winget"
check "KIVET_TIMESTAMP_URL: no answer, no release" eval '! KIVET_TIMESTAMP_URL=http://127.0.0.1:9/ \
    KIVET_SIGN_PFX="$work/signer.pfx" KIVET_SIGN_PASSWORD_FILE="$work/password" \
    "$here/../../packaging/build-release" "$release" "$version"'
