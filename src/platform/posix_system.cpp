// SPDX-License-Identifier: MIT
#include "platform/posix_system.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cerrno>
#include <csignal>

#include "platform/error_codes.h"
#include "platform/platform.h"

// The first byte of the loaded image, where the linker provides it (GNU ld, gold and lld do).
// Weak, so that elsewhere its address is null and the loader is asked instead.
extern "C" const char __executable_start  // NOLINT(bugprone-reserved-identifier)
    __attribute__((weak));

namespace wordhash {

namespace {

constexpr int kInput = 0;
constexpr int kOutput = 1;
constexpr int kError = 2;

bool IsOpen(int fd) {
  return fcntl(fd, F_GETFD) != -1;
}

// A stream inherited in non-blocking mode is waited on, never spun on. Returns 0, or poll's
// errno: a wait that cannot be made fails the read or write it serves.
int WaitUntilReady(int fd, short events) {
  pollfd ready{fd, events, 0};
  while (poll(&ready, 1, -1) == -1) {
    if (errno != EINTR) {
      return errno;
    }
  }
  return 0;
}

// Writes every byte, continuing short writes; returns 0 or the errno.
int WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written > 0) {
      bytes += written;
      size -= static_cast<std::size_t>(written);
    } else if (written == 0) {
      return EIO;  // a device that takes no bytes would be asked again for ever
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (const int error = WaitUntilReady(fd, POLLOUT); error != 0) {
        return error;
      }
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
      return error_code::kFileNotFound;
    case EMFILE:
    case ENFILE:
      return error_code::kTooManyOpenFiles;
    case EACCES:
    case EPERM:
      return error_code::kFileAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return error_code::kDiskFull;
    default:
      return error_code::ClearOfOwnCodes(error_number);
  }
}

std::string_view WithoutDeletedMark(std::string_view program_path) {
  constexpr std::string_view kDeletedMark = " (deleted)";
  if (program_path.ends_with(kDeletedMark)) {
    program_path.remove_suffix(kDeletedMark.size());
  }
  return program_path;
}

void SetUpProcess() {
  // A reader that went away, or a file-size limit reached, must be a failed write that gets
  // reported, not a silent death by signal.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
#ifdef M_MMAP_THRESHOLD
  // Blocks of a megabyte and more get mappings of their own, so that a huge word grows by
  // remapping instead of copying, and its memory goes back to the system the moment it is
  // freed. Fixed, so that glibc does not raise it to the size of the first freed word: the
  // next word would then grow in the heap and be copied out of it when it outgrew that size,
  // its old block left resident and holding address space.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

SystemInterface& DefaultSystem(const char* argv0) {
  static PosixSystem system(argv0);
  return system;
}

PosixSystem::PosixSystem(const char* argv0) : argv0_(argv0 != nullptr ? argv0 : "") {}

bool PosixSystem::AttachInput() {
  return IsOpen(kInput);
}

SystemInterface::Device PosixSystem::AttachOutput() {
  struct stat status {};
  if (fstat(kOutput, &status) != 0) {  // a closed descriptor fails with EBADF
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
    int error = errno;
    if (error == EAGAIN || error == EWOULDBLOCK) {
      error = WaitUntilReady(kInput, POLLIN);
    }
    if (error != 0 && error != EINTR) {
      return {0, ReportedErrorCode(error)};
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

std::string_view PosixSystem::ModuleName() {
  std::string_view path = argv0_;
#ifdef __linux__
  const ssize_t length = readlink("/proc/self/exe", module_path_.data(), module_path_.size());
  if (length > 0 && static_cast<std::size_t>(length) < module_path_.size()) {
    path =
        WithoutDeletedMark(std::string_view(module_path_.data(), static_cast<std::size_t>(length)));
  }
#endif
  return path.substr(path.find_last_of('/') + 1);
}

std::uintptr_t PosixSystem::ImageOffset(const void* code_address) {
  std::uintptr_t image_start = reinterpret_cast<std::uintptr_t>(&__executable_start);
  if (image_start == 0) {
    Dl_info image{};
    if (dladdr(code_address, &image) != 0) {
      image_start = reinterpret_cast<std::uintptr_t>(image.dli_fbase);
    }
  }
  return reinterpret_cast<std::uintptr_t>(code_address) - image_start;
}

}  // namespace wordhash
