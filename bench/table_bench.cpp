// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <string>

#include "console/console_io.h"
#include "null_system.h"
#include "table/hash_table.h"
#include "test_words.h"

namespace wordhash {

namespace {

void BM_HashWord(benchmark::State& state) {
  const std::string word(static_cast<std::size_t>(state.range(0)), '\xab');
  for (auto _ : state) {
    benchmark::DoNotOptimize(HashWord(word));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_HashWord)->Arg(8)->Arg(128)->Arg(4096)->Arg(1 << 20);

// A table where every slot but one is taken, the free slot `free_at` steps after home 0.
HashTable CrowdedTable(int free_at) {
  HashTable table;
  for (int slot = 0; slot < TableSize; ++slot) {
    if (slot != free_at) {
      table[static_cast<std::size_t>(slot)] =
          Word(std::string(1, static_cast<char>(96 + slot)).append("``"));
    }
  }
  return table;
}

// AddWord at a count of 1 (the word already at home), 7 (stored six steps on, then taken out
// again) and 12 (a full table).
void BM_AddWord(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  NullSystem system;
  ConsoleIO console(system);
  HashTable table = CrowdedTable(count == 7 ? 6 : -1);
  const std::string word = count == 1 ? "```" : std::string("`").append(20, '\x0c');  // home 0
  for (auto _ : state) {
    benchmark::DoNotOptimize(AddWord(console, table, Hashed(word)));
    if (count == 7) {
      table[6] = Word();
    }
  }
}
BENCHMARK(BM_AddWord)->Arg(1)->Arg(7)->Arg(12);

// FindWord at a count of 1 (at home), 7 (found three steps on) and 23 (full table, absent).
void BM_FindWord(benchmark::State& state) {
  NullSystem system;
  ConsoleIO console(system);
  HashTable table = CrowdedTable(-1);
  const std::string probed = std::string("`").append(20, '\x0c');  // home 0
  table[3] = Word(probed);
  const std::string word = state.range(0) == 1 ? "```"
                           : state.range(0) == 7
                               ? probed
                               : std::string("`").append(8, '\x18');  // home 0, absent
  for (auto _ : state) {
    FindWord(console, table, MatchWord(table, word));
  }
}
BENCHMARK(BM_FindWord)->Arg(1)->Arg(7)->Arg(23);

}  // namespace

}  // namespace wordhash
