// SPDX-License-Identifier: MIT
#include "app/program.h"
#include "platform/platform.h"

int main(int /*argc*/, char** argv) {
  wordhash::SetUpProcess();
  return wordhash::RunWordhash(wordhash::DefaultSystem(argv[0]));
}
