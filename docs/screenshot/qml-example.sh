#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes docs/qml-example.png: examples/qml/main.qml on a screen of scale factor 1.25, as
# test_quick grabs it from its window (Qt's offscreen platform, Qt Quick's software
# renderer). Run after building test_quick:
#   cmake --build build --target test_quick && docs/screenshot/qml-example.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

QV_GRABS=$work QT_SCALE_FACTOR=1.25 LANG=C.UTF-8 LC_ALL= \
    "$build/bin/test_quick" --gtest_filter='ScaleFactor.TheQmlExampleReadsBack' >/dev/null
cp "$work/qml-example-1.25.png" docs/qml-example.png
echo "Wrote docs/qml-example.png"
