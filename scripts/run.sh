#!/usr/bin/env bash
# Builds the program and starts it on the local data directory of the program home.
# --demo starts it instead on a demo register of its own under build/ (created once), with a
# registry file of its own, so a network data path set in real use is never opened.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
if [ "${1:-}" = --demo ]; then
  shift
  demo=$("$root/scripts/demo-home.sh" "$root/build/src/app/velmor-cli" "$root/build/demo-home")
  exec "$root/build/src/app/velmor" --home "$demo" --registry "$demo/registry.ini" "$@"
fi
# Options pass through: --home DIR selects the program home, --screenshots DIR renders the windows.
exec "$root/build/src/app/velmor" "$@"
