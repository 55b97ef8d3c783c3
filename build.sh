#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Set up a Debian 12 machine and build QvBarCode: an example, its Debian packages or every test suite.
#   ./build.sh          install what is missing, build the library and programs into build/
#                       (no test suites) and the examples into build/examples/ against an
#                       install of it in build/prefix/, render build/example.png, .svg and .pdf
#   ./build.sh package  the Debian packages (debian/) into build/packages/ from the tree in
#                       build/, built first if missing, checked by lintian
#   ./build.sh test     also what the tests need, then build the plain tree and its packages
#                       and run every test suite (plain and sanitizer builds, test_threads
#                       under ThreadSanitizer, the packages installed and purged) and
#                       tests/fuzz/run.sh 60
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-example}
case "$mode" in
    example | package | test) ;;
    -h | --help)
        sed -n '3,12p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    *)
        echo "usage: ./build.sh [package | test]" >&2
        exit 2
        ;;
esac

# What the library, the programs and the examples need (Qt Quick's modules for the QML
# example, which runs with Qt's qml tool; the label-sheet templates qvbarcode --sheet reads);
# then what only the tests need (rasterising PDF and EPS, reading barcodes back, a German
# locale's source, spreadsheets exported as CSV by LibreOffice, fuzzing, tracing a batch's
# system calls, Qt Designer and the QML example on a virtual display for docs/screenshot/,
# the Python package's test modules and its installation by pip, and a print server of its
# own with a queue that prints into PDF files).
packages=(
    cmake ninja-build g++ pkg-config
    libpng-dev libisal-dev libfreetype-dev libfontconfig-dev libcairo2-dev libexpat1-dev
    glabels-data
    fonts-dejavu-core fonts-dejavu-extra fonts-comic-neue
    libicu-dev qt6-base-dev qt6-tools-dev libqt6opengl6-dev qt6-declarative-dev
    qml-qt6 qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript
    libcups2-dev
)
# Then what making the Debian packages needs.
if [ "$mode" != example ]; then
    packages+=(debhelper dpkg-dev dh-python lintian chrpath)
fi
if [ "$mode" = test ]; then
    packages+=(
        libgtest-dev libgmock-dev libbenchmark-dev libzxing-dev
        poppler-utils ghostscript locales designer-qt6 xvfb xauth xdotool clang libclang-rt-14-dev
        python3 python3-cffi python3-numpy python3-pil python3-zxing-cpp python3-pip
        python3-setuptools python3-wheel python3-venv libreoffice-calc-nogui strace cups printer-driver-cups-pdf
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "error: missing packages and not root; run as root or install: ${missing[*]}" >&2
        exit 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
# The plain tree installs its libraries into Debian's multiarch folder, as its packages put them.
libdir=-DCMAKE_INSTALL_LIBDIR=lib/$(gcc -print-multiarch)

configure_and_build() { # directory, then extra CMake options
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

# The Debian packages from the plain tree as it is (built by build.sh when missing),
# so that CI compiles it once; lintian fails them on an error and prints its warnings.
build_packages() {
    rm -rf build/packages
    debian/rules clean >/dev/null
    DEB_BUILD_OPTIONS="parallel=$jobs" debian/rules binary >/dev/null
    debian/rules clean >/dev/null
    lintian build/packages/*.deb
    echo "Wrote the packages into build/packages/"
}

if [ "$mode" = package ]; then
    [ -f build/CMakeCache.txt ] || configure_and_build build -DQV_BUILD_TESTS=OFF "$libdir"
    build_packages
    exit 0
fi

if [ "$mode" = example ]; then
    # The test suites are left out of a first build: they take most of its time.
    configure_and_build build -DQV_BUILD_TESTS=OFF "$libdir"
    # The examples are a project of their own, built as their users build them: against an
    # installed tree.
    cmake --install build --prefix build/prefix >/dev/null
    cmake -S examples -B build/examples -G Ninja -DCMAKE_PREFIX_PATH="$PWD/build/prefix" >/dev/null
    cmake --build build/examples -j "$jobs"
    build/bin/qvbarcode --type ean13 --data 400638133393 --check-digit --white --show-value --width 300 --height 100 -o build/example.png
    build/bin/qvbarcode --type code39 --data "QVBARCODE" --white --show-value --width 450 --height 100 -o build/example.svg
    build/bin/qvbarcode --type ean13 --data 400638133393 --check-digit --white --show-value --dpi 300 --magnification 100% --quiet-zone std -o build/example.pdf
    echo "Wrote build/example.png, build/example.svg and build/example.pdf"
    exit 0
fi

configure_and_build build -DQV_BUILD_TESTS=ON "$libdir"
build_packages

configure_and_build build-asan -DQV_SANITIZE=ON -DQV_BUILD_DESIGNER=ON -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
# ThreadSanitizer over the one suite that reads a picture from several threads: its tree
# builds only that program and the layers it links.
cmake -S . -B build-tsan -G Ninja -DQV_TSAN=ON -DQV_BUILD_DESIGNER=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_threads
TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/test_threads
tests/fuzz/run.sh 60
