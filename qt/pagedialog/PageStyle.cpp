// SPDX-License-Identifier: MIT
#include "PageStyle.h"

#include <cmath>

#include <qvbarcode/propertypage/QvBarCodePP.h>

namespace qv::pagedialog {

namespace {

int TwipsToPixels(int twips) {
    return static_cast<int>(
        std::lround(static_cast<double>(twips) / propertypage::QvBarCodePP::kTwipsPerPixel));
}

}  // namespace

QRect ToPixels(const propertypage::TwipsRect& rect) {
    return QRect(TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
                 TwipsToPixels(rect.height));
}

QFont ToQFont(const propertypage::FontChoice& font) {
    QString family = QString::fromStdString(font.family);
    // DejaVu Sans runs about a tenth wider than the bitmap face the layout was made for;
    // its semi-condensed cut keeps the captions inside their boxes.
    bool narrower = false;
    if (family == QLatin1String("MS Sans Serif")) {
        family = QStringLiteral("DejaVu Sans");
        narrower = true;
    } else if (family == QLatin1String("Comic Sans MS")) {
        family = QStringLiteral("Comic Neue");
    }
    QFont qfont(family);
    qfont.setPointSizeF(font.points);
    qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    qfont.setItalic(false);
    if (narrower) qfont.setStretch(QFont::SemiCondensed);
    return qfont;
}

QColor ToQColor(propertypage::Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

Qt::Alignment ToQtAlignment(propertypage::Alignment alignment) {
    switch (alignment) {
        case propertypage::Alignment::Right:
            return Qt::AlignRight | Qt::AlignTop;
        case propertypage::Alignment::Centre:
            return Qt::AlignHCenter | Qt::AlignTop;
        default:
            return Qt::AlignLeft | Qt::AlignTop;
    }
}

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace qv::pagedialog
