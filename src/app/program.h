// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system_interface.h"

namespace wordhash {

// The whole program on the given system: the dialogue, its final write, and the failure
// report should anything fail. Returns the exit status: 0, or 1 after a report.
int RunWordhash(SystemInterface& system);

}  // namespace wordhash
