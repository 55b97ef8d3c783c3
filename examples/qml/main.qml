// SPDX-License-Identifier: MIT
// A shelf label in Qt Quick: an EAN-13 and a Code 39 at whole device pixels per module on any
// screen, each with the quiet zone its symbology wants. With QvBarCode installed in ~/.local:
//   /usr/lib/qt6/bin/qml -I ~/.local/lib/qt6/qml examples/qml/main.qml
import QtQuick
import QtQuick.Window
import QvBarCode

Window {
    width: 360
    height: 260
    visible: true
    color: "#e0e0e0"
    title: "QvBarCode"

    Column {
        anchors.centerIn: parent
        spacing: 10

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Article 4006381333931"
        }
        Barcode {
            id: article
            anchors.horizontalCenter: parent.horizontalCenter
            text: "400638133393"
            type: Barcode.Ean13
            checkDigit: true
            showValue: true
            barHeight: 70
        }
        Barcode {
            id: shelf
            anchors.horizontalCenter: parent.horizontalCenter
            text: "QVBARCODE"
            type: Barcode.Code39
            moduleWidth: 1
            barHeight: 40
        }
        Text {
            visible: article.errorFound || shelf.errorFound
            text: article.errorDescription + shelf.errorDescription
            color: "darkred"
        }
    }
}
