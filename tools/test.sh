#!/usr/bin/env bash
# Builds the installer and its tests and runs every test under Wine. On a
# fresh machine it installs what it needs first. The tests' own fixture
# makes a fresh Wine prefix, starts Xvfb and the vendor server, and stops
# them at the end.
set -euo pipefail
cd "$(dirname "$(realpath "$0")")/.."

bash tools/setup.sh
cmake --preset tests >/dev/null
cmake --build --preset tests
ctest --preset tests "$@"
