// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system_interface.h"

namespace wordhash {

// The platform the program is built for. Each platform's seam file defines both, and the build
// compiles the one file of its target.

// Settings of the whole process, made once at start-up before anything is read or written.
void SetUpProcess();
// The seam to this platform, made at the first call; argv0 names the program where the system
// cannot tell its file, and must outlive it. Allocates nothing.
SystemInterface& DefaultSystem(const char* argv0);

}  // namespace wordhash
