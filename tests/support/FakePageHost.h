// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <qvbarcode/component/ControlDispatch.h>
#include <qvbarcode/propertypage/PageHost.h>
#include "support/FixedFont.h"
#include "support/RecordingSite.h"

namespace qv::testing {

// A property dialog around one selected control on the given kind of site, recording what the
// page asks of it. Its clock stands still.
template <typename Site>
class FakePageHostOf final : public propertypage::PageHost {
  public:
    // A null font is the control's own.
    explicit FakePageHostOf(
        std::shared_ptr<const surface::Font> font = std::make_shared<FixedFont>())
        : control(std::make_shared<control::QvBarCode>(site, std::move(font))) {}

    host::DispatchObject* FirstSelectedControl() override { return selected ? &dispatch : nullptr; }
    void SetChanged(bool value) override { changed = value; }
    void ShowMessageBox(std::u16string_view text, int style) override {
        messageBoxes.emplace_back(text);
        messageBoxStyle = style;
    }
    void Beep() override { ++beeps; }
    propertypage::TimeOfDay CurrentTime() const override { return time; }
    std::string UserLanguageName() const override { return language; }

    std::shared_ptr<Site> site = std::make_shared<Site>();
    std::shared_ptr<control::QvBarCode> control;
    component::ControlDispatch dispatch{control};
    bool selected = true;
    bool changed = false;
    std::vector<std::u16string> messageBoxes;
    int messageBoxStyle = 0;
    int beeps = 0;
    std::string language = "English";
    propertypage::TimeOfDay time{14, 3, 27};
};

using FakePageHost = FakePageHostOf<RecordingSite>;

}  // namespace qv::testing
