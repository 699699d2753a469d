#!/usr/bin/env bash
# Builds the Debian package velmor_<version>_amd64.deb into build/ and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/build"
cpack -G DEB >/dev/null
ls "$root"/build/velmor_*_amd64.deb
