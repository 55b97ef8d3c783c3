// SPDX-License-Identifier: MIT
#pragma once

namespace qv::component::exports {

// Plugs the property page into the class factory; a failure leaves the page class
// unavailable rather than the library unloadable.
void InitialiseModule() noexcept;
void ReleaseModule() noexcept;

}  // namespace qv::component::exports
