#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages made from this tree with apt-get, uses them from /usr alone as
# their users would (the program, the library example through pkg-config and CMake, the
# component loaded by its soname, the Designer plugin and the QML module where Qt looks), then
# purges them and checks that nothing they installed is left.
#   InstallPackages.sh PACKAGE_DIR VERSION SOURCE_DIR WORK_DIR DESIGNER_PLUGIN_TEST
set -euo pipefail
packages=$(realpath -m "$1") version=$2 source=$3 work=$4 designer_test=$5

fail() {
    echo "error: $*" >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || fail "installing the packages needs root"
# All of them, as the README installs them: the -dbgsym ones too.
debs=("$packages"/*_"${version}"_*.deb)
[ -f "${debs[0]}" ] || fail "no packages of version $version in $packages: run ./build.sh package"
names=()
for deb in "${debs[@]}"; do
    names+=("$(dpkg-deb -f "$deb" Package)")
done
for name in libqvbarcode1 libqvbarcode-component1 libqvbarcode-dev qvbarcode qvbarcode-qt python3-qvbarcode; do
    [[ " ${names[*]} " == *" $name "* ]] || fail "no ${name}_$version package in $packages"
done

rm -rf "$work" && mkdir -p "$work" && cd "$work"
# Another apt-get at work (a package manager's timer) is waited for, not failed on.
apt_get() { apt-get -o DPkg::Lock::Timeout=300 -y -q "$@"; }
trap 'apt_get purge "${names[@]}" >/dev/null' EXIT
apt_get install "${debs[@]}" >apt.log || { cat apt.log; fail "apt-get install failed"; }
dpkg -L "${names[@]}" | sort -u >installed.txt
unset LD_LIBRARY_PATH PKG_CONFIG_PATH CMAKE_PREFIX_PATH QT_PLUGIN_PATH QML_IMPORT_PATH QML2_IMPORT_PATH
export QT_QPA_PLATFORM=offscreen

while read -r path; do
    if [ -f "$path" ] && [ ! -L "$path" ] && readelf -d "$path" 2>/dev/null | grep -q '(RUNPATH)\|(RPATH)'; then
        fail "$path has a run path"
    fi
done <installed.txt

expect_png() {
    [ "$(od -An -N4 -tx1 "$1" | tr -d ' ')" = 89504e47 ] || fail "$1 is no PNG"
}
/usr/bin/qvbarcode --type ean13 --data 400638133393 --check-digit -o program.png
expect_png program.png
# The library example, found under /usr by pkg-config and by CMake.
g++ -std=c++20 "$source/examples/minimal.cpp" $(pkg-config --cflags --libs qvbarcode) -o minimal-pc
./minimal-pc from-pkg-config.png
expect_png from-pkg-config.png
mkdir cmake-project
cat >cmake-project/CMakeLists.txt <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(Minimal LANGUAGES CXX)
find_package(QvBarCode $version REQUIRED)
add_executable(minimal $source/examples/minimal.cpp)
target_link_libraries(minimal PRIVATE QvBarCode::qvbarcode)
CMAKE
cmake -S cmake-project -B cmake-build -G Ninja >/dev/null
grep -q '^QvBarCode_DIR:PATH=/usr/' cmake-build/CMakeCache.txt || fail "CMake found QvBarCode outside /usr"
cmake --build cmake-build >/dev/null
cmake-build/minimal from-cmake.png
expect_png from-cmake.png

# The component, loaded by its soname.
cc -std=c11 -Wall -Werror "$source/examples/host.c" -ldl -o host
[[ $(./host from-c.pgm) == *"the same barcode"* ]] || fail "examples/host.c did not draw"

# The Python package, from dist-packages with Debian's own python3.
/usr/bin/python3 -c 'import qvbarcode
picture = qvbarcode.Barcode(type="ean13", text="400638133393", check_digit=True, bar_width=300,
                             bar_height=80).draw()
picture.save("from-python.png")' || fail "python3 could not draw with qvbarcode"
expect_png from-python.png

# Qt Designer's own plugin search finds the plugin; qml finds the module.
QV_DESIGNER_PLUGINS=$(qtpaths6 --query QT_INSTALL_PLUGINS)/designer "$designer_test" >designer.log ||
    { cat designer.log; fail "Qt Designer did not find the plugin in Qt's folder"; }
cat >import.qml <<'QML'
import QtQuick
import QvBarCode
Barcode {
    text: "400638133393"
    type: Barcode.Ean13
    Component.onCompleted: Qt.exit(errorFound ? 1 : 0)
}
QML
/usr/lib/qt6/bin/qml import.qml || fail "qml could not import QvBarCode"

# Purged, every file, link and folder of ours is gone.
trap - EXIT
apt_get purge "${names[@]}" >apt.log || { cat apt.log; fail "apt-get purge failed"; }
left=()
while read -r path; do
    if [ -L "$path" ] || [ -f "$path" ] || { [ -d "$path" ] && [[ ${path,,} == *qvbarcode* ]]; }; then
        left+=("$path")
    fi
done <installed.txt
((${#left[@]} == 0)) || fail "left after the purge: ${left[*]}"
