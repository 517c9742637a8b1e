#!/usr/bin/env bash
# Wendforge's start under Wine (not a test; nothing here fails a build): wdxeditortool starts the
# editor as the player does, ROUNDS times (default 5) for each library, and times the start up
# to the window and up to the macro list shown with its rows painted. Libraries: the five
# built-in macros only, and a full one of 500 macros (495 and the five built-in ones the first
# start adds).
# Needs the Windows build the e2e tests use (win32, or win64 on a host without 32-bit support).
. "$(dirname "$0")/../../tests/e2e/lib.sh"

ROUNDS=${ROUNDS:-5}
trap 'wdx_wine_env_down' EXIT
trap 'exit 130' INT TERM
wdx_wine_env_up || { echo "Wine could not be started"; exit 1; }
for p in Wendforge wdxeditortool; do wdx_exe "$p" >/dev/null || exit 1; done
exe=$(wdx_winepath "$(wdx_exe Wendforge)")
tool=$(wdx_exe wdxeditortool)

dir=$WINEPREFIX/drive_c/wdxbench
rm -rf "$dir"
mkdir -p "$dir"
# A library of N macros (record layout of the library file: nickname, activation, scope, active,
# icon name), written here so that the figure does not depend on a helper's command line length.
python3 - "$dir/FULL.WDX" 495 <<'PY'
import struct, sys
path, count = sys.argv[1], int(sys.argv[2])
codes = [0, 20000, 10000, 30000, 25000, 15000]
with open(path, "wb") as f:
    for n in range(1, count + 1):
        r = bytearray(5165)
        nick = f"Macro {n * 7919 % 1000}".encode()
        r[0] = len(nick); r[1:1 + len(nick)] = nick
        scope = b"Untitled - Notepad"
        r[51] = len(scope); r[52:52 + len(scope)] = scope
        abbrev = f"ab{n % 97}".encode()
        r[82] = len(abbrev); r[83:83 + len(abbrev)] = abbrev
        code = codes[n % 6] or n % 721
        struct.pack_into("<Hh", r, 93, code, 1 + n % 3)
        r[97] = 1
        r[5101] = 4; r[5102:5106] = b"MAIN"
        f.write(r)
PY

echo "== Wendforge: start to the macro list shown ($ROUNDS rounds each)"
for lib in SMALL FULL; do
  printf '[Misc]\r\nCurrent File=C:\\wdxbench\\%s.WDX\r\nFirst Time=No\r\nFirst Use=No\r\n' "$lib" \
    >"$WINEPREFIX/drive_c/windows/WENDX.INI"
  "$WDX_WINE" "$tool" startup "$exe" "$ROUNDS" >"$dir/startup.out" 2>&1
  echo "library $lib:"
  tr -d '\r' <"$dir/startup.out" | sed 's/^/  /'
done
