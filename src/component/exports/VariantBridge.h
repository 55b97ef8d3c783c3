#pragma once

#include "component/Guid.h"
#include "component/Status.h"
#include "component/Variant.h"
#include "component/exports/QvBarCodeComponent.h"

namespace qv::component::exports {

Guid FromC(const QvGuid& guid);

// The value a C variant holds; the invalid-value failed call for a tag this library does not
// take. An omitted argument (empty or error) is the empty Variant.
Variant FromC(const QvVariant& variant);
// Fills out with value; a text is copied into memory that QvVariantClear releases.
void ToC(const Variant& value, QvVariant& out);
void Clear(QvVariant& variant) noexcept;

// Writes a failed call into the caller's error block, if it gave one.
void Report(const CallResult& result, QvCallError* error) noexcept;

}  // namespace qv::component::exports
