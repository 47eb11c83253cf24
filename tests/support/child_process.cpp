// SPDX-License-Identifier: MIT
#include "child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <string_view>

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace wordhash {

namespace {

void MoveTo(int from, int to) {
  if (from == kClosed) {
    close(to);
  } else if (from != to) {
    dup2(from, to);
  }
}

}  // namespace

void WriteInputFile(const std::string& path, const std::vector<InputPart>& parts) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    throw std::runtime_error("cannot write " + path);
  }
  for (const InputPart& part : parts) {
    // Up to a megabyte of the repeated text at a time.
    const std::size_t per_block =
        std::max<std::size_t>(1, (1 << 20) / std::max<std::size_t>(1, part.text.size()));
    std::string block;
    for (std::size_t i = 0; i < std::min(per_block, part.times); ++i) {
      block += part.text;
    }
    for (std::size_t left = part.times; left > 0;) {
      const std::size_t count = std::min(left, per_block);
      const std::size_t size = count * part.text.size();
      for (std::size_t done = 0; done < size;) {
        const ssize_t written = write(fd, block.data() + done, size - done);
        if (written <= 0 && errno != EINTR) {
          close(fd);
          throw std::runtime_error("cannot write " + path);
        }
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
      }
      left -= count;
    }
  }
  close(fd);
}

std::string InputText(const std::vector<InputPart>& parts) {
  std::string text;
  for (const InputPart& part : parts) {
    if (part.text.size() == 1) {
      text.append(part.times, part.text[0]);
      continue;
    }
    for (std::size_t i = 0; i < part.times; ++i) {
      text += part.text;
    }
  }
  return text;
}

std::vector<char*> EnvironmentWithoutMallocTuning() {
  std::vector<char*> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (!std::string_view(*variable).starts_with("MALLOC_")) {
      variables.push_back(*variable);
    }
  }
  variables.push_back(nullptr);
  return variables;
}

std::vector<char*> ArgumentVector(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  argv.reserve(command.size() + 1);
  for (const std::string& word : command) {
    argv.push_back(const_cast<char*>(word.c_str()));
  }
  argv.push_back(nullptr);
  return argv;
}

pid_t SpawnCommand(const std::vector<std::string>& command, const ChildStreams& streams) {
  // Made before the fork: the child allocates nothing.
  std::vector<char*> argv = ArgumentVector(command);
  std::vector<char*> environment = EnvironmentWithoutMallocTuning();
  const pid_t child = fork();
  if (child == 0) {
    // Lift the streams above 2 first, so that moving one never closes another.
    const auto lifted = [](int fd) {
      return fd == kClosed ? kClosed : fcntl(fd, F_DUPFD_CLOEXEC, 10);
    };
    const int input = lifted(streams.input);
    const int output = lifted(streams.output);
    const int error = lifted(streams.error);
    MoveTo(input, 0);
    MoveTo(output, 1);
    MoveTo(error, 2);
    if (streams.address_space_limit > 0) {
      const rlimit limit{static_cast<rlim_t>(streams.address_space_limit),
                         static_cast<rlim_t>(streams.address_space_limit)};
      setrlimit(RLIMIT_AS, &limit);
    }
    execve(argv[0], argv.data(), environment.data());
    _exit(127);
  }
  if (child < 0) {
    throw std::runtime_error("fork failed");
  }
  return child;
}

int WaitFor(pid_t child, rusage* usage) {
  int status = 0;
  rusage ignored{};
  while (wait4(child, &status, 0, usage != nullptr ? usage : &ignored) == -1 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace wordhash
