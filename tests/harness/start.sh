#!/usr/bin/env bash
# Starts what the tests need: Xvfb on a free display, a fresh Wine prefix with
# a persistent wineserver, and the vendor server on 127.0.0.1:PORT serving
# PAYLOAD, with two HTTPS twins: on PORT+1 with a certificate from a test CA
# that the prefix trusts (TRUST_TOOL adds it), on PORT+2 with one nobody
# trusts. Writes STATE/env for run-under-wine.sh.
#
#   start.sh STATE PAYLOAD PORT [TRUST_TOOL]
set -euo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/common.sh"
state_paths "$1"
payload=$(realpath "$2")
port=$3
trust_tool=${4:-}

bash "$here/stop.sh" "$state" >/dev/null 2>&1 || true
artifacts=$(realpath -m "$state/../artifacts")
mkdir -p "$state" "$logs" "$artifacts"

for p in "$port" $((port + 1)) $((port + 2)); do
  if port_in_use "$p"; then
    echo "harness: port $p is taken; the test build's vendor servers must listen on $port to $((port + 2)) (stop what uses it)" >&2
    exit 1
  fi
done

start_xvfb "$state" "$logs" || { echo "harness: Xvfb did not start" >&2; exit 1; }
display=${DISPLAY#:}

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -z "${INSTALADOR_KEEP_PREFIX:-}" ]; then rm -rf "$prefix"; fi
bash "$here/../../tools/wine-prefix.sh" "$prefix"
start_wine_session "$state" "$logs" || exit 1

tls="$state/tls"
bash "$here/make-certificates.sh" "$tls"
if [ -n "$trust_tool" ]; then
  wine "$trust_tool" "$(winepath -w "$tls/ca.pem")" >"$logs/trust.log" 2>&1 </dev/null ||
    { echo "harness: the prefix did not take the test CA (see $logs/trust.log)" >&2; exit 1; }
fi

# start_vendor NAME PORT [server options]
start_vendor() {
  local name=$1 at=$2
  shift 2
  rm -f "$state/$name.port"
  start_detached "$state/$name.pid" "$logs/$name-stdout.log" /usr/bin/python3 "$here/../vendor_server/vendor_server.py" \
    --root "$payload" --port "$at" --log "$logs/$name.jsonl" --ready-file "$state/$name.port" "$@"
  for _ in $(seq 100); do [ -s "$state/$name.port" ] && return 0; sleep 0.1; done
  echo "harness: vendor server $name did not start (see $logs/$name-stdout.log)" >&2
  exit 1
}
start_vendor vendor "$port"
start_vendor vendor-https $((port + 1)) --tls-cert "$tls/server.pem" --tls-key "$tls/server.key"
start_vendor vendor-untrusted $((port + 2)) --tls-cert "$tls/untrusted.pem" --tls-key "$tls/untrusted.key"

to_windows() { echo "Z:${1//\//\\}"; }
cat >"$state/env" <<ENV
export WINEPREFIX='$prefix'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export DISPLAY=':$display'
export INSTALADOR_VENDOR_URL='http://127.0.0.1:$port'
export INSTALADOR_VENDOR_HTTPS_URL='https://localhost:$((port + 1))'
export INSTALADOR_VENDOR_UNTRUSTED_URL='https://localhost:$((port + 2))'
export INSTALADOR_PAYLOAD='$(to_windows "$payload")'
export INSTALADOR_STANDIN_LOG='$(to_windows "$state/standins.log")'
export INSTALADOR_ARTIFACTS='$(to_windows "$artifacts")'
export INSTALADOR_STANDIN_LIFETIME_MS=3000
ENV
echo "harness: display :$display, vendor server on port $port, prefix $prefix"
