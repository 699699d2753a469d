#!/usr/bin/env bash
# Builds the program and starts it on the local data directory of the program home.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
# Options pass through: --home DIR selects the program home, --screenshots DIR renders the windows.
exec "$root/build/src/app/velmor" "$@"
