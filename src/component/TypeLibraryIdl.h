// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace qv::component {

// The whole type library as interface description text a developer can read: the library,
// the enumeration, the interfaces with their dispatch ids and both classes with their flags.
std::string TypeLibraryIdl();

}  // namespace qv::component
