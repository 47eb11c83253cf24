// SPDX-License-Identifier: MIT
// Times the built wordhash against the floor for the same work: the same input read in
// 128-byte reads and the same number of output bytes written in 128-byte writes.
//
//   process_bench WORDHASH FLOOR DATA_DIR [--gib]
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

void WriteChunked(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written <= 0) {
      std::perror("write");
      std::exit(2);
    }
    done += static_cast<std::size_t>(written);
  }
}

// The input file: `parts` written in order, a repeated byte standing for a huge word.
struct Part {
  std::string text;
  long long repeat = 1;
};

std::string MakeInput(const std::string& path, const std::vector<Part>& parts) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const std::string block(1 << 20, 'w');
  for (const Part& part : parts) {
    if (part.repeat == 1) {
      WriteChunked(fd, part.text);
      continue;
    }
    for (long long left = part.repeat; left > 0; left -= static_cast<long long>(block.size())) {
      WriteChunked(fd,
                   block.substr(0, static_cast<std::size_t>(std::min<long long>(left, 1 << 20))));
    }
  }
  close(fd);
  return path;
}

long long FileSize(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? status.st_size : -1;
}

Sample Run(const std::vector<std::string>& command, const std::string& input,
           const std::string& output) {
  const int in = open(input.c_str(), O_RDONLY | O_CLOEXEC);
  const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const auto start = std::chrono::steady_clock::now();
  rusage usage{};
  const int status = WaitFor(SpawnCommand(command, {in, out, STDERR_FILENO}), &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  close(in);
  close(out);
  if (status != 0) {
    std::fprintf(stderr, "%s failed on %s\n", command[0].c_str(), input.c_str());
    std::exit(2);
  }
  return {seconds, usage.ru_maxrss, usage.ru_minflt, FileSize(output)};
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s WORDHASH FLOOR DATA_DIR [--gib]\n", argv[0]);
    return 2;
  }
  const std::string wordhash = argv[1];
  const std::string floor = argv[2];
  const std::string data = argv[3];
  const bool with_gib = argc > 4 && std::strcmp(argv[4], "--gib") == 0;
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
  for (const long long size : sizes) {
    const std::string input =
        MakeInput(data + "/huge", {{"0\n"}, {"", size}, {"\n3\n2\n"}, {"", size}, {"\n4\n"}});
    Measure("huge word, " + Bytes(size), wordhash, floor, input, data, kRuns, size);
  }
  std::remove((data + "/huge").c_str());
  std::remove((data + "/output").c_str());
  return 0;
}
