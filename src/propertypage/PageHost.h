// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <qvbarcode/host/DispatchObject.h>

namespace qv::propertypage {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The message box style of a critical stop with a single OK button.
inline constexpr int kCriticalOkMessageBox = 16;

// What the page asks of the host that shows it. Tests replace it; the Qt property dialog
// (qt/pagedialog) and the component's C page site give their own.
class PageHost {
  public:
    virtual ~PageHost() = default;

    // The first of the selected controls, reached by member name through its dispatch
    // interface; nullptr while nothing is selected.
    virtual host::DispatchObject* FirstSelectedControl() = 0;
    // The page counts as changed: the host offers Apply and delivers ApplyChanges.
    virtual void SetChanged(bool changed) = 0;
    virtual void ShowMessageBox(std::u16string_view text, int style) = 0;
    virtual void Beep() = 0;
    virtual TimeOfDay CurrentTime() const = 0;
    // The English name of the user's language; empty when the query yields none.
    virtual std::string UserLanguageName() const = 0;
};

// A host for a page that no property dialog shows (one made by the class factory):
// nothing is selected, the time and the language are the system's, a message box goes
// to the standard error stream so that nothing is lost, a beep to the terminal bell.
class DetachedPageHost final : public PageHost {
  public:
    host::DispatchObject* FirstSelectedControl() override { return nullptr; }
    void SetChanged(bool changed) override { changed_ = changed; }
    void ShowMessageBox(std::u16string_view text, int style) override;
    void Beep() override;
    TimeOfDay CurrentTime() const override;
    std::string UserLanguageName() const override;

    bool changed() const { return changed_; }

  private:
    bool changed_ = false;
};

// The local time of day now, from the C library.
TimeOfDay LocalTimeOfDay();

}  // namespace qv::propertypage
