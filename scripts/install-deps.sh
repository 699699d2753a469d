#!/usr/bin/env bash
# Installs the Debian packages of the given lists (default: scripts/packages.txt), only those missing.
# The lists of test programs (test-packages.txt) go in without recommended packages.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 0 ] && set -- packages.txt
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
updated=no
for list in "$@"; do
  missing=()
  while read -r pkg; do
    pkg=${pkg%%#*}
    pkg=${pkg//[[:space:]]/}
    [ -z "$pkg" ] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done < "$here/$list"
  [ ${#missing[@]} -eq 0 ] && continue
  echo "Installing: ${missing[*]}"
  if [ "$updated" = no ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    updated=yes
  fi
  extra=()
  [ "$list" = test-packages.txt ] && extra=(--no-install-recommends)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${extra[@]}" "${missing[@]}"
done
