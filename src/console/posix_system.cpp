#include "console/posix_system.h"

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

// The first byte of the loaded image, provided by the GNU linker.
extern "C" const char __executable_start;  // NOLINT(bugprone-reserved-identifier)

namespace {

constexpr int kInput = 0;
constexpr int kOutput = 1;
constexpr int kError = 2;

bool IsOpen(int fd) {
  return fcntl(fd, F_GETFD) != -1;
}

// A stream inherited in non-blocking mode is waited on, never spun on.
void WaitUntilReady(int fd, short events) {
  pollfd ready{fd, events, 0};
  while (poll(&ready, 1, -1) == -1 && errno == EINTR) {
  }
}

// Writes every byte, continuing short writes; returns 0 or the errno.
int WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written >= 0) {
      bytes += written;
      size -= static_cast<std::size_t>(written);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      WaitUntilReady(fd, POLLOUT);
    } else if (errno != EINTR) {
      return errno;
    }
  }
  return 0;
}

}  // namespace

int ReportedErrorCode(int error_number) {
  switch (error_number) {
    case ENOENT:
      return 2;  // File not found
    case EMFILE:
    case ENFILE:
      return 4;  // Too many open files
    case EACCES:
    case EPERM:
      return 5;  // File access denied
    case ENOSPC:
    case EDQUOT:
      return 101;  // Disk full
    // errnos that would read as a table message of another meaning.
    case ESRCH:
    case EINTR:
    case EIO:
    case ENETDOWN:
    case ENETUNREACH:
    case EISCONN:
      return 1000 + error_number;
    default:
      return error_number;
  }
}

PosixSystem::PosixSystem(const char* argv0) : argv0_(argv0 != nullptr ? argv0 : "") {
  // A reader that went away must be a failed write that gets reported, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Blocks of a megabyte and more get mappings of their own, so the memory of a huge word
  // goes back to the system the moment it is freed, not to a heap that only grows.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
}

SystemInterface::Device PosixSystem::AttachInput() {
  return IsOpen(kInput) ? Device::kFileOrPipe : Device::kMissing;
}

SystemInterface::Device PosixSystem::AttachOutput() {
  struct stat status {};
  if (!IsOpen(kOutput) || fstat(kOutput, &status) != 0) {
    return Device::kMissing;
  }
  return S_ISCHR(status.st_mode) ? Device::kTerminal : Device::kFileOrPipe;
}

SystemInterface::ReadResult PosixSystem::ReadInput(std::span<char> buffer) {
  for (;;) {
    const ssize_t got = read(kInput, buffer.data(), buffer.size());
    if (got >= 0) {
      return {static_cast<std::size_t>(got), 0};
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      WaitUntilReady(kInput, POLLIN);
    } else if (errno != EINTR) {
      return {0, ReportedErrorCode(errno)};
    }
  }
}

int PosixSystem::WriteOutput(std::string_view bytes) {
  const int error = WriteAll(kOutput, bytes.data(), bytes.size());
  return error == 0 ? 0 : ReportedErrorCode(error);
}

void PosixSystem::WriteError(std::string_view bytes) {
  WriteAll(kError, bytes.data(), bytes.size());
}

std::string PosixSystem::ModuleName() {
  std::string path(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length > 0 && static_cast<std::size_t>(length) < path.size()) {
    path.resize(static_cast<std::size_t>(length));
  } else {
    path = argv0_;
  }
  return path.substr(path.find_last_of('/') + 1);
}

std::uintptr_t PosixSystem::ImageOffset(const void* code_address) {
  return reinterpret_cast<std::uintptr_t>(code_address) -
         reinterpret_cast<std::uintptr_t>(&__executable_start);
}

void PosixSystem::Exit(int status) {
  std::exit(status);
}
