#include "component/ClassFactory.h"

#include <string>

#include "component/ControlDispatch.h"
#include "component/FailedCall.h"

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

ClassFactory::ClassFactory(const Guid& classId) : class_(FindClass(classId)) {
    if (class_ == nullptr) {
        throw FailedCall(FailureReason::InvalidValue,
                         "class " + ToRegistryForm(classId) + " is not in this library");
    }
}

std::unique_ptr<DispatchObject> ClassFactory::CreateInstance() const {
    switch (class_->kind) {
        case ClassKind::Control:
            return std::make_unique<ControlDispatch>(std::make_shared<control::QvBarCode>());
        case ClassKind::PropertyPage: {
            const PageCreator& create = PageCreatorSlot();
            if (!create) {
                throw FailedCall(FailureReason::PlatformFailure,
                                 "the property page is not available");
            }
            return std::make_unique<PageDispatch>(create());
        }
    }
    throw FailedCall(FailureReason::InvalidValue, "unknown kind of class");
}

std::unique_ptr<DispatchObject> CreateObject(std::string_view className) {
    const ClassDescription* found = FindClass(className);
    if (found == nullptr) {
        throw FailedCall(FailureReason::InvalidValue,
                         "class " + std::string(className) + " is not in this library");
    }
    return ClassFactory(found->id).CreateInstance();
}

std::unique_ptr<DispatchObject> CreateObject(const Guid& classId) {
    return ClassFactory(classId).CreateInstance();
}

}  // namespace qv::component
