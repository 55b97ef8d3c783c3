// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

#include <qvbarcode/component/PageDispatch.h>
#include <qvbarcode/component/TypeLibrary.h>
#include <qvbarcode/host/DispatchObject.h>
#include <qvbarcode/host/Guid.h>
#include <qvbarcode/host/ModuleCounts.h>

namespace qv::component {

// Makes the page objects; the property page plugs itself in here, so this layer does not
// depend on how the page is built.
using PageCreator = std::function<std::shared_ptr<PropertyPageOperations>()>;
void SetPropertyPageCreator(PageCreator creator);
bool HasPropertyPageCreator();

// The factory of one class. It counts as a live object while it exists, since the code it
// would run lives in this library.
class ClassFactory {
  public:
    // Throws the invalid-value failed call for a class this library does not have.
    explicit ClassFactory(const host::Guid& classId);

    // A new object with its default interface. Raises the failed call when it cannot be
    // made; a page class without a page creator is a platform failure.
    std::unique_ptr<host::DispatchObject> CreateInstance() const;

  private:
    const ClassDescription* class_;
    host::CountedObject counted_;
};

}  // namespace qv::component
