// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <string>
#include <string_view>

#include <qvbarcode/propertypage/QvBarCodePP.h>

namespace qv::pagedialog {

// The page's client area: a widget for every field of the page, at the field's place in
// its container, in the page's focus order. The page must outlive the view or be detached
// from it first.
class PageView final : public QWidget {
  public:
    PageView(propertypage::QvBarCodePP& page, QWidget* parent = nullptr);

    // The widget that shows the named field; nullptr for a name the page does not have.
    QWidget* WidgetFor(std::string_view fieldName) const;
    // Stops the page's fields from reaching the widgets.
    void Detach();

  private:
    QWidget* Build(propertypage::Field& field, QWidget& container, const QFont& font);

    propertypage::QvBarCodePP* page_;
};

}  // namespace qv::pagedialog
