#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need, when
# they are missing. Safe to run again: it does nothing once all are there.
set -euo pipefail

PACKAGES=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine
  xvfb
  python3 imagemagick fonts-dejavu-core
  nginx-light curl procps iproute2 openssl ca-certificates
  googletest
)

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# Debian's nginx package starts a server on port 80 where it can; ours run on their own.
"${as_root[@]}" service nginx stop >/dev/null 2>&1 || true
