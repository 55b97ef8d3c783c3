// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <qvbarcode/control/PictureBox.h>
#include <qvbarcode/control/PropertyTable.h>
#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/ControlSite.h>
#include <qvbarcode/host/OwnerThread.h>
#include <qvbarcode/render/BarRuns.h>
#include <qvbarcode/render/BarcodePlan.h>
#include <qvbarcode/surface/Font.h>
#include <qvbarcode/symbology/Symbologies.h>

namespace qv::control {

// The control's properties, its own surface and what it keeps between drawings. Hidden, as
// the control's face shows none of it.
struct __attribute__((visibility("hidden"))) QvBarCode::State {
    State(std::shared_ptr<host::ControlSite> site, std::shared_ptr<const surface::Font> font);

    // A member, for a caller on the owner's thread.
    template <typename T>
    T& Checked(T& member) const {
        owner.Check();
        return member;
    }
    // A setter: the value stored unchecked, then the host told.
    template <typename T>
    void Set(T& member, T value, Property property) {
        owner.Check();
        member = std::move(value);
        site->PropertyChanged(NameOf(property));
    }

    struct EncodedText;
    std::shared_ptr<const EncodedText> EncodingOfText(const symbology::Symbology& symbology);
    render::BarcodeLayout Layout() const;
    surface::TextExtent MeasureText(std::u16string_view text) const;
    render::BarcodePlan PlanOf(const symbology::Symbology& symbology, const EncodedText& encoded);
    std::int16_t DrawBarcode(surface::SurfaceHandle& hdc);
    void SetErrorState(std::int16_t result);

    host::OwnerThread owner;
    std::shared_ptr<host::ControlSite> site;
    std::shared_ptr<const surface::Font> font;
    PictureBox pic1;

    std::u16string text;
    std::int32_t barCodeType = QvTypeInterleaved2of5;
    std::int32_t positionX = 0;
    std::int32_t positionY = 0;
    std::int32_t barHeight = 0;
    std::int32_t barWidth = 0;
    AutomationBool barWidthSource = kFalse;
    AutomationBool backgroundWhite = kFalse;
    AutomationBool showValue = kFalse;
    AutomationBool calculateCheckDigit = kFalse;
    AutomationBool errorFound = kFalse;
    std::u16string errorDescription;

    std::u16string textToEncode;
    bool ownSurface = false;

    // The last text's encoding and caption size: labels drawn one after another often carry
    // the same text, and encoding and measuring it cost as much as drawing its bars. Shared so
    // that a drawing keeps its own while host events draw again.
    std::shared_ptr<const EncodedText> lastEncoded;
    struct MeasuredText {
        std::u16string text;
        surface::TextExtent extent;
    };
    mutable std::optional<MeasuredText> lastMeasured;
    render::KeptBarRuns keptBarRuns;
};

}  // namespace qv::control
