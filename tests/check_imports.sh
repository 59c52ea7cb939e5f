#!/usr/bin/env bash
# Fails when the program imports a DLL that Windows does not bring itself.
set -euo pipefail
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|UxTheme|WININET|ole32|OLEAUT32|SHELL32|ADVAPI32|msvcrt|windowscodecs|gdiplus|SHLWAPI)\.dll$'
imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p')
echo "$1 imports:" $imports
bad=$(echo "$imports" | grep -Eiv "$allowed" || true)
if [ -n "$bad" ]; then
  echo "not a Windows system DLL: $bad" >&2
  exit 1
fi
