// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <qvbarcode/host/ControlSite.h>
#include <qvbarcode/host/FailedCall.h>

namespace qv::testing {

// A site that records what the control tells the host and can be told to fail.
class RecordingSite : public host::StandaloneSite {
  public:
    using StandaloneSite::StandaloneSite;

    void PropertyChanged(std::string_view name) override {
        notifications.emplace_back(name);
        if (failNotifications)
            throw host::FailedCall(host::FailureReason::PlatformFailure, "host refused");
    }
    void ProcessPendingEvents() override {
        if (auto work = std::exchange(duringPendingEvents, nullptr)) work();
    }
    std::string EnglishLanguageName() const override { return language; }

    std::vector<std::string> notifications;
    bool failNotifications = false;
    // Runs once, at the next processing of pending events, as a host's own handler may.
    std::function<void()> duringPendingEvents;
    std::string language = "English";
};

}  // namespace qv::testing
