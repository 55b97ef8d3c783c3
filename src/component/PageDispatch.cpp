#include "component/PageDispatch.h"

#include "component/ArgumentConversion.h"
#include "component/FailedCall.h"

namespace qv::component {
namespace {

constexpr DispatchId kEnableDisableOK = 0x6003000D;
constexpr DispatchId kAllowOnlyNumbers = 0x6003000E;
constexpr DispatchId kTranslate = 0x6003000F;

}  // namespace

PageDispatch::PageDispatch(std::shared_ptr<PropertyPageOperations> page) : page_(std::move(page)) {
    if (!page_) throw FailedCall(FailureReason::InvalidValue, "no page to dispatch to");
}

Variant PageDispatch::Run(const Member& member, std::span<Variant> arguments) {
    switch (member.id) {
        case kEnableDisableOK:
            page_->EnableDisableOK();
            return Variant();
        case kAllowOnlyNumbers:
            page_->AllowOnlyNumbers(ToText(arguments[0]));
            return Variant();
        case kTranslate:
            page_->Translate();
            return Variant();
    }
    throw FailedCall(FailureReason::InvalidValue, "no such page operation");
}

}  // namespace qv::component
