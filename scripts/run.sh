#!/usr/bin/env bash
# Sets up, builds and starts Tunemill.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNEMILL_BENCH=OFF
cmake --build build --target tunemill
exec build/Tunemill/bin/tunemill "$@"
