// SPDX-License-Identifier: MIT
#include <qvbarcode/component/exports/DispatchClient.h>

#include <vector>

#include <qvbarcode/component/exports/VariantBridge.h>
#include <qvbarcode/host/FailedCall.h>

namespace qv::component::exports {
namespace {

std::uint16_t FlagsOf(host::MemberKind kind) {
    switch (kind) {
        case host::MemberKind::Get:
            return QV_DISPATCH_PROPERTYGET;
        case host::MemberKind::Let:
            return QV_DISPATCH_PROPERTYPUT;
        case host::MemberKind::Method:
            break;
    }
    return QV_DISPATCH_METHOD;
}

// C variants this side filled, released when the call is over whatever happens.
struct OwnedVariants {
    std::vector<QvVariant> values;
    explicit OwnedVariants(std::size_t count) : values(count) {}
    ~OwnedVariants() {
        for (QvVariant& value : values) Clear(value);
    }
    OwnedVariants(const OwnedVariants&) = delete;
    OwnedVariants& operator=(const OwnedVariants&) = delete;
};

}  // namespace

DispatchClient::DispatchClient(QvDispatch* object) {
    void* answer = nullptr;
    const QvStatus status =
        object ? object->vtbl->QueryInterface(object, &QV_IID_QVBARCODE, &answer) : QV_E_POINTER;
    if (status == QV_RPC_E_WRONG_THREAD) {
        throw host::FailedCall(host::FailureReason::WrongThread,
                               "a selected control belongs to another thread");
    }
    if (status != QV_S_OK || answer == nullptr) {
        throw host::FailedCall(host::FailureReason::InvalidValue,
                               "a selected control does not answer to _QvBarCode");
    }
    object_ = static_cast<QvDispatch*>(answer);
}

DispatchClient::~DispatchClient() {
    object_->vtbl->Release(object_);
}

host::Variant DispatchClient::Run(const host::Member& member, std::span<host::Variant> arguments) {
    OwnedVariants given(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) ToC(arguments[i], given.values[i]);
    OwnedVariants result(1);
    QvCallError error{};
    const QvStatus status = object_->vtbl->Invoke(
        object_, member.id, FlagsOf(member.kind), given.values.data(),
        static_cast<std::uint32_t>(given.values.size()), result.values.data(), &error);
    if (status < 0) {
        host::ValueOrThrow(
            host::CallResult::Failure(status, error.description, ReasonFromC(error.reason)));
    }
    // A by-reference number comes back as the callee left it.
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (given.values[i].vt != QV_VT_BSTR) arguments[i] = FromC(given.values[i]);
    }
    return FromC(result.values[0]);
}

}  // namespace qv::component::exports
