// SPDX-License-Identifier: MIT
// Every memory allocation of a dialogue failed in turn, one run per allocation: each run must
// end in the out-of-memory report with status 1, and free everything it allocated. Words grow
// by realloc, which the link wraps (--wrap=realloc,--wrap=free); everything else uses new.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/program.h"
#include "dialogue_test.h"
#include "fake_system.h"

namespace {

// Allocation accounting for this test binary. Allocations made while `counting` is set are
// numbered, one of them can be made to fail, and each carries a tag so that its release is
// seen whenever it happens.
bool counting = false;
long allocations = 0;          // made while counting
long live = 0;                 // made while counting and not yet freed
long failing_allocation = -1;  // the index, among counted allocations, that fails

constexpr std::size_t kHeader = 16;  // keeps the block aligned for any type
constexpr std::uint64_t kCountedTag = 0xC0C0C0C0C0C0C0C0u;

void* Allocate(std::size_t size) {
  const bool counted = counting;
  if (counted && allocations++ == failing_allocation) {
    throw std::bad_alloc();
  }
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) {
    throw std::bad_alloc();
  }
  const std::uint64_t tag = counted ? kCountedTag : 0;
  std::memcpy(block, &tag, sizeof tag);
  live += counted ? 1 : 0;
  return block + kHeader;
}

// Blocks that the counted reallocs made and that are not freed yet.
std::array<void*, 64> word_blocks{};

void Track(void* old_block, void* new_block) {
  for (void*& tracked : word_blocks) {
    if (tracked == old_block) {
      tracked = new_block;
      return;
    }
  }
}

void Free(void* memory) {
  if (memory == nullptr) {
    return;
  }
  unsigned char* block = static_cast<unsigned char*>(memory) - kHeader;
  std::uint64_t tag = 0;
  std::memcpy(&tag, block, sizeof tag);
  live -= tag == kCountedTag ? 1 : 0;
  std::free(block);
}

// Words longer than the short-string size, so that reading and storing them allocates.
const std::string kDialogue =
    "0\r\nthe first word, long enough to allocate\r\n0\r\nanother word of some length here\r\n"
    "2\r\nthe first word, long enough to allocate\r\n2\r\na word that is not in the table\r\n"
    "3\r\n4\r\n";

struct RunResult {
  int status;
  std::string report;
};

// Runs the dialogue counting only the program's allocations (and the fake's records of what
// the program did, which are freed with the fake).
RunResult RunCounted(long fail_at) {
  RunResult run{};
  allocations = 0;
  live = 0;
  failing_allocation = fail_at;
  {
    wordhash::FakeSystem system;
    system.ScriptInput(kDialogue, 50);
    counting = true;
    run.status = wordhash::RunWordhash(system);
    counting = false;
    for (const std::string& write : system.ErrorWrites()) {
      run.report += write;
    }
  }
  return run;
}

TEST(AllocationFailure, EveryAllocationFailedOnce) {
  const RunResult clean = RunCounted(-1);
  ASSERT_EQ(clean.status, 0);
  const long total = allocations;
  ASSERT_GT(total, 10);
  RecordProperty("allocations", static_cast<int>(total));
  EXPECT_EQ(live, 0);
  for (long k = 0; k < total; ++k) {
    const RunResult run = RunCounted(k);
    EXPECT_EQ(run.status, 1) << "allocation " << k;
    EXPECT_EQ(wordhash::MaskedPosition(run.report),
              wordhash::ReportLines("Out of memory.", "EOutOfMemory"))
        << "allocation " << k;
    EXPECT_EQ(live, 0) << "allocation " << k << " leaked";
  }
}

}  // namespace

extern "C" {
void* __real_realloc(void* block, std::size_t size);  // NOLINT(bugprone-reserved-identifier)
void __real_free(void* block);                        // NOLINT(bugprone-reserved-identifier)

void* __wrap_realloc(void* block, std::size_t size) {  // NOLINT(bugprone-reserved-identifier)
  const bool counted = counting && (block == nullptr ||
                                    std::count(word_blocks.begin(), word_blocks.end(), block) > 0);
  if (counted && allocations++ == failing_allocation) {
    return nullptr;
  }
  void* grown = __real_realloc(block, size);
  if (counted && grown != nullptr) {
    live += block == nullptr ? 1 : 0;
    Track(block, grown);
  }
  return grown;
}

void __wrap_free(void* block) {  // NOLINT(bugprone-reserved-identifier)
  if (block != nullptr && std::count(word_blocks.begin(), word_blocks.end(), block) > 0) {
    Track(block, nullptr);
    --live;
  }
  __real_free(block);
}
}

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* memory) noexcept {
  Free(memory);
}
void operator delete[](void* memory) noexcept {
  Free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  Free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  Free(memory);
}
