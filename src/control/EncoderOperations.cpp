// The four encoder operations: each turns the control's text into a module string and
// hands it to the one rendering pipeline.
#include "control/QvBarCode.h"
#include "symbology/Encoders.h"

namespace qv::control {

using surface::SurfaceHandle;

// The numeric symbologies share their first step and caption: the text to encode.
std::int16_t QvBarCode::DrawNumeric(NumericEncoder encode, SurfaceHandle& hdc) {
    symbology::PreparedText prepared =
        symbology::PrepareTextToEncode(text_, calculateCheckDigit_ != 0);
    textToEncode_ = std::move(prepared.textToEncode);
    if (prepared.code != symbology::kDrawn) {
        return prepared.code;
    }
    const symbology::Encoding encoding = encode(textToEncode_);
    if (encoding.code != symbology::kDrawn) {
        return encoding.code;
    }
    // The pipeline lets the host run events, which may draw again and replace TextToEncode:
    // the caption must not point into it.
    const std::u16string caption = textToEncode_;
    return symbology::DrawModuleString(*this, encoding.modules, caption, hdc);
}

std::int16_t QvBarCode::DrawInterleaved2of5(SurfaceHandle& hdc) {
    return DrawNumeric(symbology::EncodeInterleaved2of5, hdc);
}

std::int16_t QvBarCode::DrawStandard2of5(SurfaceHandle& hdc) {
    return DrawNumeric(symbology::EncodeStandard2of5, hdc);
}

std::int16_t QvBarCode::DrawEan13(SurfaceHandle& hdc) {
    return DrawNumeric(symbology::EncodeEan13, hdc);
}

std::int16_t QvBarCode::DrawCode39(SurfaceHandle& hdc) {
    const symbology::Encoding encoding = symbology::EncodeCode39(text_);
    if (encoding.code != symbology::kDrawn) {
        return encoding.code;
    }
    // The caption is Text exactly as stored, spaces and letter case kept; a copy, because the
    // host may set Text while the pipeline lets it run events.
    const std::u16string caption = text_;
    return symbology::DrawModuleString(*this, encoding.modules, caption, hdc);
}

}  // namespace qv::control
