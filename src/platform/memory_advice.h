// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace wordhash {

// Tells the system that a block is large and will be filled front to back, where it can make
// use of that (on Linux: transparent huge pages, far fewer page faults per byte). Does
// nothing for small blocks or on systems that cannot. Defined in each platform's seam file.
void AdviseLargeBlock(void* block, std::size_t size);

}  // namespace wordhash
