#!/usr/bin/env bash
# Makes the private Wine prefix the end-to-end tests run the Windows program in, once: several
# tests may ask at the same moment, so the first makes it under a lock and the others wait and
# find it ready. The prefix has no desktop integration, the stand-in faces for the dialog
# templates' Japanese faces, the classic system colours our own layer draws with, no visual
# theme, no font smoothing (our layer draws text in one colour) and its own window frames.
#
# Where Wine is missing or cannot make a prefix here, it says why in PREFIX.failed and still
# exits 0: the tests that need Wine then skip with that reason, the others run.
#
# usage: make_prefix.sh PREFIX
set -euo pipefail
prefix=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ready=$prefix/.tintaro-ready
failed=$prefix.failed

# The ready mark holds the checksum of the scripts that made the prefix: a prefix made by an
# earlier version of them (other fonts, colours or metrics) is made again.
made_by=$(cat "$here/make_prefix.sh" "$here/stand_in_fonts.py" | sha256sum | cut -d' ' -f1)

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -e "$ready" ] && [ "$(cat "$ready")" = "$made_by" ] && exit 0
[ -e "$failed" ] && { cat "$failed"; exit 0; }
fail() {
    echo "$1" | tee "$failed"
    exit 0
}
command -v wineboot >/dev/null || fail "Wine is not installed (scripts/test installs it)"
rm -rf "$prefix"

export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
# No menu entries or file associations on the host, and none of the add-on installers.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# Made without a display: nothing of the prefix's set-up needs one.
unset DISPLAY WAYLAND_DISPLAY
log=$(wineboot --init 2>&1) || true
wineserver --wait || true
[ -e "$prefix/system.reg" ] || fail "wineboot made no prefix in $prefix: $log"

/usr/bin/python3 "$here/stand_in_fonts.py" "$prefix/drive_c/windows/Fonts" ||
    fail "the stand-in faces could not be made (python3-fonttools)"

registry=$prefix/tintaro.reg
/usr/bin/python3 - "$registry" <<'PY'
import struct
import sys
# The classic Windows Standard scheme, as our layer's GetSysColor answers: red green blue.
colours = {
    "Scrollbar": "192 192 192", "Background": "0 128 128", "ActiveTitle": "0 0 128",
    "InactiveTitle": "128 128 128", "Menu": "192 192 192", "Window": "255 255 255",
    "WindowFrame": "0 0 0", "MenuText": "0 0 0", "WindowText": "0 0 0",
    "TitleText": "255 255 255", "ActiveBorder": "192 192 192", "InactiveBorder": "192 192 192",
    "AppWorkSpace": "128 128 128", "Hilight": "0 0 128", "HilightText": "255 255 255",
    "ButtonFace": "192 192 192", "ButtonShadow": "128 128 128", "GrayText": "128 128 128",
    "ButtonText": "0 0 0", "InactiveTitleText": "192 192 192", "ButtonHilight": "255 255 255",
    "ButtonDkShadow": "0 0 0", "ButtonLight": "192 192 192", "InfoText": "0 0 0",
    "InfoWindow": "255 255 225", "ButtonAlternateFace": "181 181 181",
    "HotTrackingColor": "0 0 128", "GradientActiveTitle": "16 132 208",
    "GradientInactiveTitle": "192 192 192", "MenuHilight": "0 0 128", "MenuBar": "192 192 192",
}
lines = ["Windows Registry Editor Version 5.00", ""]
lines += ["[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]",
          '"ＭＳ ゴシック"="IPAGothic Dialog"', '"ＭＳ Ｐゴシック"="IPAPGothic Dialog"', ""]
lines += ["[HKEY_CURRENT_USER\\Control Panel\\Colors]"]
lines += [f'"{name}"="{value}"' for name, value in colours.items()]
lines += ["", "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager]",
          '"ThemeActive"="0"', "",
          # Wine draws the non-client area itself, as Windows does, instead of leaving it to a
          # window manager (there is none in most tests).
          "[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]", '"Decorated"="N"', "",
          "[HKEY_CURRENT_USER\\Control Panel\\Desktop]", '"FontSmoothing"="0"',
          # Wine's default preferences less the flat menus (bit 17): classic menus wear the
          # raised frame, as ours do.
          '"UserPreferencesMask"=hex:30,00,00,80,12,00,00,00', ""]
# Menus in the Japanese system's menu face, as our layer draws them: 9 point ＭＳ Ｐゴシック (12
# pixels at 96 dpi) in the Shift JIS character set, given as the LOGFONTW Wine reads.
face = "ＭＳ Ｐゴシック".encode("utf-16-le").ljust(64, b"\0")
menu_font = struct.pack("<5l8B", -12, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0) + face
# And scroll bars of the classic 16 px, where Wine's defaults are the later 17.
lines += ["[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]",
          '"MenuFont"=hex:' + ",".join(f"{b:02x}" for b in menu_font),
          '"ScrollWidth"="16"', '"ScrollHeight"="16"', ""]
with open(sys.argv[1], "w", encoding="utf-16") as out:
    out.write("\r\n".join(lines) + "\r\n")
PY
wine regedit /S "$(winepath -w "$registry")" >/dev/null 2>&1
wineserver --wait
echo "$made_by" >"$ready"
