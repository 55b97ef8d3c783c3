// SPDX-License-Identifier: MIT
// The entry points through which a host sites the control and the page.
#include <memory>
#include <vector>

#include "component/ControlDispatch.h"
#include "component/PageDispatch.h"
#include "component/QvBarCodeComponent.h"
#include "component/exports/DispatchClient.h"
#include "component/exports/ExportedObjects.h"
#include "component/exports/HostPageSite.h"
#include "component/exports/HostSite.h"
#include "component/exports/VariantBridge.h"

namespace {

using namespace qv;
using namespace qv::component;

host::CallResult NotOurs(const char* what) {
    return host::CallResult::Failure(host::kInvalidArgument,
                                     std::string("not a ") + what + " of this library");
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
               auto* dispatch = dynamic_cast<ControlDispatch*>(exports::ObjectBehind(control));
               if (dispatch == nullptr) return NotOurs("QvBarCode");
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
        exports::SitedPage* sited = PageBehind(page);
        if (sited == nullptr) return NotOurs("QvBarCodePP");
        if (controls == nullptr && count > 0) {
            return host::CallResult::Failure(host::kNullPointer, "no controls given");
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
        exports::SitedPage* sited = PageBehind(page);
        if (sited == nullptr) return NotOurs("QvBarCodePP");
        const exports::HeldReference held(page);
        sited->Apply();
        return host::CallResult::Success(host::Variant());
    });
    exports::Report(result, error);
    return result.status;
}

}  // extern "C"
