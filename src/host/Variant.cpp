// SPDX-License-Identifier: MIT
#include <qvbarcode/host/Variant.h>

#include <qvbarcode/host/CheckedInt.h>

namespace qv::host {

std::int32_t Variant::AsInt32() const {
    switch (type()) {
        case Type::Int16:
            return std::get<std::int16_t>(value_);
        case Type::Int32:
            return std::get<std::int32_t>(value_);
        case Type::Bool:
            return std::get<BoolValue>(value_).value;
        default:
            throw FailedCall(FailureReason::InvalidValue, "variant holds no number");
    }
}

std::int16_t Variant::AsInt16() const {
    return Int16::From(AsInt32()).value();
}

bool Variant::AsBool() const {
    return AsInt32() != 0;
}

const std::u16string& Variant::AsText() const {
    if (type() != Type::Text) {
        throw FailedCall(FailureReason::InvalidValue, "variant holds no text");
    }
    return std::get<std::u16string>(value_);
}

}  // namespace qv::host
