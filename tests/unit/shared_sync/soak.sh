#!/usr/bin/env bash
# The soak test natively: two copies of the driver, two real processes, on one fresh folder.
# Usage: soak.sh DRIVER SECONDS
set -u
driver=$1
secs=${2:-10}
dir=$(mktemp -d "${TMPDIR:-/tmp}/wdx-netlock.XXXXXX")
trap 'rm -rf "$dir"' EXIT
"$driver" prepare "$dir" 2 || { echo "FAIL prepare"; exit 1; }
"$driver" work "$dir" 1 "$secs" &
one=$!
"$driver" work "$dir" 2 "$secs" &
two=$!
rc=0
wait "$one" || rc=1
wait "$two" || rc=1
"$driver" check "$dir" 2 || rc=1
exit $rc
