#!/usr/bin/env bash
# Starts what the tests need: Xvfb on a free display, a fresh Wine prefix with
# a persistent wineserver, and the vendor server on 127.0.0.1:PORT serving
# PAYLOAD. Writes STATE/env for run-under-wine.sh.
#
#   start.sh STATE PAYLOAD PORT
set -euo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/common.sh"
state_paths "$1"
payload=$(realpath "$2")
port=$3

bash "$here/stop.sh" "$state" >/dev/null 2>&1 || true
artifacts=$(realpath -m "$state/../artifacts")
mkdir -p "$state" "$logs" "$artifacts"

if port_in_use "$port"; then
  echo "harness: port $port is taken; the test build's vendor server must listen there (stop what uses it)" >&2
  exit 1
fi

display=$(free_display) || { echo "harness: no free X display" >&2; exit 1; }
start_detached "$state/xvfb.pid" "$logs/xvfb.log" Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "harness: Xvfb did not start (see $logs/xvfb.log)" >&2; exit 1; }

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" DISPLAY=":$display"
if [ -z "${INSTALADOR_KEEP_PREFIX:-}" ]; then rm -rf "$prefix"; fi
bash "$here/../../tools/wine-prefix.sh" "$prefix"
start_detached "$state/wineserver.pid" "$logs/wineserver.log" wineserver -f -p
# Wine starts its services and the desktop's explorer with the first program
# that needs them, and they inherit that program's output. Start them here,
# detached, so that no test's output stays open after the test.
wine cmd /c exit >"$logs/wine-services.log" 2>&1 </dev/null
start_detached "$state/desktop.pid" "$logs/desktop.log" wine explorer /desktop=Default,1280x900

start_detached "$state/vendor.pid" "$logs/vendor-stdout.log" /usr/bin/python3 "$here/../vendor_server/vendor_server.py" \
  --root "$payload" --port "$port" --log "$logs/vendor.jsonl" --ready-file "$state/vendor.port"
for _ in $(seq 100); do [ -s "$state/vendor.port" ] && break; sleep 0.1; done
[ -s "$state/vendor.port" ] || { echo "harness: vendor server did not start (see $logs/vendor-stdout.log)" >&2; exit 1; }

to_windows() { echo "Z:${1//\//\\}"; }
cat >"$state/env" <<ENV
export WINEPREFIX='$prefix'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export DISPLAY=':$display'
export INSTALADOR_VENDOR_URL='http://127.0.0.1:$port'
export INSTALADOR_PAYLOAD='$(to_windows "$payload")'
export INSTALADOR_STANDIN_LOG='$(to_windows "$state/standins.log")'
export INSTALADOR_ARTIFACTS='$(to_windows "$artifacts")'
export INSTALADOR_STANDIN_LIFETIME_MS=3000
ENV
echo "harness: display :$display, vendor server on port $port, prefix $prefix"
