#!/usr/bin/env bash
# Stops what start.sh started.
#   stop.sh STATE
set -uo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/common.sh"
state_paths "$1"

for server in vendor vendor-https vendor-untrusted; do
  stop_pid_file "$state/$server.pid"
  rm -f "$state/$server.port"
done
if [ -d "$prefix" ]; then
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
fi
stop_pid_file "$state/desktop.pid"
stop_pid_file "$state/wineserver.pid"
stop_pid_file "$state/xvfb.pid"
exit 0
