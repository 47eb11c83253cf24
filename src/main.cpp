#include "console/failure_report.h"
#include "console/posix_system.h"

int main(int /*argc*/, char** argv) {
  PosixSystem system(argv[0]);
  system.Exit(RunWordhash(system));
}
