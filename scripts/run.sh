#!/usr/bin/env bash
# Builds the program and starts it on the local data directory of the program home.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
if [ -x "$root/build/src/app/velmor" ]; then
  exec "$root/build/src/app/velmor" "$@"
fi
exec "$root/build/src/app/velmor-cli" home "$@"
