#!/usr/bin/env bash
# signing.sh BUILD_DIR VERSION
# The release signed with a throwaway code-signing certificate: packaging/build-release, run on
# a copy of BUILD_DIR/Kivet.exe with KIVET_SIGN_PFX and KIVET_SIGN_PASSWORD_FILE, signs Kivet.exe
# before it is zipped and packed, and both installers; osslsigncode verifies each against that
# certificate alone, and refuses a file changed after signing.
# Prints one line per check and "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/checks.sh"
build=$(cd "$1" && pwd)
version=$2

work="$build/release-check/signing"
check_log="$work/log"
rm -rf "$work"
mkdir -p "$work/release"
: >"$check_log"
trap 'report_checks; exit $?' EXIT

password="$work/password"
certificate="$work/signer.pem"
echo "throwaway-$$" >"$password"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kivet test signer" \
    -addext "keyUsage=digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$work/signer.key" -out "$certificate" >>"$check_log" 2>&1
openssl pkcs12 -export -inkey "$work/signer.key" -in "$certificate" -out "$work/signer.pfx" \
    -passout "file:$password" >>"$check_log" 2>&1

cp "$build/Kivet.exe" "$work/release/"
release="$work/release"
name="Kivet-$version-win64"
check "build-release signs with KIVET_SIGN_PFX" \
    env -u KIVET_TIMESTAMP_URL -u KIVET_RELEASE_URL \
    KIVET_SIGN_PFX="$work/signer.pfx" KIVET_SIGN_PASSWORD_FILE="$password" \
    "$here/../../packaging/build-release" "$release" "$version"

verified() { osslsigncode verify -CAfile "$certificate" -in "$1"; }
refused() { [ -f "$1" ] && ! verified "$1"; }
unzip -q -o "$release/$name.zip" Kivet.exe -d "$work/zip" >>"$check_log" 2>&1
msiextract -C "$work/msi" "$release/$name-machine.msi" >>"$check_log" 2>&1
while IFS='|' read -r what file; do
    check "signed and verified: $what" verified "$file"
done <<TABLE
Kivet.exe in the zip|$work/zip/Kivet.exe
Kivet.exe inside the machine installer|$work/msi/Kivet/Kivet.exe
the per-user installer|$release/$name.msi
the per-machine installer|$release/$name-machine.msi
TABLE

changed="$work/changed.exe"
cp "$work/zip/Kivet.exe" "$changed" 2>>"$check_log"
printf '\x90' | dd of="$changed" bs=1 seek=2048 conv=notrunc 2>>"$check_log"
check "one byte changed after signing fails verification" refused "$changed"
check "SHA256SUMS holds the signed files' sums" bash -c 'cd "$1" && sha256sum -c SHA256SUMS' - "$release"
check "no winget manifest without KIVET_RELEASE_URL" test ! -e "$release/winget"
