#!/usr/bin/env bash
# Set up a Debian 12 machine, build QvBarCode and either run an example or the whole test suite.
#   ./build.sh        install what is missing, build into build/, render build/example.png and .svg
#   ./build.sh test   the same set-up, then run every test suite (plain and sanitizer builds)
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-example}
case "$mode" in
    example | test) ;;
    -h | --help)
        sed -n '2,4p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    *)
        echo "usage: ./build.sh [test]" >&2
        exit 2
        ;;
esac

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra fonts-comic-neue
    libicu-dev qt6-base-dev qt6-tools-dev libqt6opengl6-dev designer-qt6 poppler-utils
    xvfb xauth xdotool
    libzxing-dev clang libclang-rt-14-dev python3
)

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

configure_and_build() { # directory, then extra CMake options
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

configure_and_build build

if [ "$mode" = example ]; then
    build/bin/qvbarcode --type ean13 --data 400638133393 --check-digit --white --show-value --width 300 --height 100 -o build/example.png
    build/bin/qvbarcode --type code39 --data "QVBARCODE" --white --show-value --width 450 --height 100 -o build/example.svg
    echo "Wrote build/example.png and build/example.svg"
    exit 0
fi

configure_and_build build-asan -DQV_SANITIZE=ON -DQV_BUILD_DESIGNER=OFF -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
tests/fuzz/run.sh 60
