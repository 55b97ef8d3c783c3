// SPDX-License-Identifier: MIT
#pragma once

#include <qvbarcode/control/PictureBox.h>
#include <qvbarcode/host/ControlSite.h>

namespace qv::control {

// Makes the control as large as its own surface, at the host units per pixel the control
// has now. An axis without inner size (after a drawing 0 pixels high) has no ratio of its
// own and borrows the other axis's, or else the host's, so that the control grows again.
// Skipped, rather than failing, when no ratio can be had in 16 bits.
void FollowSurfaceSize(host::ControlSite& site, const PictureBox& surface);

}  // namespace qv::control
