// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include <qvbarcode/host/MemberTable.h>
#include <qvbarcode/host/Variant.h>

namespace qv::component {

// The conversions a dispatch call applies to a value on its way into a member, as an
// automation host would. Each raises the invalid-value failed call for a value that has no
// meaning as the type asked for, and the overflow failed call for one out of its range.

// Numbers as they are; a text holding a decimal number (blanks around it, an optional sign,
// an optional fraction rounded half to even) as that number. The empty variant is invalid.
std::int32_t ToWholeNumber(const host::Variant& value);
// Booleans and numbers as they are, since the control stores any Boolean unchanged; texts
// "True" (-1) or "False" (0) in any case, or a number. Beyond 16 bits is an overflow.
std::int16_t ToAutomationBool(const host::Variant& value);
// Texts as they are; numbers in decimal; Booleans as "True" or "False".
std::u16string ToText(const host::Variant& value);
// The value as a Variant of the member type: one of the three above.
host::Variant ToValueOf(host::ValueType type, const host::Variant& value);

}  // namespace qv::component
