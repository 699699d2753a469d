#!/usr/bin/env bash
# Makes a program home holding a demo register (300 households, 3 years, the council's constants
# and villages), once: demo-home.sh VELMOR_CLI HOME. Prints HOME.
set -euo pipefail
cli=$1
home=$2
if [ ! -f "$home/Data/Identificare.dbf" ]; then
  rm -rf "$home/Data.tmp"
  mkdir -p "$home"
  "$cli" demo --data "$home/Data.tmp" --households 300 --years 3 --seed 1 >/dev/null
  rm -rf "$home/Data"
  mv "$home/Data.tmp" "$home/Data"
fi
echo "$home"
