// SPDX-License-Identifier: MIT
#include <qvbarcode/control/PropertyTable.h>

#include <algorithm>

namespace qv::control {

const PropertyRow* FindProperty(std::string_view name) {
    const auto found = std::ranges::find(kProperties, name, &PropertyRow::name);
    return found == kProperties.end() ? nullptr : &*found;
}

const PropertyRow* FindProperty(host::DispatchId id) {
    const auto found = std::ranges::find(kProperties, id, &PropertyRow::id);
    return found == kProperties.end() ? nullptr : &*found;
}

host::Variant StartingValue(const PropertyRow& row) {
    switch (row.type) {
        case host::ValueType::String:
            return host::Variant::FromText(u"");
        case host::ValueType::Boolean:
            return host::Variant::FromAutomationBool(static_cast<AutomationBool>(row.starting));
        default:
            return host::Variant::FromInt32(row.starting);
    }
}

}  // namespace qv::control
