#!/usr/bin/env bash
# Sets up, builds and starts Tunemill.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Tunemill's window needs a display. Without one, start it in a virtual X server:" >&2
    echo "    xvfb-run -a scripts/run.sh" >&2
    exit 1
fi
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNEMILL_BENCH=OFF
cmake --build build --target tunemill
# Outside a login session (a virtual X server, a container) nothing provides the runtime folder
# that Qt expects; a private one for this run keeps it from warning.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
build/Tunemill/bin/tunemill "$@"
