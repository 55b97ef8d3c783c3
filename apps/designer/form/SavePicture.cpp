#include "SavePicture.h"

#include "RenderBarcode.h"
#include "host/TextConversion.h"
#include "imagefile/AtomicFile.h"

namespace qv::designer {

SaveResult SavePicture(const control::QvBarCode& control, const QString& path) {
    cli::BarcodeSettings settings;
    settings.text = host::Utf16ToUtf8(control.Text());
    settings.barCodeType = control.BarCodeType();
    settings.barWidth = control.BarWidth();
    settings.barHeight = control.BarHeight();
    settings.barWidthSource = control.BarWidthSource();
    settings.backgroundWhite = control.BackgroundWhite();
    settings.showValue = control.ShowValue();
    settings.calculateCheckDigit = control.CalculateCheckDigit();

    const bool svg = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    cli::BarcodeRenderer renderer(svg ? cli::OutputFormat::Svg : cli::OutputFormat::Png,
                                  std::nullopt);
    const cli::Drawing drawing = renderer.Render(settings);
    SaveResult result{drawing.code, drawing.description, false};
    if (drawing.code == 0 && !drawing.IsEmpty()) {
        imagefile::WriteFileAtomically(path.toStdString(), drawing.bytes);
        result.written = true;
    }
    return result;
}

}  // namespace qv::designer
