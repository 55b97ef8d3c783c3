// SPDX-License-Identifier: MIT
// The entry points through which a host sites the control and the page.
#include <algorithm>
#include <memory>
#include <vector>

#include <qvbarcode/component/ControlDispatch.h>
#include <qvbarcode/component/PageDispatch.h>
#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/component/exports/DispatchClient.h>
#include <qvbarcode/component/exports/ExportedObjects.h>
#include <qvbarcode/component/exports/HostPageSite.h>
#include <qvbarcode/component/exports/HostSite.h>
#include <qvbarcode/component/exports/VariantBridge.h>

namespace {

using namespace qv;
using namespace qv::component;

host::CallResult NotOurs(const char* what) {
    return host::CallResult::Failure(host::kInvalidArgument,
                                     std::string("not a ") + what + " of this library");
}

host::CallResult NullPointer(const char* what) {
    return host::CallResult::Failure(host::kNullPointer, std::string("no ") + what + " given");
}

// The page behind a dispatch table, if it is one this library's factory made.
exports::SitedPage* PageBehind(QvDispatch* object) {
    auto* dispatch = dynamic_cast<PageDispatch*>(exports::ObjectBehind(object));
    return dispatch ? dynamic_cast<exports::SitedPage*>(&dispatch->Page()) : nullptr;
}

}  // namespace

extern "C" {

QvStatus QvControlSetSite(QvDispatch* control, const QvControlSite* site, void* context) {
    return host::GuardCall([&] {
               if (control == nullptr) return NullPointer("control");
               auto* dispatch = dynamic_cast<ControlDispatch*>(exports::ObjectBehind(control));
               if (dispatch == nullptr) return NotOurs("QvBarCode");
               dispatch->Owner().Check();
               std::shared_ptr<host::ControlSite> sited;
               if (site != nullptr) {
                   sited = std::make_shared<exports::HostControlSite>(*site, context);
               } else {
                   sited = std::make_shared<host::StandaloneSite>();
               }
               dispatch->Control().SetSite(std::move(sited));
               return host::CallResult::Success(host::Variant());
           })
        .status;
}

QvStatus QvPageSetSite(QvDispatch* page, const QvPageSite* site, void* context,
                       QvDispatch* const* controls, uint32_t count, QvCallError* error) {
    const host::CallResult result = host::GuardCall([&] {
        if (page == nullptr) return NullPointer("page");
        exports::SitedPage* sited = PageBehind(page);
        if (sited == nullptr) return NotOurs("QvBarCodePP");
        exports::ObjectBehind(page)->Owner().Check();
        if (controls == nullptr && count > 0) return NullPointer("controls");
        if (std::find(controls, controls + count, nullptr) != controls + count) {
            return NullPointer("selected control");
        }
        const exports::HeldReference held(page);
        std::vector<std::unique_ptr<host::DispatchObject>> selected;
        for (uint32_t i = 0; i < count; ++i) {
            selected.push_back(std::make_unique<exports::DispatchClient>(controls[i]));
        }
        sited->Site(site, context, std::move(selected));
        return host::CallResult::Success(host::Variant());
    });
    exports::Report(result, error);
    return result.status;
}

QvStatus QvPageApply(QvDispatch* page, QvCallError* error) {
    const host::CallResult result = host::GuardCall([&] {
        if (page == nullptr) return NullPointer("page");
        exports::SitedPage* sited = PageBehind(page);
        if (sited == nullptr) return NotOurs("QvBarCodePP");
        exports::ObjectBehind(page)->Owner().Check();
        const exports::HeldReference held(page);
        sited->Apply();
        return host::CallResult::Success(host::Variant());
    });
    exports::Report(result, error);
    return result.status;
}

}  // extern "C"
