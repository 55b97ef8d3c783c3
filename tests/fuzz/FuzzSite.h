#pragma once

#include <array>
#include <functional>
#include <string>

#include "FuzzCheck.h"
#include "component/ControlSite.h"
#include "component/FailedCall.h"
#include "control/ResultMessages.h"

namespace qv::fuzz {

// A host that the input steers: its user language, whether its services fail, and work it
// runs when the control lets it process pending events (where a host may call back in).
class FuzzSite final : public component::StandaloneSite {
  public:
    struct Language {
        const char* name;
        control::MessageLanguage messages;
    };
    static constexpr std::array<Language, 8> kLanguages{{
        {"English", control::MessageLanguage::English},
        {"Spanish", control::MessageLanguage::Spanish},
        {"SPANISH", control::MessageLanguage::Spanish},
        {"sPaNiSh", control::MessageLanguage::Spanish},
        {"Catalan", control::MessageLanguage::English},
        {"Portuguese", control::MessageLanguage::English},
        {"", control::MessageLanguage::English},
        {"Spanish ", control::MessageLanguage::English},
    }};

    void SelectLanguage(std::size_t index) { language_ = kLanguages[index % kLanguages.size()]; }
    control::MessageLanguage Messages() const { return language_.messages; }

    bool failNotifications = false;
    bool failPendingEvents = false;
    // Runs once, at the next processing of pending events, then is dropped.
    std::function<void()> duringPendingEvents;
    int pendingEventRuns = 0;

    void PropertyChanged(std::string_view) override {
        if (failNotifications) {
            throw component::FailedCall(component::FailureReason::PlatformFailure, "host refused");
        }
    }
    void ProcessPendingEvents() override {
        ++pendingEventRuns;
        if (failPendingEvents) {
            throw component::FailedCall(component::FailureReason::PlatformFailure,
                                        "event queue failed");
        }
        if (duringPendingEvents) {
            auto work = std::move(duringPendingEvents);
            duringPendingEvents = nullptr;
            work();
        }
    }
    std::string EnglishLanguageName() const override { return language_.name; }

  private:
    Language language_ = kLanguages[0];
};

}  // namespace qv::fuzz
