// SPDX-License-Identifier: MIT
// Times the built wordhash against the floor for the same work: the same input read in
// 128-byte reads and the same number of output bytes written in 128-byte writes. Then the
// memory of runs with several huge words, and the instructions of the program's own work
// against the yardstick, a minimal C program for one dialogue.
//
//   process_bench WORDHASH FLOOR YARDSTICK DATA_DIR   (WORDHASH_BENCH_GIB=1 adds the 1 GiB word)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"

using wordhash::SpawnCommand;
using wordhash::WaitFor;

namespace {

struct Sample {
  double seconds;
  long peak_kib;
  long minor_faults;
  long long output_bytes;
};

std::string MakeInput(const std::string& path, const std::vector<wordhash::InputPart>& parts) {
  wordhash::WriteInputFile(path, parts);
  return path;
}

long long FileSize(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? status.st_size : -1;
}

// One run, standard input and output the given files; exits when the command fails, unless
// an address-space limit (bytes) was asked for, where failing is an answer.
Sample Run(const std::vector<std::string>& command, const std::string& input,
           const std::string& output, long address_space_limit = 0) {
  const int in = open(input.c_str(), O_RDONLY | O_CLOEXEC);
  const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int error = address_space_limit > 0 ? open("/dev/null", O_WRONLY | O_CLOEXEC) : 2;
  const auto start = std::chrono::steady_clock::now();
  rusage usage{};
  const int status = WaitFor(SpawnCommand(command, {in, out, error, address_space_limit}), &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  close(in);
  close(out);
  if (error != 2) {
    close(error);
  }
  if (status != 0 && address_space_limit == 0) {
    std::fprintf(stderr, "%s failed on %s\n", command[0].c_str(), input.c_str());
    std::exit(2);
  }
  return {seconds, usage.ru_maxrss, usage.ru_minflt, status == 0 ? FileSize(output) : -1};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string Bytes(long long bytes) {
  char text[32];
  if (bytes >= (1LL << 20)) {
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
  } else {
    std::snprintf(text, sizeof text, "%lld B", bytes);
  }
  return text;
}

// Runs wordhash and the floor in turn, `runs` times each, and prints the medians. For a huge
// word of word_bytes, also the time and the minor page faults per MiB of the word.
void Measure(const std::string& name, const std::string& wordhash, const std::string& floor,
             const std::string& input, const std::string& data_dir, int runs,
             long long word_bytes = 0) {
  const std::string output = data_dir + "/output";
  const long long output_bytes = Run({wordhash}, input, output).output_bytes;
  std::vector<double> ours, floors, faults;
  long peak = 0;
  for (int i = 0; i < runs; ++i) {
    const Sample sample = Run({wordhash}, input, output);
    ours.push_back(sample.seconds);
    faults.push_back(static_cast<double>(sample.minor_faults));
    peak = std::max(peak, sample.peak_kib);
    floors.push_back(Run({floor, std::to_string(output_bytes)}, input, output).seconds);
  }
  const double our_time = Median(ours);
  const double floor_time = Median(floors);
  char per_mib[64] = "         - |          -";
  if (word_bytes > 0) {
    const double mib = static_cast<double>(word_bytes) / (1 << 20);
    std::snprintf(per_mib, sizeof per_mib, "%10.2f | %10.1f", 1000 * our_time / mib,
                  Median(faults) / mib);
  }
  std::printf("| %-22s | %10s | %10s | %9.4f s | %9.4f s | %5.2f | %s | %9.1f MiB |\n",
              name.c_str(), Bytes(FileSize(input)).c_str(), Bytes(output_bytes).c_str(), our_time,
              floor_time, our_time / floor_time, per_mib, static_cast<double>(peak) / 1024);
  std::fflush(stdout);
}

std::string LongDialogue(int commands) {
  // Colliding words (all of home 3), searches that probe, listings and ignored lines.
  const std::vector<std::string> words = {"ab", "ba", "c`", "`c", "aab`", "d``a", "bab`"};
  std::string input;
  for (int i = 0; i < commands; ++i) {
    const std::string& word = words[static_cast<std::size_t>(i) % words.size()];
    switch (i % 5) {
      case 0:
        input += "0\n" + word + "\n";
        break;
      case 1:
      case 2:
        input += "2\n" + word + "\n";
        break;
      case 3:
        input += "3\n";
        break;
      default:
        input += "x ignored\n";
    }
  }
  return input + "4\n";
}

// The smallest address-space limit, to 64 KiB, under which the run ends as it does without.
long SmallestAddressSpaceKib(const std::string& wordhash, const std::string& input,
                             const std::string& output) {
  const long long expected = Run({wordhash}, input, output).output_bytes;
  long fails = 1024;
  long works = static_cast<long>(FileSize(input) / 1024) * 4 + (64 << 10);
  while (works - fails > 64) {
    const long middle = (fails + works) / 2;
    (Run({wordhash}, input, output, middle * 1024L).output_bytes == expected ? works : fails) =
        middle;
  }
  return works;
}

// A huge-word dialogue's memory: the bytes of the words alive at its peak, its peak resident
// memory and the address space it needs.
void MeasureMemory(const std::string& name, long long alive_bytes, const std::string& wordhash,
                   const std::string& input, const std::string& data_dir) {
  const std::string output = data_dir + "/output";
  const long peak_kib = Run({wordhash}, input, output).peak_kib;
  std::printf("| %-30s | %8.1f MiB | %8.1f MiB | %9ld KiB |\n", name.c_str(),
              static_cast<double>(alive_bytes) / (1 << 20), static_cast<double>(peak_kib) / 1024,
              SmallestAddressSpaceKib(wordhash, input, output));
  std::fflush(stdout);
}

// The instructions a command executes on the input, as callgrind counts them; 0 without it.
// The output goes to a file, as in the timed runs: a character device would be a terminal.
long long Instructions(const std::string& command, const std::string& input,
                       const std::string& data_dir) {
  const std::string log = data_dir + "/callgrind.log";
  const std::string shell = "valgrind --tool=callgrind --callgrind-out-file=/dev/null '" + command +
                            "' < '" + input + "' > '" + data_dir + "/output' 2> '" + log + "'";
  if (std::system(shell.c_str()) != 0) {
    return 0;
  }
  const std::string text = [&] {
    std::FILE* file = std::fopen(log.c_str(), "r");
    std::string read(1 << 16, '\0');
    read.resize(file != nullptr ? std::fread(read.data(), 1, read.size(), file) : 0);
    if (file != nullptr) {
      std::fclose(file);
    }
    return read;
  }();
  const std::size_t at = text.find("Collected : ");
  return at == std::string::npos ? 0 : std::atoll(text.c_str() + at + 12);
}

void PrintInstructions(const std::string& name, const std::string& command,
                       const std::string& input, const std::string& data_dir) {
  std::printf("| %-40s | %12lld |\n", name.c_str(), Instructions(command, input, data_dir));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s WORDHASH FLOOR YARDSTICK DATA_DIR\n", argv[0]);
    return 2;
  }
  const std::string wordhash = argv[1];
  const std::string floor = argv[2];
  const std::string yardstick = argv[3];
  const std::string data = argv[4];
  mkdir(data.c_str(), 0755);
  // Set by make bench BENCH_GIB=1.
  const char* gib = std::getenv("WORDHASH_BENCH_GIB");
  const bool with_gib = gib != nullptr && *gib != '\0' && std::strcmp(gib, "0") != 0;
  constexpr int kRuns = 5;

  std::printf(
      "| workload               |   bytes in |  bytes out |    wordhash |       floor | ratio |"
      "     ms/MiB | faults/MiB |   peak memory |\n");
  std::printf(
      "|------------------------|-----------:|-----------:|------------:|------------:|------:|"
      "-----------:|-----------:|--------------:|\n");
  Measure("start-up (line 4)", wordhash, floor, MakeInput(data + "/startup", {{"4\r\n"}}), data,
          51);
  Measure("dialogue, 200000 cmds", wordhash, floor,
          MakeInput(data + "/dialogue", {{LongDialogue(200000)}}), data, kRuns);
  std::vector<long long> sizes = {1LL << 20, 16LL << 20, 256LL << 20};
  if (with_gib) {
    sizes.push_back(1LL << 30);
  }
  const auto huge = [&](std::size_t size, const std::string& end = "\n") {
    return MakeInput(
        data + "/huge",
        {{"0" + end}, {"w", size}, {end + "3" + end + "2" + end}, {"w", size}, {end + "4" + end}});
  };
  for (const long long size : sizes) {
    Measure("huge word, " + Bytes(size), wordhash, floor, huge(static_cast<std::size_t>(size)),
            data, kRuns, size);
  }

  // Several huge words in one run: each is held once, whatever was freed before it.
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  std::string full_table;
  for (char letter = 'a'; letter <= 'l'; ++letter) {
    full_table += std::string("0\n") + letter + "\n";
  }
  std::printf(
      "\n| huge words of a run             | alive at peak |   peak memory | address space |\n");
  std::printf(
      "|--------------------------------|--------------:|--------------:|--------------:|\n");
  MeasureMemory("16 MiB, added and searched", 16 * kMiB, wordhash, huge(16 * kMiB), data);
  MeasureMemory(
      "8 MiB refused, then 24 MiB", 24 * kMiB, wordhash,
      MakeInput(data + "/huge",
                {{full_table + "0\n"}, {"f", 8 * kMiB}, {"\n0\n"}, {"w", 24 * kMiB}, {"\n4\n"}}),
      data);
  MeasureMemory("8 MiB twice, 24 MiB searched", 32 * kMiB, wordhash,
                MakeInput(data + "/huge", {{"0\n"},
                                           {"f", 8 * kMiB},
                                           {"\n0\n"},
                                           {"f", 8 * kMiB},
                                           {"\n0\n"},
                                           {"w", 24 * kMiB},
                                           {"\n2\n"},
                                           {"w", 24 * kMiB},
                                           {"\n4\n"}}),
                data);
  MeasureMemory("16 MiB and 17 MiB stored", 33 * kMiB, wordhash,
                MakeInput(data + "/huge",
                          {{"0\n"}, {"f", 16 * kMiB}, {"\n0\n"}, {"w", 17 * kMiB}, {"\n4\n"}}),
                data);

  // The program's own work, against a minimal C program doing the same for one dialogue.
  std::printf("\n| instructions (callgrind)                 |        count |\n");
  std::printf("|------------------------------------------|-------------:|\n");
  const std::string plain = huge(16 * kMiB, "\r\n");
  PrintInstructions("16 MiB added and searched, CR LF", wordhash, plain, data);
  PrintInstructions("the same, by the yardstick", yardstick, plain, data);
  PrintInstructions(
      "the same, a CR after every byte", wordhash,
      MakeInput(
          data + "/huge",
          {{"0\r\n"}, {"w\r", 8 * kMiB}, {"\r\n3\r\n2\r\n"}, {"w\r", 8 * kMiB}, {"\r\n4\r\n"}}),
      data);
  PrintInstructions("dialogue, 200000 cmds", wordhash, data + "/dialogue", data);
  std::remove((data + "/huge").c_str());
  std::remove((data + "/output").c_str());
  return 0;
}
