#!/usr/bin/env bash
# Runs a Windows program under Wine, as CTest's emulator and for the scripts.
# Wine hands Qt's variables to the program only under its own prefix, and
# QtTest prints to the terminal only when told to. The Wine prefix is made
# once, with the Windows faces the program asks for mapped to IPAPGothic.
set -euo pipefail
export WINEPREFIX=${WINEPREFIX:-${POKORIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pokorin}/wine}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/.pokorin" ]; then
    wineboot -i >/dev/null 2>&1
    reg=$(mktemp --suffix=.reg)
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' \
        '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' |
        iconv -f UTF-8 -t UTF-16 >"$reg"
    wine regedit /S "$reg"
    wineserver -w
    rm -f "$reg"
    touch "$WINEPREFIX/.pokorin"
fi
for var in $(compgen -e | grep '^QT_' || true); do
    export "WINE$var=${!var}"
done
export WINEQT_FORCE_STDERR_LOGGING=1
exec wine "$@"
