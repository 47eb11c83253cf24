// SPDX-License-Identifier: MIT
#include "platform/windows_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/platform.h"

namespace wordhash {

void SetUpProcess() {}  // nothing process-wide to change

SystemInterface& DefaultSystem(const char* /*argv0*/) {
  static WindowsSystem system;
  return system;
}

bool WindowsSystem::AttachInput() {
  input_ = GetStdHandle(STD_INPUT_HANDLE);  // its device type is not asked
  return input_ != INVALID_HANDLE_VALUE;
}

SystemInterface::Device WindowsSystem::AttachOutput() {
  const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE) {
    return Device::kMissing;
  }
  const DWORD type = GetFileType(handle);
  if (type == FILE_TYPE_UNKNOWN) {
    CloseHandle(handle);  // no usable device: give the handle up
    return Device::kMissing;
  }
  output_ = handle;
  return type == FILE_TYPE_CHAR ? Device::kTerminal : Device::kFileOrPipe;
}

SystemInterface::ReadResult WindowsSystem::ReadInput(std::span<char> buffer) {
  DWORD got = 0;
  if (ReadFile(input_, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) == 0) {
    const DWORD error = GetLastError();
    // A writer that went away is the end of the input, not a failure.
    return {0, error == ERROR_BROKEN_PIPE ? 0 : static_cast<int>(error)};
  }
  return {got, 0};
}

int WindowsSystem::WriteOutput(std::string_view bytes) {
  DWORD written = 0;
  if (WriteFile(output_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) == 0) {
    return static_cast<int>(GetLastError());
  }
  return 0;
}

void WindowsSystem::WriteError(std::string_view bytes) {
  // The console shows the OEM code page; the report's text is in the ANSI one. Converted in
  // a buffer of its own: the report must not allocate.
  std::array<char, 2048> text{};
  const std::size_t size = std::min(bytes.size(), text.size() - 1);
  std::copy_n(bytes.data(), size, text.data());
  CharToOemA(text.data(), text.data());
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(size), &written,
            nullptr);
}

std::string_view WindowsSystem::ModuleName() {
  const DWORD length =
      GetModuleFileNameA(nullptr, module_path_.data(), static_cast<DWORD>(module_path_.size()));
  const std::string_view path(module_path_.data(), length);
  return path.substr(path.find_last_of('\\') + 1);
}

std::uintptr_t WindowsSystem::ImageOffset(const void* code_address) {
  // A module's handle is the address its image was loaded at.
  return reinterpret_cast<std::uintptr_t>(code_address) -
         reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
}

bool WindowsSystem::DebuggerTakesFailures() {
  // With a debugger attached, the failure goes on unhandled so that the debugger takes it.
  return IsDebuggerPresent() != 0;
}

}  // namespace wordhash
