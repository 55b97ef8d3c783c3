#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes docs/qt-designer.png: Qt Designer on a virtual X display, with examples/label-form's
# form, whose QvBarCodeWidget has been double-clicked to open its property page. Run after a
# build; needs the Debian packages designer-qt6, xvfb, xauth and xdotool.
#   docs/screenshot/qt-designer.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
c++ -std=c++17 -fPIC docs/screenshot/GrabScreen.cpp $(pkg-config --cflags --libs Qt6Gui) \
    -o "$work/grab-screen"
QT_PLUGIN_PATH=$(find "$work/prefix" -type d -path "*/qt6/plugins" | head -n 1)
export QT_PLUGIN_PATH
# A home of its own, so that no Designer settings of the user's change the picture.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LANG=C.UTF-8 LC_ALL=
mkdir -p "$HOME"

cat >"$work/drive.sh" <<DRIVE
set -euo pipefail
/usr/lib/qt6/bin/designer examples/label-form/LabelForm.ui >"$work/designer.log" 2>&1 &
designer=\$!
trap 'kill \$designer' EXIT
window=\$(xdotool search --sync --name "Qt Designer" | head -1)
xdotool windowmove "\$window" 0 0 windowsize "\$window" 1280 800
sleep 3
position=\$("$work/grab-screen" "$work/before.png")
[ -n "\$position" ] || { echo "no barcode on the screen" >&2; exit 1; }
xdotool mousemove \$position click --repeat 2 --delay 80 1
dialog=\$(xdotool search --sync --name "QvBarCode Control" | head -1)
xdotool windowmove "\$dialog" 640 110 mousemove 1270 790
sleep 4
"$work/grab-screen" docs/qt-designer.png >/dev/null
DRIVE
xvfb-run -a -s "-screen 0 1280x800x24" bash "$work/drive.sh"
echo "Wrote docs/qt-designer.png"
