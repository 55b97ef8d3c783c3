#pragma once

#include "control/PictureBox.h"
#include "host/ControlSite.h"

namespace qv::control {

// Makes the control as large as its own surface, at the host units per pixel the control
// has now. Skipped, rather than failing, while the control has no inner area or the ratio
// does not fit 16 bits: there is no size it could sensibly take then.
void FollowSurfaceSize(host::ControlSite& site, const PictureBox& surface);

}  // namespace qv::control
