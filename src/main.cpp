#include "console/failure_report.h"

#ifdef _WIN32
#include "console/windows_system.h"
using PlatformSystem = WindowsSystem;
#else
#include "console/posix_system.h"
using PlatformSystem = PosixSystem;
#endif

int main(int /*argc*/, char** argv) {
#ifdef _WIN32
  static_cast<void>(argv);
  PlatformSystem system;
#else
  PlatformSystem system(argv[0]);
#endif
  system.Exit(RunWordhash(system));
}
