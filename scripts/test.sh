#!/usr/bin/env bash
# Builds everything and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" packages.txt test-packages.txt
"$root/scripts/build.sh"
cd "$root/build"
# Window tests carry their own 120 s limit; this one covers the rest.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600
