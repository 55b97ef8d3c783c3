// SPDX-License-Identifier: MIT
#include <qvbarcode/component/PageDispatch.h>

#include <qvbarcode/component/ArgumentConversion.h>
#include <qvbarcode/host/FailedCall.h>

namespace qv::component {
namespace {

constexpr host::DispatchId kEnableDisableOK = 0x6003000D;
constexpr host::DispatchId kAllowOnlyNumbers = 0x6003000E;
constexpr host::DispatchId kTranslate = 0x6003000F;

}  // namespace

PageDispatch::PageDispatch(std::shared_ptr<PropertyPageOperations> page) : page_(std::move(page)) {
    if (!page_) throw host::FailedCall(host::FailureReason::InvalidValue, "no page to dispatch to");
}

host::Variant PageDispatch::Run(const host::Member& member, std::span<host::Variant> arguments) {
    switch (member.id) {
        case kEnableDisableOK:
            page_->EnableDisableOK();
            return host::Variant();
        case kAllowOnlyNumbers:
            page_->AllowOnlyNumbers(ToText(arguments[0]));
            return host::Variant();
        case kTranslate:
            page_->Translate();
            return host::Variant();
    }
    throw host::FailedCall(host::FailureReason::InvalidValue, "no such page operation");
}

}  // namespace qv::component
