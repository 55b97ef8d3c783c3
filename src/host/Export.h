// SPDX-License-Identifier: MIT
#pragma once

// Everything the libraries are built with is hidden unless it carries this mark: what the
// shared libraries show their users, C++ names in the qv namespace only.
#define QV_EXPORT __attribute__((visibility("default")))
