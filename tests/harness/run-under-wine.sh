#!/usr/bin/env bash
# Runs a Windows program of the tests under Wine, in the set-up of the
# current test run (see start.sh), with no proxy in the way.
set -euo pipefail
state=${INSTALADOR_TEST_STATE:?must name the state folder of the test run}
[ -f "$state/env" ] || { echo "run-under-wine: no test set-up in $state; run the harness first" >&2; exit 1; }
source "$state/env"
unset http_proxy https_proxy ftp_proxy all_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY ALL_PROXY
export no_proxy='*' NO_PROXY='*'
exec wine "$@"
