// SPDX-License-Identifier: MIT
#include <qvbarcode/component/exports/ExportedObjects.h>

#include <atomic>
#include <memory>
#include <type_traits>
#include <vector>

#include <qvbarcode/component/ClassFactory.h>
#include <qvbarcode/component/exports/VariantBridge.h>

namespace qv::component::exports {
namespace {

// Each C object is its vtable pointer followed by the C++ object it stands for; the
// reference count owns the whole and the last Release deletes it. The C++ object is held by
// a shared_ptr, the only owner, because the whole must stay standard-layout, which
// libstdc++'s unique_ptr is not when clang builds it.
struct ExportedDispatch {
    QvDispatch base;
    std::atomic<std::uint32_t> references{1};
    std::shared_ptr<host::DispatchObject> object;
};
static_assert(std::is_standard_layout_v<ExportedDispatch>);

struct ExportedFactory {
    QvClassFactory base;
    std::atomic<std::uint32_t> references{1};
    std::shared_ptr<ClassFactory> factory;
};
static_assert(std::is_standard_layout_v<ExportedFactory>);

template <typename Exported, typename Base>
Exported* Self(Base* base) {
    return reinterpret_cast<Exported*>(base);
}

template <typename Exported>
std::uint32_t AddReference(Exported* self) {
    return ++self->references;
}

template <typename Exported>
std::uint32_t ReleaseReference(Exported* self) {
    const std::uint32_t left = --self->references;
    if (left == 0) std::unique_ptr<Exported> owned(self);
    return left;
}

std::optional<host::MemberKind> KindOf(std::uint16_t flags) {
    if (flags == QV_DISPATCH_PROPERTYPUT) return host::MemberKind::Let;
    if (flags == QV_DISPATCH_PROPERTYGET) return host::MemberKind::Get;
    if (flags == QV_DISPATCH_METHOD || flags == (QV_DISPATCH_METHOD | QV_DISPATCH_PROPERTYGET)) {
        return host::MemberKind::Method;
    }
    return std::nullopt;
}

bool IsNumeric(std::uint16_t vt) {
    return vt == QV_VT_I2 || vt == QV_VT_I4;
}

// --- dispatch objects -------------------------------------------------------------------

QvStatus DispatchQueryInterface(QvDispatch* base, const QvGuid* iid, void** object);
std::uint32_t DispatchAddRef(QvDispatch* base) {
    return base ? AddReference(Self<ExportedDispatch>(base)) : 0;
}
std::uint32_t DispatchRelease(QvDispatch* base) {
    return base ? ReleaseReference(Self<ExportedDispatch>(base)) : 0;
}

QvStatus DispatchIdOfName(QvDispatch* base, const char* name, std::int32_t* dispatchId) {
    if (base == nullptr || name == nullptr || dispatchId == nullptr) return host::kNullPointer;
    if (!Self<ExportedDispatch>(base)->object->Owner().IsCurrent()) return host::kWrongThread;
    return host::GuardCall([&] {
               const auto id =
                   host::FindDispatchId(Self<ExportedDispatch>(base)->object->Interface(), name);
               if (!id) return host::CallResult::Failure(host::kUnknownName, "unknown member");
               *dispatchId = *id;
               return host::CallResult::Success(host::Variant());
           })
        .status;
}

QvStatus DispatchInvoke(QvDispatch* base, std::int32_t dispatchId, std::uint16_t flags,
                        QvVariant* arguments, std::uint32_t argumentCount, QvVariant* result,
                        QvCallError* error) {
    host::CallResult outcome = host::GuardCall([&] {
        if (base == nullptr || (arguments == nullptr && argumentCount > 0)) {
            return host::CallResult::Failure(host::kNullPointer, "null object or arguments");
        }
        Self<ExportedDispatch>(base)->object->Owner().Check();
        // A host callback inside the call may drop the host's last reference.
        const HeldReference held(base);
        const auto kind = KindOf(flags);
        if (!kind) return host::CallResult::Failure(host::kInvalidArgument, "unknown kind of call");
        std::vector<host::Variant> values;
        values.reserve(argumentCount);
        for (std::uint32_t i = 0; i < argumentCount; ++i) values.push_back(FromC(arguments[i]));
        const std::vector<host::Variant> before = values;
        host::CallResult called =
            Self<ExportedDispatch>(base)->object->Invoke(dispatchId, *kind, values);
        if (!called.ok()) return called;
        QvVariant filled{};
        if (result != nullptr) ToC(called.value, filled);
        // Only numeric by-reference arguments are written back: a caller's text is its own.
        for (std::uint32_t i = 0; i < argumentCount; ++i) {
            if (values[i] != before[i] && IsNumeric(arguments[i].vt)) {
                arguments[i].vt = QV_VT_I4;
                arguments[i].i4 = values[i].AsInt32();
            }
        }
        if (result != nullptr) *result = filled;
        return called;
    });
    Report(outcome, error);
    return outcome.status;
}

const QvDispatchVtbl kDispatchTable{DispatchQueryInterface, DispatchAddRef, DispatchRelease,
                                    DispatchIdOfName, DispatchInvoke};

QvStatus DispatchQueryInterface(QvDispatch* base, const QvGuid* iid, void** object) {
    if (base == nullptr || iid == nullptr || object == nullptr) return host::kNullPointer;
    *object = nullptr;
    if (!Self<ExportedDispatch>(base)->object->Owner().IsCurrent()) return host::kWrongThread;
    const host::Guid wanted = FromC(*iid);
    const auto& table = Self<ExportedDispatch>(base)->object->Interface();
    if (wanted != kUnknownId && wanted != kDispatchId && wanted != table.id)
        return host::kNoInterface;
    DispatchAddRef(base);
    *object = base;
    return host::kOk;
}

// --- class factories ----------------------------------------------------------------------

QvStatus FactoryQueryInterface(QvClassFactory* base, const QvGuid* iid, void** object);
std::uint32_t FactoryAddRef(QvClassFactory* base) {
    return base ? AddReference(Self<ExportedFactory>(base)) : 0;
}
std::uint32_t FactoryRelease(QvClassFactory* base) {
    return base ? ReleaseReference(Self<ExportedFactory>(base)) : 0;
}

QvStatus FactoryCreateInstance(QvClassFactory* base, void* outer, const QvGuid* iid,
                               void** object) {
    if (object == nullptr) return host::kNullPointer;
    *object = nullptr;
    if (base == nullptr || iid == nullptr) return host::kNullPointer;
    if (outer != nullptr) return host::kNoAggregation;
    return host::GuardCall([&] {
               auto exported = std::make_unique<ExportedDispatch>();
               exported->base.vtbl = &kDispatchTable;
               exported->object = Self<ExportedFactory>(base)->factory->CreateInstance();
               void* answer = nullptr;
               const host::Status status = DispatchQueryInterface(&exported->base, iid, &answer);
               if (!host::Succeeded(status)) return host::CallResult::Failure(status, "interface");
               // QueryInterface added the host's reference; drop the one of creation.
               exported->references = 1;
               exported.release();
               *object = answer;
               return host::CallResult::Success(host::Variant());
           })
        .status;
}

QvStatus FactoryLockServer(QvClassFactory* base, std::int32_t lock) {
    if (base == nullptr) return host::kNullPointer;
    if (lock != 0) {
        host::ModuleCounts::Lock();
        return host::kOk;
    }
    return host::ModuleCounts::Unlock() ? host::kOk : host::kFail;
}

const QvClassFactoryVtbl kFactoryTable{FactoryQueryInterface, FactoryAddRef, FactoryRelease,
                                       FactoryCreateInstance, FactoryLockServer};

QvStatus FactoryQueryInterface(QvClassFactory* base, const QvGuid* iid, void** object) {
    if (base == nullptr || iid == nullptr || object == nullptr) return host::kNullPointer;
    *object = nullptr;
    const host::Guid wanted = FromC(*iid);
    if (wanted != kUnknownId && wanted != kClassFactoryId) return host::kNoInterface;
    FactoryAddRef(base);
    *object = base;
    return host::kOk;
}

}  // namespace

host::DispatchObject* ObjectBehind(QvDispatch* object) noexcept {
    if (object == nullptr || object->vtbl != &kDispatchTable) return nullptr;
    return Self<ExportedDispatch>(object)->object.get();
}

host::Status GetClassFactory(const host::Guid& classId, const host::Guid& iid, void** object) {
    *object = nullptr;
    const ClassDescription* found = FindClass(classId);
    if (found == nullptr) return host::kClassNotAvailable;
    if (found->kind == ClassKind::PropertyPage && !HasPropertyPageCreator()) {
        return host::kClassNotAvailable;
    }
    if (iid != kUnknownId && iid != kClassFactoryId) return host::kNoInterface;
    auto exported = std::make_unique<ExportedFactory>();
    exported->base.vtbl = &kFactoryTable;
    exported->factory = std::make_unique<ClassFactory>(classId);
    *object = &exported.release()->base;
    return host::kOk;
}

}  // namespace qv::component::exports
