// SPDX-License-Identifier: MIT
#include "child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

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
  std::vector<char*> argv =
      ArgumentVector(command);  // before the fork: the child allocates nothing
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
    execv(argv[0], argv.data());
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
