# Sourced by the scripts that run Wine: one prefix per build tree, Japanese
# code page, quiet, and the private display that services.sh started.
PEMO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PEMO_BUILD=${PEMO_BUILD:-$PEMO_ROOT/build}
PEMO_RUN=$PEMO_BUILD/run
export WINEPREFIX=$PEMO_BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
if [ -f "$PEMO_RUN/display" ]; then
  DISPLAY=$(cat "$PEMO_RUN/display")
  export DISPLAY
fi
