// SPDX-License-Identifier: MIT
#include <qvbarcode/component/ClassFactory.h>

#include <string>

#include <qvbarcode/component/ControlDispatch.h>
#include <qvbarcode/host/FailedCall.h>

namespace qv::component {
namespace {

PageCreator& PageCreatorSlot() {
    static PageCreator creator;
    return creator;
}

}  // namespace

void SetPropertyPageCreator(PageCreator creator) {
    PageCreatorSlot() = std::move(creator);
}
bool HasPropertyPageCreator() {
    return static_cast<bool>(PageCreatorSlot());
}

ClassFactory::ClassFactory(const host::Guid& classId) : class_(FindClass(classId)) {
    if (class_ == nullptr) {
        throw host::FailedCall(
            host::FailureReason::InvalidValue,
            "class " + host::ToRegistryForm(classId) + " is not in this library");
    }
}

std::unique_ptr<host::DispatchObject> ClassFactory::CreateInstance() const {
    switch (class_->kind) {
        case ClassKind::Control:
            return std::make_unique<ControlDispatch>(std::make_shared<control::QvBarCode>());
        case ClassKind::PropertyPage: {
            const PageCreator& create = PageCreatorSlot();
            if (!create) {
                throw host::FailedCall(host::FailureReason::PlatformFailure,
                                       "the property page is not available");
            }
            return std::make_unique<PageDispatch>(create());
        }
    }
    throw host::FailedCall(host::FailureReason::InvalidValue, "unknown kind of class");
}

}  // namespace qv::component
