// SPDX-License-Identifier: MIT
#include <qvbarcode/component/exports/VariantBridge.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace qv::component::exports {

host::Guid FromC(const QvGuid& guid) {
    host::Guid result{guid.data1, guid.data2, guid.data3, {}};
    std::copy(std::begin(guid.data4), std::end(guid.data4), result.data4.begin());
    return result;
}

host::Variant FromC(const QvVariant& variant) {
    switch (variant.vt) {
        case QV_VT_EMPTY:
        case QV_VT_ERROR:
            return host::Variant();
        case QV_VT_I2:
            return host::Variant::FromInt16(variant.i2);
        case QV_VT_I4:
            return host::Variant::FromInt32(variant.i4);
        case QV_VT_BOOL:
            return host::Variant::FromAutomationBool(variant.i2);
        case QV_VT_BSTR:
            if (variant.text == nullptr) return host::Variant::FromText(u"");
            return host::Variant::FromText(std::u16string(
                reinterpret_cast<const char16_t*>(variant.text), variant.textLength));
    }
    throw host::FailedCall(host::FailureReason::InvalidValue, "unsupported variant type");
}

void ToC(const host::Variant& value, QvVariant& out) {
    QvVariant filled{};
    switch (value.type()) {
        case host::Variant::Type::Empty:
            filled.vt = QV_VT_EMPTY;
            break;
        case host::Variant::Type::Int16:
            filled.vt = QV_VT_I2;
            filled.i2 = value.AsInt16();
            break;
        case host::Variant::Type::Int32:
            filled.vt = QV_VT_I4;
            filled.i4 = value.AsInt32();
            break;
        case host::Variant::Type::Bool:
            filled.vt = QV_VT_BOOL;
            filled.i2 = value.AsInt16();
            break;
        case host::Variant::Type::Text: {
            const std::u16string& text = value.AsText();
            if (text.size() >= std::numeric_limits<std::uint32_t>::max()) {
                throw host::FailedCall(host::FailureReason::Overflow,
                                       "text too long for a variant");
            }
            // The C side releases this with QvVariantClear, hence malloc and not new.
            std::unique_ptr<std::uint16_t, decltype(&std::free)> buffer(
                static_cast<std::uint16_t*>(std::malloc((text.size() + 1) * sizeof(char16_t))),
                &std::free);
            if (!buffer) throw std::bad_alloc();
            std::memcpy(buffer.get(), text.data(), text.size() * sizeof(char16_t));
            buffer.get()[text.size()] = 0;
            filled.vt = QV_VT_BSTR;
            filled.textLength = static_cast<std::uint32_t>(text.size());
            filled.text = buffer.release();
            break;
        }
    }
    out = filled;
}

void Clear(QvVariant& variant) noexcept {
    if (variant.vt == QV_VT_BSTR) std::free(variant.text);
    variant = QvVariant{};
}

std::optional<host::FailureReason> ReasonFromC(std::int32_t reason) {
    switch (reason) {
        case QV_REASON_OVERFLOW:
            return host::FailureReason::Overflow;
        case QV_REASON_INVALID_VALUE:
            return host::FailureReason::InvalidValue;
        case QV_REASON_OUT_OF_MEMORY:
            return host::FailureReason::OutOfMemory;
        case QV_REASON_PLATFORM_FAILURE:
            return host::FailureReason::PlatformFailure;
        case QV_REASON_WRONG_THREAD:
            return host::FailureReason::WrongThread;
        default:
            return std::nullopt;
    }
}

void Report(const host::CallResult& result, QvCallError* error) noexcept {
    if (error == nullptr) return;
    *error = QvCallError{};
    error->status = result.status;
    if (result.reason) {
        switch (*result.reason) {
            case host::FailureReason::Overflow:
                error->reason = QV_REASON_OVERFLOW;
                break;
            case host::FailureReason::InvalidValue:
                error->reason = QV_REASON_INVALID_VALUE;
                break;
            case host::FailureReason::OutOfMemory:
                error->reason = QV_REASON_OUT_OF_MEMORY;
                break;
            case host::FailureReason::PlatformFailure:
                error->reason = QV_REASON_PLATFORM_FAILURE;
                break;
            case host::FailureReason::WrongThread:
                error->reason = QV_REASON_WRONG_THREAD;
                break;
        }
    }
    const std::size_t length = std::min(result.description.size(), sizeof error->description - 1);
    std::memcpy(error->description, result.description.data(), length);
    error->description[length] = '\0';
}

}  // namespace qv::component::exports
