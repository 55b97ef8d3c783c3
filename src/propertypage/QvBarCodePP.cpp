// SPDX-License-Identifier: MIT
#include <qvbarcode/propertypage/QvBarCodePP.h>

#include <algorithm>

#include <qvbarcode/control/SamplePicture.h>
#include <qvbarcode/propertypage/PageCaptions.h>
#include <qvbarcode/surface/Font.h>
#include <qvbarcode/symbology/Symbologies.h>

namespace qv::propertypage {
namespace {

constexpr Colour kPanelYellow = 0xC0FFFF;
constexpr Colour kOrangeText = 0x0080FF;
constexpr Colour kRedText = 0x0000FF;

FontChoice SansSerif(double points, bool bold) {
    return {"MS Sans Serif", points, bold};
}

FontChoice Comic(double points, bool bold) {
    return {"Comic Sans MS", points, bold};
}

// The entry's index is the symbology's value.
std::vector<std::u16string> SymbologyEntries() {
    std::vector<std::u16string> entries;
    for (const symbology::Symbology& symbology : symbology::Symbologies()) {
        entries.emplace_back(symbology.pageEntry);
    }
    return entries;
}

}  // namespace

QvBarCodePP::QvBarCodePP(std::shared_ptr<PageHost> host)
    : Label3("Label3", "page", {0, 90, 2295, 1245}, 18, Alignment::Centre),
      Image1("Image1", "page", {60, 150, 2160, 1125}),
      Label1("Label1", "page", {2280, 90, 3525, 1245}, 17, Alignment::Centre),
      Frame1("Frame1", "page", {30, 1380, 5805, 2655}, 8),
      lblText("lblText", "Frame1", {90, 300, 1470, 240}, 9, Alignment::Right),
      txtText("txtText", "Frame1", {1590, 240, 4020, 330}, 0),
      Label2("Label2", "Frame1", {60, 660, 1500, 240}, 11, Alignment::Right),
      Combo1("Combo1", "Frame1", {1590, 630, 4020, 315}, 1, SymbologyEntries()),
      Frame2("Frame2", "Frame1", {30, 1170, 5745, 1425}, 14),
      lblBarWidth("lblBarWidth", "Frame2", {90, 360, 2265, 240}, 16, Alignment::Right),
      txtBarWidth("txtBarWidth", "Frame2", {2400, 300, 1080, 330}, 2, 5),
      lblBarHeight("lblBarHeight", "Frame2", {90, 720, 2265, 240}, 15, Alignment::Right),
      txtBarHeight("txtBarHeight", "Frame2", {2400, 630, 1080, 330}, 3, 5),
      chkBarWidthSource("chkBarWidthSource", "Frame2", {2400, 1020, 3255, 285}, 4),
      Frame3("Frame3", "page", {30, 4260, 5805, 1155}, 10),
      chkBackgroundWhite("chkBackgroundWhite", "Frame3", {120, 225, 2700, 285}, 5),
      chkShowValue("chkShowValue", "Frame3", {120, 510, 2700, 285}, 6),
      chkCalculateCheckDigit("chkCalculateCheckDigit", "Frame3", {120, 810, 2700, 285}, 7),
      Frame4("Frame4", "page", {30, 5430, 5805, 435}, 12),
      LblMsg("LblMsg", "Frame4", {120, 120, 5565, 285}, 13, Alignment::Centre),
      host_(std::move(host)) {
    if (!host_) host_ = std::make_shared<DetachedPageHost>();
    Label3.SetBackColour(kPanelYellow);
    Label3.SetForeColour(kOrangeText);
    Label3.SetFont(Comic(9, true));
    Label1.SetBackColour(kPanelYellow);
    Label1.SetForeColour(kOrangeText);
    Label1.SetFont(Comic(9.75, false));
    Frame1.SetFont(SansSerif(8.25, true));
    Frame3.SetFont(SansSerif(8.25, true));
    LblMsg.SetForeColour(kRedText);
    LblMsg.SetFont(SansSerif(9.75, true));
    LblMsg.SetCaption(u".");
    SetInitialCaptions(*this);
    image1_ = control::SamplePicture(surface::ControlFont());
    ConnectNotifications();
}

QvBarCodePP::~QvBarCodePP() {
    try {
        Terminate();
    } catch (...) {
        // The page is going away; a host that cannot show the report has no one to tell.
    }
}

FontChoice QvBarCodePP::DefaultFont() {
    return SansSerif(8.25, false);
}

std::vector<Field*> QvBarCodePP::Fields() {
    owner_.Check();
    return {&Label3,       &Image1,
            &Label1,       &Frame1,
            &lblText,      &txtText,
            &Label2,       &Combo1,
            &Frame2,       &lblBarWidth,
            &txtBarWidth,  &lblBarHeight,
            &txtBarHeight, &chkBarWidthSource,
            &Frame3,       &chkBackgroundWhite,
            &chkShowValue, &chkCalculateCheckDigit,
            &Frame4,       &LblMsg};
}

std::vector<Field*> QvBarCodePP::FocusOrder() {
    owner_.Check();
    // Frames and labels have tab indexes but never take the focus.
    std::vector<Field*> order;
    for (Field* field : Fields()) {
        const FieldKind kind = field->Kind();
        if (field->TabIndex() && kind != FieldKind::Frame && kind != FieldKind::Label &&
            kind != FieldKind::Picture) {
            order.push_back(field);
        }
    }
    std::ranges::sort(order, {}, [](const Field* field) { return *field->TabIndex(); });
    return order;
}

}  // namespace qv::propertypage
