#!/usr/bin/env bash
# Starts velt02 from the folder "run/" of the checkout. When there is no velt.ini there, writes one
# naming the embedded database run/dados/VELT02.FDB, which the program creates at its first start.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$top/run/dados"
cd "$top/run"
if [ ! -f velt.ini ]; then
  printf 'SYSDBA\r\nmasterkey\r\n%s\r\n' "$top/run/dados/VELT02.FDB" > velt.ini
fi
exec "$top/build/src/velt02" "$@"
