# Shared by start.sh and test.sh: install what is missing, configure, build.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

kalvero_install() {
    local missing=()
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        SUDO=""
        [ "$(id -u)" -ne 0 ] && SUDO="sudo"
        $SUDO apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
    fi
}

# kalvero_build FOLDER [CMAKE OPTION...]
kalvero_build() {
    local ordner="$1"
    shift
    cmake -S . -B "$ordner" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$ordner" -j"$(nproc)"
}

KALVERO_PACKAGES=(cmake make g++ pkg-config qt6-base-dev qt6-qpa-plugins qt6-translations-l10n)
