#!/usr/bin/env bash
# Makes a Wine prefix fit for running the installer: a fresh 64-bit prefix,
# Wine's own fonts copied in (Tahoma aside, see below), the faces the window asks
# for mapped to fonts that exist, a virtual desktop (real frames, exact
# geometry, fast closes without a window manager), no crash dialog, and no
# menu builder (it would copy every shortcut to the Linux desktop).
#
#   wine-prefix.sh PREFIX
set -euo pipefail
prefix=$(realpath -m "$1")
[ -f "$prefix/.instalador-ready" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$prefix"
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1
wineserver -w

# Wine points Desktop, Documents and the like at the Linux home; keep them
# inside the prefix, so that nothing the installer writes lands outside it.
for link in "$prefix"/drive_c/users/*/*; do
  if [ -L "$link" ]; then
    rm "$link"
    mkdir "$link"
  fi
done

# Wine's own fonts, but for Tahoma: its bold face has real bold glyphs only as
# small bitmaps and draws 13 px and up as regular glyphs set wide. DejaVu Sans
# stands in for it and for the other faces the window asks for.
for face in /usr/share/wine/fonts/*.ttf; do
  case "$(basename "$face")" in tahoma*) ;; *) cp "$face" "$prefix/drive_c/windows/Fonts/" ;; esac
done
for face in /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf; do
  [ -f "$face" ] && cp "$face" "$prefix/drive_c/windows/Fonts/"
done

settings=$(mktemp --suffix=.reg)
trap 'rm -f "$settings"' EXIT
cat >"$settings" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x900"

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Tahoma"="DejaVu Sans"
"Microsoft Sans Serif"="DejaVu Sans"
"MS Shell Dlg"="DejaVu Sans"
"MS Shell Dlg 2"="DejaVu Sans"
"Segoe UI"="DejaVu Sans"
"Trebuchet MS"="DejaVu Sans"
REG
wine regedit /S "$(winepath -w "$settings")" >/dev/null 2>&1
wineserver -w
touch "$prefix/.instalador-ready"
