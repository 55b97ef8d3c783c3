#pragma once

#include <array>
#include <functional>
#include <string>
#include <utility>

#include "FuzzCheck.h"
#include "control/ResultMessages.h"
#include "host/ControlSite.h"
#include "host/FailedCall.h"

namespace qv::fuzz {

// A host that the input steers: its user language, whether its services fail, and work it
// runs when the control lets it process pending events (where a host may call back in).
class FuzzSite final : public host::StandaloneSite {
  public:
    struct Language {
        const char* name;
        control::MessageLanguage messages;
    };
    static constexpr auto kEnglish = control::MessageLanguage::English;
    static constexpr auto kSpanish = control::MessageLanguage::Spanish;
    static constexpr std::array<Language, 8> kLanguages{{{"English", kEnglish},
                                                         {"Spanish", kSpanish},
                                                         {"SPANISH", kSpanish},
                                                         {"sPaNiSh", kSpanish},
                                                         {"Catalan", kEnglish},
                                                         {"Portuguese", kEnglish},
                                                         {"", kEnglish},
                                                         {"Spanish ", kEnglish}}};

    void SelectLanguage(std::size_t index) { language_ = kLanguages[index % kLanguages.size()]; }
    control::MessageLanguage Messages() const { return language_.messages; }

    bool failNotifications = false;
    bool failPendingEvents = false;
    // Runs once, at the next processing of pending events, then is dropped.
    std::function<void()> duringPendingEvents;
    int pendingEventRuns = 0;

    void PropertyChanged(std::string_view) override { FailIf(failNotifications, "host refused"); }
    void ProcessPendingEvents() override {
        ++pendingEventRuns;
        FailIf(failPendingEvents, "event queue failed");
        if (auto work = std::exchange(duringPendingEvents, nullptr)) work();
    }
    std::string EnglishLanguageName() const override { return language_.name; }

  private:
    static void FailIf(bool fail, const char* what) {
        if (fail) throw host::FailedCall(host::FailureReason::PlatformFailure, what);
    }
    Language language_ = kLanguages[0];
};

}  // namespace qv::fuzz
