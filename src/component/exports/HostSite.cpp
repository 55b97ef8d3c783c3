// SPDX-License-Identifier: MIT
#include <qvbarcode/component/exports/HostSite.h>

#include <array>

#include <qvbarcode/host/FailedCall.h>

namespace qv::component::exports {
namespace {

float UnitsPerPixel(const QvControlSite& callbacks) {
    return callbacks.unitsPerPixel == 0.0f ? host::StandaloneSite::kDefaultUnitsPerPixel
                                           : callbacks.unitsPerPixel;
}

}  // namespace

void CheckCallback(std::int32_t returned, std::string_view callback) {
    if (returned != 0) {
        throw host::FailedCall(
            host::FailureReason::PlatformFailure,
            "the host's " + std::string(callback) + " returned " + std::to_string(returned));
    }
}

std::string HostLanguageName(LanguageCallback callback, void* context) {
    std::array<char, 256> name{};
    CheckCallback(callback(context, name.data(), name.size() - 1), "getLanguageName");
    return name.data();
}

HostControlSite::HostControlSite(const QvControlSite& callbacks, void* context)
    : callbacks_(callbacks), context_(context), own_(UnitsPerPixel(callbacks)) {
    const int sizeCallbacks = (callbacks.getOuterSize != nullptr) +
                              (callbacks.setOuterSize != nullptr) +
                              (callbacks.getInnerSize != nullptr);
    if (sizeCallbacks != 0 && sizeCallbacks != 3) {
        throw host::FailedCall(host::FailureReason::InvalidValue,
                               "a site gives all three size callbacks or none");
    }
}

void HostControlSite::PropertyChanged(std::string_view propertyName) {
    if (callbacks_.propertyChanged == nullptr) return;
    const std::string name(propertyName);
    CheckCallback(callbacks_.propertyChanged(context_, name.c_str()), "propertyChanged");
}

void HostControlSite::SetDisplaySetting(std::int16_t setting) {
    if (callbacks_.setDisplaySetting == nullptr) return own_.SetDisplaySetting(setting);
    CheckCallback(callbacks_.setDisplaySetting(context_, setting), "setDisplaySetting");
}

void HostControlSite::ProcessPendingEvents() {
    if (callbacks_.processPendingEvents == nullptr) return;
    CheckCallback(callbacks_.processPendingEvents(context_), "processPendingEvents");
}

std::pair<float, float> HostControlSite::OuterSize() const {
    if (!HostKeepsSize()) return {own_.OuterWidth(), own_.OuterHeight()};
    std::pair<float, float> size{};
    CheckCallback(callbacks_.getOuterSize(context_, &size.first, &size.second), "getOuterSize");
    return size;
}

void HostControlSite::SetOuterSize(float width, float height) {
    if (!HostKeepsSize()) return own_.SetOuterSize(width, height);
    CheckCallback(callbacks_.setOuterSize(context_, width, height), "setOuterSize");
}

std::pair<std::int32_t, std::int32_t> HostControlSite::InnerSize() const {
    if (!HostKeepsSize()) return {own_.InnerWidth(), own_.InnerHeight()};
    std::pair<std::int32_t, std::int32_t> size{};
    CheckCallback(callbacks_.getInnerSize(context_, &size.first, &size.second), "getInnerSize");
    return size;
}

std::string HostControlSite::EnglishLanguageName() const {
    if (callbacks_.getLanguageName == nullptr) return own_.EnglishLanguageName();
    return HostLanguageName(callbacks_.getLanguageName, context_);
}

}  // namespace qv::component::exports
