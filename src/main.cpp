// SPDX-License-Identifier: MIT
#include "console/program.h"

#ifdef _WIN32
#include "console/windows_system.h"
#else
#include "console/posix_system.h"
#endif

int main(int /*argc*/, char** argv) {
#ifdef _WIN32
  static_cast<void>(argv);
  WindowsSystem system;
#else
  PosixSystem system(argv[0]);
#endif
  return RunWordhash(system);
}
