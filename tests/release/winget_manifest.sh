#!/usr/bin/env bash
# winget_manifest.sh BUILD_DIR VERSION RELEASE_URL
# The winget manifest that `make release` wrote with KIVET_RELEASE_URL=RELEASE_URL: the three
# files of the multi-file format carry their required fields, and each installer's URL, hash
# and product code belong to the MSI of its scope as built.
# Prints one line per check and "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/checks.sh"
build=$(cd "$1" && pwd)
version=$2
url=${3%/}/

manifests="$build/winget"
check_log="$build/release-check/winget.log"
mkdir -p "$(dirname "$check_log")"
: >"$check_log"
trap 'report_checks; exit $?' EXIT

field() { # field FILE NAME: the value of a top-level field
    sed -n "s/^$2: //p" "$1"
}
has_fields() { # has_fields FILE NAME=VALUE...: each field present with that value
    local pair
    for pair in "${@:2}"; do
        [ "$(field "$1" "${pair%%=*}")" = "${pair#*=}" ] || {
            echo "$1: ${pair%%=*} is '$(field "$1" "${pair%%=*}")', not '${pair#*=}'"
            return 1
        }
    done
}
installer_field() { # installer_field SCOPE NAME: a field of the installer for SCOPE
    awk -v scope="$1" -v name="$2" '
        /^- / { if (found) exit; delete seen; sub(/^- /, "  ") }
        /^  [A-Za-z0-9]+: / { key = $1; sub(/:$/, "", key); value = $0; sub(/^  [^:]+: /, "", value); gsub(/\047/, "", value)
                              seen[key] = value; if (key == "Scope" && value == scope) found = 1 }
        END { if (found) print seen[name] }' "$manifests/PellowDune.Kivet.installer.yaml"
}
msi_product_code() {
    msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }'
}
installer_matches() { # installer_matches SCOPE MSI
    local sha
    sha=$(sha256sum <"$2" | cut -d' ' -f1)
    has_installer_field "$1" Architecture x64 &&
        has_installer_field "$1" InstallerType wix &&
        has_installer_field "$1" InstallerUrl "$url$(basename "$2")" &&
        has_installer_field "$1" InstallerSha256 "${sha^^}" &&
        has_installer_field "$1" ProductCode "$(msi_product_code "$2")"
}
has_installer_field() { # has_installer_field SCOPE NAME VALUE
    local value
    value=$(installer_field "$1" "$2")
    [ -n "$3" ] && [ "$value" = "$3" ] || {
        echo "$1 installer: $2 is '$value', not '$3'"
        return 1
    }
}

common=(PackageIdentifier=PellowDune.Kivet "PackageVersion=$version" ManifestVersion=1.6.0)
while IFS='|' read -r file fields; do
    IFS=';' read -r -a fields <<<"$fields"
    check "$file: ${fields[0]} and the common fields" \
        has_fields "$manifests/$file" "${common[@]}" "${fields[@]}"
done <<TABLE
PellowDune.Kivet.yaml|ManifestType=version;DefaultLocale=en-US
PellowDune.Kivet.installer.yaml|ManifestType=installer
PellowDune.Kivet.locale.en-US.yaml|ManifestType=defaultLocale;PackageLocale=en-US;Publisher=Pellow Dune;PackageName=Kivet;License=MIT
TABLE
check "the default locale has a ShortDescription" \
    grep -q '^ShortDescription: .' "$manifests/PellowDune.Kivet.locale.en-US.yaml"

while IFS='|' read -r scope msi; do
    check "the $scope installer: URL, hash and product code of $msi" \
        installer_matches "$scope" "$build/$msi"
done <<TABLE
user|Kivet-$version-win64.msi
machine|Kivet-$version-win64-machine.msi
TABLE
check "two installers, no more" \
    test "$(grep -c '^- ' "$manifests/PellowDune.Kivet.installer.yaml")" -eq 2
