# Sourced by the scripts that run the Windows build under Wine:
#   . tools/wine-prefix.sh BUILD_WIN_DIR
# Uses the Wine prefix of that build tree, made once (Windows 10, no Mono or
# Gecko prompts), and starts a Wine server that stays a minute after the last
# program: a fresh server per program costs seconds. Wine's own background
# processes start here, so that a program started later does not hand them its
# output pipe (a caller reading that pipe would wait for them to exit).
export WINEPREFIX="$1/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1 || true
  wineserver -w || true
fi
wineserver -p60 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
