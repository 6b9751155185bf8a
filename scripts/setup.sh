#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when they are missing.
# Runs as root, or as a user who may use sudo.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-image-formats-plugins libqt6opengl6-dev libxkbcommon-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    ffmpeg fonts-nanum fonts-dejavu-core xvfb xauth imagemagick xdotool
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
    gstreamer1.0-alsa
)

# How long to wait for another package manager (an upgrade that runs at boot) to let go of its
# locks before giving up.
lock_wait_seconds=${TUNEMILL_APT_LOCK_WAIT:-900}

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
((${#missing[@]})) || exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "setup: installing ${missing[*]} needs root; run this as root or install sudo" >&2
        exit 1
    fi
    as_root=(sudo)
fi

# Runs apt-get as root, waiting while another package manager holds a lock. apt-get waits for
# the dpkg lock itself when told to, but not for the package lists' lock, so a refused lock is
# also tried again until the wait is over.
apt() {
    local deadline=$((SECONDS + lock_wait_seconds)) output status told=""
    while true; do
        status=0
        output=$("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get -o DPkg::Lock::Timeout="$lock_wait_seconds" "$@" 2>&1) || status=$?
        if ((status == 0)); then
            [ -z "$output" ] || printf '%s\n' "$output"
            return 0
        fi
        if ! grep -qE "Could not get lock|Unable to lock|Unable to acquire the dpkg" <<<"$output" ||
            ((SECONDS >= deadline)); then
            printf '%s\n' "$output" >&2
            return "$status"
        fi
        if [ -z "$told" ]; then
            echo "setup: another package manager is running; waiting for it to finish" >&2
            told=yes
        fi
        sleep 5
    done
}

echo "Installing: ${missing[*]}"
apt update -qq
apt install -y -qq --no-install-recommends "${missing[@]}"
