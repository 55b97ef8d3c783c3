// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include <qvbarcode/component/QvBarCodeComponent.h>
#include <qvbarcode/host/Guid.h>
#include <qvbarcode/host/Status.h>
#include <qvbarcode/host/Variant.h>

namespace qv::component::exports {

host::Guid FromC(const QvGuid& guid);

// The value a C variant holds; the invalid-value failed call for a tag this library does not
// take. An omitted argument (empty or error) is the empty Variant.
host::Variant FromC(const QvVariant& variant);
// Fills out with value; a text is copied into memory that QvVariantClear releases.
void ToC(const host::Variant& value, QvVariant& out);
void Clear(QvVariant& variant) noexcept;

// The reason a C error block gives, nothing for QV_REASON_NONE or a number this library
// does not know.
std::optional<host::FailureReason> ReasonFromC(std::int32_t reason);

// Writes a failed call into the caller's error block, if it gave one.
void Report(const host::CallResult& result, QvCallError* error) noexcept;

}  // namespace qv::component::exports
