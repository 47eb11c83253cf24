// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <string>

#include "console/console_io.h"
#include "null_system.h"
#include "table/word.h"

namespace wordhash {

namespace {

// Reading lines of a given length, the CR LF included, in 128-byte device reads, into a word
// as the add command stores it.
void BM_ReadWord(benchmark::State& state) {
  const std::size_t length = static_cast<std::size_t>(state.range(0));
  NullSystem system(std::string(length - 2, 'w') + "\r\n");
  ConsoleIO console(system);
  struct Collector final : LineConsumer {
    void Take(std::string_view bytes) override { word.Append(bytes); }
    Word word;
  };
  for (auto _ : state) {
    Collector line;
    benchmark::DoNotOptimize(console.ReadWord(line));
    benchmark::DoNotOptimize(line.word.View().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(length));
}
BENCHMARK(BM_ReadWord)->Arg(8)->Arg(128)->Arg(4096)->Arg(1 << 20)->Arg(16 << 20);

void BM_ReadCommandChar(benchmark::State& state) {
  NullSystem system("3abc\r\n");
  ConsoleIO console(system);
  for (auto _ : state) {
    benchmark::DoNotOptimize(console.ReadCommandChar());
  }
  state.SetBytesProcessed(state.iterations() * 6);
}
BENCHMARK(BM_ReadCommandChar);

// Output lines of a given length to a file (128-byte blocks) or a terminal (one write a line).
void BM_WriteLine(benchmark::State& state) {
  const std::string text(static_cast<std::size_t>(state.range(0)), 'o');
  NullSystem system("", state.range(1) != 0 ? SystemInterface::Device::kTerminal
                                            : SystemInterface::Device::kFileOrPipe);
  ConsoleIO console(system);
  for (auto _ : state) {
    console.WriteText(text);
    console.EndLine();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size() + 2));
}
BENCHMARK(BM_WriteLine)->Args({14, 0})->Args({14, 1})->Args({4096, 0})->Args({1 << 20, 0});

}  // namespace

}  // namespace wordhash
