// The four encoder operations: each turns the control's text into a module string and
// hands it to the one rendering pipeline.
#include "control/QvBarCode.h"
#include "symbology/Encoders.h"

namespace qv::control {

using surface::SurfaceHandle;

// The encoding of Text under the current type and check digit setting: the last one when
// none of them changed. encode is the numeric encoder, or nullptr for Code 39.
std::shared_ptr<const QvBarCode::EncodedText> QvBarCode::EncodingOfText(NumericEncoder encode) {
    const bool checkDigit = calculateCheckDigit_ != 0;
    if (lastEncoded_ && lastEncoded_->type == barCodeType_ &&
        lastEncoded_->checkDigit == checkDigit && lastEncoded_->text == text_) {
        return lastEncoded_;
    }
    auto encoded = std::make_shared<EncodedText>();
    encoded->type = barCodeType_;
    encoded->checkDigit = checkDigit;
    encoded->text = text_;
    if (!encode) {
        encoded->encoding = symbology::EncodeCode39(text_);
    } else {
        symbology::PreparedText prepared = symbology::PrepareTextToEncode(text_, checkDigit);
        encoded->preparedCode = prepared.code;
        encoded->textToEncode = std::move(prepared.textToEncode);
        if (prepared.code == symbology::kDrawn) {
            encoded->encoding = encode(encoded->textToEncode);
        }
    }
    lastEncoded_ = encoded;
    return encoded;
}

// The numeric symbologies share their first step and caption: the text to encode.
std::int16_t QvBarCode::DrawNumeric(NumericEncoder encode, SurfaceHandle& hdc) {
    // Held here: the pipeline lets the host run events, which may draw again and replace
    // TextToEncode, and the caption and modules must stay as they are.
    const std::shared_ptr<const EncodedText> encoded = EncodingOfText(encode);
    textToEncode_ = encoded->textToEncode;
    if (encoded->preparedCode != symbology::kDrawn) {
        return encoded->preparedCode;
    }
    if (encoded->encoding.code != symbology::kDrawn) {
        return encoded->encoding.code;
    }
    return symbology::DrawModuleString(*this, encoded->encoding.modules, encoded->textToEncode,
                                       hdc);
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
    // The caption is Text exactly as stored, spaces and letter case kept, as it was when
    // encoded: the host may set Text while the pipeline lets it run events.
    const std::shared_ptr<const EncodedText> encoded = EncodingOfText(nullptr);
    if (encoded->encoding.code != symbology::kDrawn) {
        return encoded->encoding.code;
    }
    return symbology::DrawModuleString(*this, encoded->encoding.modules, encoded->text, hdc);
}

}  // namespace qv::control
