// SPDX-License-Identifier: MIT
#pragma once

#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/host/DispatchObject.h>
#include <qvbarcode/host/Guid.h>
#include <qvbarcode/host/Status.h>

namespace qv::component::exports {

// The interface ids every component-model object answers to, besides its own.
inline constexpr host::Guid kUnknownId{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr host::Guid kClassFactoryId{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr host::Guid kDispatchId{
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The object behind a dispatch table this library handed out; nullptr for anyone else's.
host::DispatchObject* ObjectBehind(QvDispatch* object) noexcept;

// Keeps an object alive across a call that may run host code, which might release it.
class HeldReference {
  public:
    explicit HeldReference(QvDispatch* object) : object_(object) { object_->vtbl->AddRef(object_); }
    ~HeldReference() { object_->vtbl->Release(object_); }
    HeldReference(const HeldReference&) = delete;
    HeldReference& operator=(const HeldReference&) = delete;

  private:
    QvDispatch* object_;
};

// A new class factory of classId with one reference, answering to iid, stored in *object.
host::Status GetClassFactory(const host::Guid& classId, const host::Guid& iid, void** object);

}  // namespace qv::component::exports
