// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include <qvbarcode/control/PropertyTable.h>
#include <qvbarcode/host/OwnerThread.h>
#include <qvbarcode/propertypage/PageFields.h>
#include <qvbarcode/propertypage/PageHost.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::propertypage {

// The design-time property page of a QvBarCode control, independent of any toolkit: a
// view shows its fields and forwards the user's edits and focus moves to them; the host
// delivers SelectionChanged, ApplyChanges and Terminate. Destroying the page terminates
// it, unless the host already did. The page belongs to the thread that created it: its
// operations called from another thread raise the wrong-thread FailedCall and change
// nothing (its fields are its view's, which lives on the same thread).
class QvBarCodePP {
  public:
    static constexpr std::u16string_view kCaption = u"QvBarCode Control";
    static constexpr int kClientWidthTwips = 5880;
    static constexpr int kClientHeightTwips = 5925;
    static constexpr int kTwipsPerPixel = 15;

    explicit QvBarCodePP(std::shared_ptr<PageHost> host);
    ~QvBarCodePP();
    QvBarCodePP(const QvBarCodePP&) = delete;
    QvBarCodePP& operator=(const QvBarCodePP&) = delete;

    // Host events.
    void SelectionChanged();
    void ApplyChanges();
    void Terminate();

    // The public operations of _QvBarCodePP.
    void EnableDisableOK();
    void AllowOnlyNumbers(const std::u16string& xFlag);
    void Translate();

    bool OKEnabled() const { return Checked(okEnabled_); }
    std::int16_t LastDrawResult() const { return Checked(lastDrawResult_); }
    // Empty until Translate runs, then "E" or "S".
    const std::string& LanguageCode() const { return Checked(languageCode_); }
    PageHost& Host() { return Checked(*host_); }

    // Every field, containers before what they contain, in the order of the layout.
    std::vector<Field*> Fields();
    // The fields that take the focus, in tab order.
    std::vector<Field*> FocusOrder();
    // The picture Image1 shows: 144 x 75 pixels.
    std::shared_ptr<const surface::RasterSurface> Image1Picture() const { return Checked(image1_); }
    // The page's default font.
    static FontChoice DefaultFont();

    Label Label3;
    Picture Image1;
    Label Label1;
    Frame Frame1;
    Label lblText;
    TextBox txtText;
    Label Label2;
    DropDownList Combo1;
    Frame Frame2;
    Label lblBarWidth;
    TextBox txtBarWidth;
    Label lblBarHeight;
    TextBox txtBarHeight;
    CheckBox chkBarWidthSource;
    Frame Frame3;
    CheckBox chkBackgroundWhite;
    CheckBox chkShowValue;
    CheckBox chkCalculateCheckDigit;
    Frame Frame4;
    Label LblMsg;

  private:
    // A member, for a caller on the owner's thread.
    template <typename T>
    T& Checked(T& member) const {
        owner_.Check();
        return member;
    }

    void ConnectNotifications();
    void MarkChanged();
    void LoadFields(host::DispatchObject& control);
    void WriteFields(host::DispatchObject& control);

    host::OwnerThread owner_;
    std::shared_ptr<PageHost> host_;
    std::shared_ptr<const surface::RasterSurface> image1_;
    bool okEnabled_ = false;
    std::int16_t lastDrawResult_ = 0;
    std::string languageCode_;
    bool terminated_ = false;
};

// A property the page edits and the field, named after it, that edits it.
struct PropertyField {
    control::Property property;
    std::variant<CheckBox QvBarCodePP::*, TextBox QvBarCodePP::*, DropDownList QvBarCodePP::*>
        field;
};
// The page's eight properties, in the order it loads and writes them.
std::span<const PropertyField> PropertyFields();

}  // namespace qv::propertypage
